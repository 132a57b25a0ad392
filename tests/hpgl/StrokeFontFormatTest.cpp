#include "hpgl/StrokeFontFormat.h"

#include "LabelFontFixture.h"
#include "app/InvalidArgument.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::Bytes;
using test::EnFontBytes;
using test::HzFontBytes;

struct Record {
    uint16_t code, length, advance;
    uint32_t offset;
    bool operator==(const Record&) const = default;
};

std::vector<Record> Records(const std::vector<CCharactor>& glyphs)
{
    std::vector<Record> out;
    for (const CCharactor& g : glyphs)
        out.push_back({g.code, g.length, g.advance, g.offset});
    return out;
}

std::vector<Record> ParseEn(const std::vector<uint8_t>& file)
{
    const auto index = ParseEnFontIndex(file, file.size());
    return index ? Records(index->glyphs) : std::vector<Record>{};
}

TEST(StrokeFontFormat, ReadsBothHeadersAndIndexes)
{
    const std::vector<uint8_t> en = EnFontBytes();
    const auto enIndex = ParseEnFontIndex(en, en.size());
    ASSERT_TRUE(enIndex);
    EXPECT_EQ(enIndex->header.enHeight1, 4);
    EXPECT_EQ(enIndex->header.enHeight2, 22);
    EXPECT_EQ(enIndex->header.reserved, 7);
    EXPECT_EQ(Records(enIndex->glyphs),
              (std::vector<Record>{{' ', 2, 10, 50}, {'-', 4, 8, 52}, {'I', 5, 12, 56}, {'_', 4, 12, 61}}));

    const std::vector<uint8_t> hz = HzFontBytes();
    const auto hzIndex = ParseHzFontIndex(hz, hz.size());
    ASSERT_TRUE(hzIndex);
    EXPECT_EQ(hzIndex->header.hzCell, 16);
    EXPECT_EQ(hzIndex->header.enScale, 16);
    EXPECT_EQ(Records(hzIndex->glyphs), (std::vector<Record>{{0xB0A1, 5, 0, 24}, {0xBFE3, 10, 0, 29}}));
}

TEST(StrokeFontFormat, EncodesExactlyTheHandWrittenFiles)
{
    const std::vector<GlyphShape> en{{' ', 10, {0x00, 0x00}},
                                     {'-', 8, {0x01, 0x10, 0x18, 0x18}},
                                     {'I', 12, {0x00, 0x01, 0xD4, 0xD4, 0x00}},
                                     {'_', 12, {0x00, 0x01, 0xA0, 0x00}}};
    EXPECT_EQ(EncodeEnFont({4, 22, 7}, en), EnFontBytes().vec());

    const std::vector<GlyphShape> hz{{0xB0A1, 0, {0x00, 0x08, 16, 16, 0x00}},
                                     {0xBFE3, 0, {0x00, 0x02, 0x08, 0, 8, 0x01, 0x08, 16, 0, 0x00}}};
    EXPECT_EQ(EncodeHzFont({16, 16}, hz), HzFontBytes().vec());

    const std::vector<GlyphShape> tooLong{{'x', 1, std::vector<uint8_t>(65536, 0)}};
    EXPECT_THROW(EncodeEnFont({1, 1, 0}, tooLong), InvalidArgument);
}

TEST(StrokeFontFormat, HostileIndexes)
{
    struct Case {
        const char* name;
        Bytes file;
        std::vector<Record> expected;
    };
    const Case cases[] = {
        {"a shape one byte past the end counts as missing, one ending at the end does not",
         Bytes().U16(4).U16(22).U16(0).I32(2).U16('A').U16(3).U16(9).I32(32).U16('B').U16(3).U16(9).I32(31).Add(
             {1, 2, 3, 4}),
         {{'A', 0, 9, 32}, {'B', 3, 9, 31}}},
        {"offset far outside the file",
         Bytes().U16(4).U16(22).U16(0).I32(1).U16('A').U16(1).U16(9).I32(-1).Add({0}),
         {{'A', 0, 9, 0xFFFFFFFF}}},
        {"count larger than the file keeps the whole records it holds",
         Bytes().U16(4).U16(22).U16(0).I32(-1).U16('A').U16(1).U16(9).I32(20).Add({0, 0, 0, 0, 0}),
         {{'A', 1, 9, 20}}},
        {"count of zero", Bytes().U16(4).U16(22).U16(0).I32(0).Add({1, 2, 3}), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseEn(c.file), c.expected) << c.name;

    const std::vector<uint8_t> hz = Bytes().U16(16).U16(16).I32(1000).U16(0xB0A1).U16(1).I32(16).Add({0});
    const auto hzIndex = ParseHzFontIndex(hz, hz.size());
    ASSERT_TRUE(hzIndex);
    EXPECT_EQ(Records(hzIndex->glyphs), (std::vector<Record>{{0xB0A1, 1, 0, 16}}));
}

TEST(StrokeFontFormat, UnusableHeaders)
{
    const std::vector<uint8_t> shortEn = Bytes().U16(4).U16(22).U16(0).Add({1, 0, 0});
    EXPECT_FALSE(ParseEnFontIndex(shortEn, shortEn.size())) << "9 bytes hold no header";
    const std::vector<uint8_t> emptyEn = Bytes().U16(4).U16(22).U16(0).I32(0);
    EXPECT_TRUE(ParseEnFontIndex(emptyEn, emptyEn.size())) << "10 bytes do";
    const std::vector<uint8_t> zeroEm = Bytes().U16(0).U16(0).U16(0).I32(0);
    EXPECT_FALSE(ParseEnFontIndex(zeroEm, zeroEm.size()));

    const std::vector<uint8_t> shortHz = Bytes().U16(16).U16(16).Add({0, 0, 0});
    EXPECT_FALSE(ParseHzFontIndex(shortHz, shortHz.size()));
    const std::vector<uint8_t> zeroScale = Bytes().U16(16).U16(0).I32(0);
    EXPECT_FALSE(ParseHzFontIndex(zeroScale, zeroScale.size()));
}

TEST(StrokeFontFormat, IndexExtentIsCappedByTheFile)
{
    const std::vector<uint8_t> header = Bytes().U16(4).U16(22).U16(0).I32(3);
    EXPECT_EQ(FontIndexExtent(FontKind::En, header, 1000), 40u);
    EXPECT_EQ(FontIndexExtent(FontKind::En, header, 25), 25u);
    const std::vector<uint8_t> huge = Bytes().U16(16).U16(16).I32(-1);
    EXPECT_EQ(FontIndexExtent(FontKind::Hz, huge, 64), 64u);
    EXPECT_EQ(FontIndexExtent(FontKind::Hz, std::span(huge).first(7), 64), std::nullopt);
}

} // namespace
} // namespace qv
