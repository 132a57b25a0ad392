#pragma once

#include "hpgl/ShapeBytes.h"

#include <string>
#include <vector>

namespace qv::fontgen {

// One glyph of a Hershey font file (".jhf"): its left and right margins and its strokes, in the font's own
// units with y growing downward.
struct HersheyGlyph {
    int left = 0;
    int right = 0;
    std::vector<GlyphPolyline> strokes;
};

// The glyphs of a ".jhf" file in file order (the ASCII fonts start at the space). Throws std::runtime_error
// when the file cannot be read or a glyph line is malformed.
std::vector<HersheyGlyph> ReadHersheyFont(const std::string& path);

} // namespace qv::fontgen
