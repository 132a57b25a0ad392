#pragma once

#include "app/CSetDisp.h"
#include "model/COnePage.h"
#include "view/DisplayList.h"
#include "view/PageScene.h"

namespace qv {

// Paints the view into `out` (cleared first): the window filled black, then, when a page is shown, the
// display area's frame, labels and grid and the page's scene: each curve's line, for a selected curve the
// squares around its points and, for a selected cut curve, the start arrow, then a cut curve's number.
//
// Detail finer than a pixel is left out, so a zoomed-out page of many points paints quickly: after a curve's
// first point, a point within one pixel (in x and in y) of the last point kept is dropped, except the curve's
// last point, which is dropped only when it falls on the same pixel; a curve that would keep one point keeps
// two, so it still shows. The lines drawn stay within 1.5 pixels of the full curve; the selection works on the
// curve itself. A polyline of fewer than two points draws nothing and is left out.
void PaintView(const CSetDisp& disp, const PageScene* scene, DisplayList& out);

// The drawing view's display list, redone only as far as something changed: the page's scene when the page,
// its curves or the numbering option changed, the window mapping when the display state changed. Panning
// and zooming therefore only map the scene's points again.
class PagePainter {
public:
    // The shown page's curves or their selection changed: the next Frame reads the page again.
    void Invalidate() { sceneValid_ = false; }

    // The display list for `page` (null: the task list is empty) as `disp` shows it.
    const DisplayList& Frame(const CSetDisp& disp, const COnePage* page, bool displaySequence);

private:
    bool sceneValid_ = false;
    const COnePage* scenePage_ = nullptr; // compared only, never read: the scene holds its own copy
    bool sceneSequence_ = false;
    PageScene scene_;
    bool frameValid_ = false;
    CSetDisp frameDisp_;
    DisplayList frame_;
};

} // namespace qv
