#pragma once

#include "OutlineFont.h"
#include "hpgl/ShapeBytes.h"

#include <functional>

namespace qv::fontgen {

// A flattened contour on the glyph grid: mapped by `toGrid`, thinned to the points that keep every dropped
// point within `tolerance` grid units of the result (Douglas-Peucker), then rounded to whole units with
// repeats removed.
GlyphPolyline ToGridPolyline(const Contour& contour, const std::function<Vec2(Vec2)>& toGrid, double tolerance);

} // namespace qv::fontgen
