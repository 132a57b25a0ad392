#pragma once

#include <cstdint>

namespace qv {

// One index record of a stroke-font file.
class CCharactor {
public:
    virtual ~CCharactor() = default;

    uint16_t code = 0;    // byte value, or lead byte * 256 + trail byte
    uint16_t length = 0;  // bytes of shape data
    uint16_t advance = 0; // advance width in single-byte glyph units; 0 for double-byte glyphs
    uint32_t offset = 0;  // file offset of the shape data
};

} // namespace qv
