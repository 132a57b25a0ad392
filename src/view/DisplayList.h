#pragma once

#include "view/ScreenGeometry.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qv {

// What the drawing view paints, as plain values a window paints in order and a test or a script reads back.
// Every coordinate is a window pixel; pens are not antialiased.

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;

    bool operator==(const Rgb&) const = default;
};

enum class LineStyle : uint8_t { Solid, Dashed, Dotted };

struct Pen {
    Rgb colour;
    LineStyle style = LineStyle::Solid;
    int32_t width = 1; // pixels

    bool operator==(const Pen&) const = default;
};

// A font by family and size in points; an empty family is the surface's own font.
struct Font {
    std::string_view family;
    int32_t pointSize = 0;

    bool operator==(const Font&) const = default;
};

// A filled rectangle without outline.
struct FillRect {
    ScreenRect rect;
    Rgb colour;
};

// A hollow rectangle.
struct OutlineRect {
    ScreenRect rect;
    Pen pen;
};

// A straight line from `from` to `to`.
struct Line {
    ScreenPoint from;
    ScreenPoint to;
    Pen pen;
};

// Text with its top-left corner at `topLeft`, on a transparent background.
struct Text {
    ScreenPoint topLeft;
    std::string text;
    Rgb colour;
    Font font;
};

// Lines through DisplayList::points [first, first + count) in order; `curve` is its index in the page.
struct Polyline {
    uint32_t first = 0;
    uint32_t count = 0;
    Pen pen;
    int32_t curve = 0;
};

// A hollow square around each of the points [first, first + count): the rectangle (x - half, y - half,
// x + half, y + half). The points are those of the curve's Polyline.
struct VertexSquares {
    uint32_t first = 0;
    uint32_t count = 0;
    int32_t half = 3;
    Pen pen;
    int32_t curve = 0;
};

// A triangle outlined with `pen` and filled with `fill`.
struct Triangle {
    std::array<ScreenPoint, 3> corners;
    Pen pen;
    Rgb fill;
    int32_t curve = 0;
};

using Primitive = std::variant<FillRect, OutlineRect, Line, Text, Polyline, VertexSquares, Triangle>;

struct DisplayList {
    std::vector<Primitive> primitives; // in drawing order
    std::vector<ScreenPoint> points;   // of the polylines and vertex squares

    std::span<const ScreenPoint> PointsOf(uint32_t first, uint32_t count) const
    {
        return std::span<const ScreenPoint>(points).subspan(first, count);
    }
    void Clear()
    {
        primitives.clear();
        points.clear();
    }
};

} // namespace qv
