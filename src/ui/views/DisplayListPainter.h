#pragma once

#include "view/DisplayList.h"

#include <QPoint>
#include <vector>

class QPainter;

namespace qv::ui {

// Paints a display list in its order with the exact pixels it gives: no antialiasing, 1-pixel cosmetic pens,
// rectangles as the window system draws them (right and bottom just outside).
class DisplayListPainter {
public:
    void Paint(QPainter& painter, const DisplayList& list);

private:
    std::vector<QPoint> points_; // reused between frames
};

} // namespace qv::ui
