#pragma once

#include <cstdint>
#include <span>

namespace qv {

// One drawing instruction produced by reading an HP-GL file, as HpglInstructionList hands it out: the values
// live in the list. A stroke is always OP_STROKE_START followed by one OP_POINTS.
struct HpglInstruction {
    enum Op : int32_t {
        OP_POINTS = 20,       // x0, y0, x1, y1, ...
        OP_STROKE_START = 21, // x, y where the stroke begins
        OP_NEW_PAGE = 22,
        OP_LINE_TYPE = 23,  // none, or 0 solid / 1 dashed
        OP_SELECT_PEN = 24, // the pen number
    };

    int32_t op = OP_POINTS;
    std::span<const int32_t> values;
};

} // namespace qv
