#pragma once

#include "hpgl/CCharactor.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qv {

// The two stroke-font files, both little-endian, each with its glyph index sorted by ascending code. A glyph's
// shape data is a byte string in the shape-byte encoding of ShapeBytes.h.
//
// "fon_hz.bin", GBK double-byte glyphs:
//    0  uint16   hzCell    advance of every double-byte glyph, in double-byte glyph units
//    2  uint16   enScale   single-byte glyph units -> label units
//    4  uint32   N         glyph count
//    8  N x 8    records   uint16 code (lead byte * 256 + trail byte), uint16 shape length, uint32 shape offset
//
// "fon_en.bin", single-byte glyphs:
//    0  uint16   enHeight1 } their sum is the em height in single-byte glyph units
//    2  uint16   enHeight2 }
//    4  uint16   reserved  not read by the renderer
//    6  uint32   N         glyph count
//   10  N x 10   records   uint16 code (the byte), uint16 shape length, uint16 advance width, uint32 shape offset

struct HzFontHeader {
    uint16_t hzCell = 0;
    uint16_t enScale = 0;
};

struct EnFontHeader {
    uint16_t enHeight1 = 0;
    uint16_t enHeight2 = 0;
    uint16_t reserved = 0;
};

template <typename Header>
struct FontIndex {
    Header header;
    std::vector<CCharactor> glyphs;
};
using HzFontIndex = FontIndex<HzFontHeader>;
using EnFontIndex = FontIndex<EnFontHeader>;

enum class FontKind { Hz, En };

inline constexpr std::size_t FontHeaderSize(FontKind kind)
{
    return kind == FontKind::Hz ? 8 : 10;
}
inline constexpr std::size_t FontRecordSize(FontKind kind)
{
    return kind == FontKind::Hz ? 8 : 10;
}

// Bytes from the start of the file that the header and the N index records it announces take, as far as the
// file of `fileSize` bytes holds them. None when `header` (the first bytes of the file) is shorter than the
// header.
std::optional<uint64_t> FontIndexExtent(FontKind kind, std::span<const uint8_t> header, uint64_t fileSize);

// Reads the header and the index from `bytes`, the first bytes of a file of `fileSize` bytes. None when the
// header is incomplete or gives an em of zero (enScale 0, or enHeight1 + enHeight2 = 0), which no label could
// be scaled by. Records that `bytes` does not hold are dropped (a count larger than the file); a record whose
// shape data lies outside the file keeps its place with length 0, so it is drawn as a missing glyph.
std::optional<HzFontIndex> ParseHzFontIndex(std::span<const uint8_t> bytes, uint64_t fileSize);
std::optional<EnFontIndex> ParseEnFontIndex(std::span<const uint8_t> bytes, uint64_t fileSize);

// One glyph to be written: its code, advance width (single-byte fonts only) and shape bytes.
struct GlyphShape {
    uint16_t code = 0;
    uint16_t advance = 0;
    std::vector<uint8_t> shape;
};

// Whole font files: header, index in the given order (callers sort by code), then the shape data of every
// glyph in the same order. Throws InvalidArgument for a shape longer than 65535 bytes or a file past 4 GiB.
std::vector<uint8_t> EncodeHzFont(const HzFontHeader& header, std::span<const GlyphShape> glyphs);
std::vector<uint8_t> EncodeEnFont(const EnFontHeader& header, std::span<const GlyphShape> glyphs);

} // namespace qv
