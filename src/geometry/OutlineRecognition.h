#pragma once

#include "model/CCurve.h"
#include "model/COnePage.h"

#include <cstdint>

namespace qv {

// Sets the kinds of a page's curves from their geometry alone: the closed outer contour of each piece becomes
// a full cut, everything else (inner lines, markings, notches, contours inside another) a plot curve. Open
// pieces of a contour are joined first (JoinChains with 1, then 9 units) and notch marks are split off the
// contour ends. Every earlier kind is overwritten. A curve without points is an InvalidArgument error, raised
// before anything changes. False when the contours lie inside one another in more pairs than
// ResolveNesting weighs: the joins and kinds are made, every contour stays a full cut.
[[nodiscard]] bool RecognizeOutlines(COnePage& page);

// Splits notch marks off the ends of the curves present at the start: a head or tail of four points with legs
// of 100 to 400, 50 to 200 and 300 to 500 units, the first leg twice the second within 20 units, and a turn of
// more than 45 degrees between the first and the last leg becomes a new notch curve (notch = 1, points from the
// end inwards) appended to the page; the curve keeps the fourth point on.
void SplitNotches(COnePage& page);

// Among the full-cut contours of at least four points, one that lies inside another becomes a plot curve:
// by three of its points inside the other's polygon, or by its bounding box inside the other's. False, with
// nothing changed, past kMaxNestingCandidates pairs that could decide something.
[[nodiscard]] bool ResolveNesting(COnePage& page);

// Winding-number test of (x, y) against the polyline of the curve's points, without a closing edge from the
// last point back to the first. A curve of fewer than two points contains nothing.
bool ContainsPoint(const CCurve& curve, int32_t x, int32_t y);

} // namespace qv
