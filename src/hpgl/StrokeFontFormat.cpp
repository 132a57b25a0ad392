#include "hpgl/StrokeFontFormat.h"

#include "app/InvalidArgument.h"
#include "app/LittleEndian.h"

#include <algorithm>
#include <limits>

namespace qv {

namespace {

// Where the two formats differ: the count's place, and whether a record carries an advance width.
struct Layout {
    std::size_t headerSize;
    std::size_t countOffset;
    std::size_t recordSize;
    bool hasAdvance;
};

constexpr Layout LayoutOf(FontKind kind)
{
    return kind == FontKind::Hz ? Layout{FontHeaderSize(kind), 4, FontRecordSize(kind), false}
                                : Layout{FontHeaderSize(kind), 6, FontRecordSize(kind), true};
}

// Records held by `bytes`, capped at the count in the header.
std::vector<CCharactor> ParseRecords(const Layout& layout, std::span<const uint8_t> bytes, uint64_t fileSize)
{
    const uint32_t count = LoadLE<uint32_t>(bytes.data() + layout.countOffset);
    const std::size_t held = (bytes.size() - layout.headerSize) / layout.recordSize;
    const std::size_t n = std::min<std::size_t>(count, held);

    std::vector<CCharactor> glyphs(n);
    for (std::size_t i = 0; i < n; ++i) {
        const uint8_t* r = bytes.data() + layout.headerSize + i * layout.recordSize;
        CCharactor& g = glyphs[i];
        g.code = LoadLE<uint16_t>(r);
        g.length = LoadLE<uint16_t>(r + 2);
        g.advance = layout.hasAdvance ? LoadLE<uint16_t>(r + 4) : 0;
        g.offset = LoadLE<uint32_t>(r + (layout.hasAdvance ? 6 : 4));
        if (uint64_t{g.offset} + g.length > fileSize)
            g.length = 0;
    }
    return glyphs;
}

void StoreRecord(const Layout& layout, uint8_t* r, const GlyphShape& g, uint32_t offset)
{
    StoreLE<uint16_t>(r, g.code);
    StoreLE<uint16_t>(r + 2, static_cast<uint16_t>(g.shape.size()));
    if (layout.hasAdvance)
        StoreLE<uint16_t>(r + 4, g.advance);
    StoreLE<uint32_t>(r + (layout.hasAdvance ? 6 : 4), offset);
}

// Header fields before the count are written by the caller into the first bytes.
std::vector<uint8_t> EncodeFont(const Layout& layout, std::span<const GlyphShape> glyphs)
{
    uint64_t size = layout.headerSize + uint64_t{glyphs.size()} * layout.recordSize;
    for (const GlyphShape& g : glyphs) {
        if (g.shape.size() > std::numeric_limits<uint16_t>::max())
            throw InvalidArgument("glyph shape longer than 65535 bytes");
        size += g.shape.size();
    }
    if (size > std::numeric_limits<uint32_t>::max())
        throw InvalidArgument("font file past 4 GiB");

    std::vector<uint8_t> file(static_cast<std::size_t>(size));
    StoreLE<uint32_t>(file.data() + layout.countOffset, static_cast<uint32_t>(glyphs.size()));
    std::size_t shapeAt = layout.headerSize + glyphs.size() * layout.recordSize;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        StoreRecord(layout, file.data() + layout.headerSize + i * layout.recordSize, glyphs[i],
                    static_cast<uint32_t>(shapeAt));
        std::copy(glyphs[i].shape.begin(), glyphs[i].shape.end(), file.begin() + static_cast<std::ptrdiff_t>(shapeAt));
        shapeAt += glyphs[i].shape.size();
    }
    return file;
}

} // namespace

std::optional<uint64_t> FontIndexExtent(FontKind kind, std::span<const uint8_t> header, uint64_t fileSize)
{
    const Layout layout = LayoutOf(kind);
    if (header.size() < layout.headerSize)
        return std::nullopt;
    const uint32_t count = LoadLE<uint32_t>(header.data() + layout.countOffset);
    return std::min(fileSize, layout.headerSize + uint64_t{count} * layout.recordSize);
}

std::optional<HzFontIndex> ParseHzFontIndex(std::span<const uint8_t> bytes, uint64_t fileSize)
{
    const Layout layout = LayoutOf(FontKind::Hz);
    if (bytes.size() < layout.headerSize)
        return std::nullopt;
    HzFontIndex index;
    index.header.hzCell = LoadLE<uint16_t>(bytes.data());
    index.header.enScale = LoadLE<uint16_t>(bytes.data() + 2);
    if (index.header.enScale == 0)
        return std::nullopt;
    index.glyphs = ParseRecords(layout, bytes, fileSize);
    return index;
}

std::optional<EnFontIndex> ParseEnFontIndex(std::span<const uint8_t> bytes, uint64_t fileSize)
{
    const Layout layout = LayoutOf(FontKind::En);
    if (bytes.size() < layout.headerSize)
        return std::nullopt;
    EnFontIndex index;
    index.header.enHeight1 = LoadLE<uint16_t>(bytes.data());
    index.header.enHeight2 = LoadLE<uint16_t>(bytes.data() + 2);
    index.header.reserved = LoadLE<uint16_t>(bytes.data() + 4);
    if (index.header.enHeight1 + index.header.enHeight2 == 0)
        return std::nullopt;
    index.glyphs = ParseRecords(layout, bytes, fileSize);
    return index;
}

std::vector<uint8_t> EncodeHzFont(const HzFontHeader& header, std::span<const GlyphShape> glyphs)
{
    std::vector<uint8_t> file = EncodeFont(LayoutOf(FontKind::Hz), glyphs);
    StoreLE<uint16_t>(file.data(), header.hzCell);
    StoreLE<uint16_t>(file.data() + 2, header.enScale);
    return file;
}

std::vector<uint8_t> EncodeEnFont(const EnFontHeader& header, std::span<const GlyphShape> glyphs)
{
    std::vector<uint8_t> file = EncodeFont(LayoutOf(FontKind::En), glyphs);
    StoreLE<uint16_t>(file.data(), header.enHeight1);
    StoreLE<uint16_t>(file.data() + 2, header.enHeight2);
    StoreLE<uint16_t>(file.data() + 4, header.reserved);
    return file;
}

} // namespace qv
