#pragma once

#include "support/Bytes.h"
#include "support/TempDir.h"
#include "support/WriteFile.h"

#include <cstdint>

namespace qv::test {

// Two small stroke fonts written out byte by byte.
//
// Single-byte font: em 4 + 22 units (416 label units at scale 16), four glyphs:
//   ' ' advance 10, no strokes
//   '-' advance 8:  right 1 unit, left 1, left 1 (for rounding halves)
//   'I' advance 12: a line from the bottom of the em to its top (two vectors of 13 units upward)
//   '_' advance 12: a line of 10 units to the right along the bottom
inline Bytes EnFontBytes(uint16_t enHeight2 = 22)
{
    return Bytes()
        .U16(4)
        .U16(enHeight2)
        .U16(7)
        .I32(4)
        .U16(' ')
        .U16(2)
        .U16(10)
        .I32(50)
        .U16('-')
        .U16(4)
        .U16(8)
        .I32(52)
        .U16('I')
        .U16(5)
        .U16(12)
        .I32(56)
        .U16('_')
        .U16(4)
        .U16(12)
        .I32(61)
        .Add({0x00, 0x00})
        .Add({0x01, 0x10, 0x18, 0x18})
        .Add({0x00, 0x01, 0xD4, 0xD4, 0x00})
        .Add({0x00, 0x01, 0xA0, 0x00});
}

// Double-byte font: cell 16, enScale 16, two glyphs on a 16 x 16 grid:
//   0xB0A1 (GBK of U+554A) the diagonal of the em box, bottom left to top right
//   0xBFE3 (GBK of U+88E4) pen up to mid-height, then a line across the cell
inline Bytes HzFontBytes()
{
    return Bytes()
        .U16(16)
        .U16(16)
        .I32(2)
        .U16(0xB0A1)
        .U16(5)
        .I32(24)
        .U16(0xBFE3)
        .U16(10)
        .I32(29)
        .Add({0x00, 0x08, 16, 16, 0x00})
        .Add({0x00, 0x02, 0x08, 0, 8, 0x01, 0x08, 16, 0, 0x00});
}

} // namespace qv::test
