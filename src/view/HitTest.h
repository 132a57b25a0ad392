#pragma once

#include "app/CSetDisp.h"
#include "model/CCurve.h"
#include "view/ScreenGeometry.h"

namespace qv {

// Whether window point `p` lies on the curve as the view shows it: inside the band around one of its
// segments that reaches 4 pixels to each side and 4 pixels beyond both ends. A curve of fewer than two
// points has no segment and is never hit.
bool NearSegment(const CCurve& curve, const CSetDisp& disp, ScreenPoint p);

// Whether the window position of every point lies in `r` (right and bottom outside); true for a curve
// without points.
bool AllPointsInRect(const CCurve& curve, const CSetDisp& disp, const ScreenRect& r);

struct DoublePoint {
    double x = 0;
    double y = 0;
};

// Whether the segments a1-a2 and b1-b2 cross: the crossing point of their lines lies strictly inside both,
// so segments that only touch at an end, or lie on one line, do not cross.
bool SegmentsCross(DoublePoint a1, DoublePoint a2, DoublePoint b1, DoublePoint b2);

} // namespace qv
