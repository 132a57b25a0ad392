#pragma once

#include "app/CSetDisp.h"
#include "view/ScreenGeometry.h"

#include <ostream>

namespace qv {

inline void PrintTo(const ScreenPoint& p, std::ostream* out)
{
    *out << "(" << p.x << "," << p.y << ")";
}

} // namespace qv

namespace qv::test {

// One plotter unit per pixel in an 800 x 600 window, the origin at (40, 570): a model point (x, y) shows at
// (x + 40, 570 - y), so the pixel positions of a test can be worked out by hand.
inline CSetDisp UnitDisp()
{
    CSetDisp disp;
    disp.viewWidth = 800;
    disp.viewHeight = 600;
    disp.panX = -20;
    disp.panY = 0;
    disp.pixelsPerUnit = 1;
    disp.DispSizeX = 1200;
    disp.DispSizeY = 900;
    return disp;
}

} // namespace qv::test
