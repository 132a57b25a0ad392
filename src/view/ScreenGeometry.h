#pragma once

#include "model/Rounding.h"

#include <cstdint>

namespace qv {

// A position in the drawing view's window, pixels from the top-left corner, y down.
struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const ScreenPoint&) const = default;
};

// A window rectangle as the window system keeps one: left and top inside, right and bottom just outside, so an
// outline drawn with a 1-pixel pen covers the columns left .. right - 1 and the rows top .. bottom - 1.
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const ScreenRect&) const = default;
};

// `p` moved by (dx, dy), saturating at the int32 range.
inline ScreenPoint Offset(ScreenPoint p, int64_t dx, int64_t dy)
{
    return {SaturateToInt32(p.x + dx), SaturateToInt32(p.y + dy)};
}

// The rectangle with `a` and `b` as opposite corners.
inline ScreenRect RectBetween(ScreenPoint a, ScreenPoint b)
{
    return {a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.x < b.x ? b.x : a.x, a.y < b.y ? b.y : a.y};
}

} // namespace qv
