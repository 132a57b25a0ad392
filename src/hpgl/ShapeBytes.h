#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace qv {

// The shape-byte encoding of one glyph. A walk starts at (startX, 0) with the pen down; `scale` turns glyph
// units into label units.
//
//   0             nothing
//   1, 2          pen down, pen up
//   3 b, 4 b      the operand b is skipped (glyphs are scaled by the label alone)
//   8 dx dy       move by the signed bytes (dx, dy) times scale
//   9 (dx dy)...  moves by signed byte pairs until the pair (0, 0)
//   14            the next vector, 8 or 9 command is taken without moving; 0, 1 and 2 in between still act
//   15..255       vector: length l = (byte / 16) times scale, direction byte % 16 with h = floor(l / 2):
//                  0 (l,0)   1 (l,h)   2 (l,l)   3 (h,l)   4 (0,l)   5 (-h,l)   6 (-l,l)   7 (-l,h)
//                  8 (-l,0)  9 (-l,-h) 10 (-l,-l) 11 (-h,-l) 12 (0,-l) 13 (h,-l) 14 (l,-l) 15 (l,-h)
//   5-7, 10-13    push, pop, sub-shape and arcs of the wider encoding: these fonts never use them, and each
//                 counts as a one-byte no-op so that no glyph can stall the walk
//
// A command cut short by the end of the data ends the walk; nothing past the data is read.

struct ShapeMove {
    int64_t x = 0;
    int64_t y = 0;
    bool penDown = false; // draw to (x, y) rather than move there
};

// Calls `onMove` with the new point after every movement.
void WalkShape(std::span<const uint8_t> shape, int64_t startX, int64_t scale,
               const std::function<void(const ShapeMove&)>& onMove);

// A point of a glyph in glyph units, relative to the glyph's start point.
struct GlyphPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const GlyphPoint&) const = default;
};
using GlyphPolyline = std::vector<GlyphPoint>;

// The shortest shape bytes, under this encoder's choices, that draw the polylines in order when walked at
// `scale`: pen up, move to a polyline's first point, pen down, then one movement per edge. Each movement is a
// vector byte where one lands exactly on the point at this scale, otherwise an 8 or a run of 9, long ones cut
// into pieces of at most 127 units. Repeated points are dropped; polylines of fewer than two distinct points
// draw nothing. Throws InvalidArgument for a scale below 1.
std::vector<uint8_t> EncodeShape(std::span<const GlyphPolyline> polylines, int64_t scale);

} // namespace qv
