#include "hpgl/EmbeddedFonts.h"

#include "LabelFontFixture.h"
#include "app/AtomicFile.h"
#include "app/CSettings.h"
#include "app/Notifier.h"
#include "app/TextCodec.h"
#include "hpgl/CLabelRenderer.h"
#include "hpgl/ShapeBytes.h"
#include "hpgl/StrokeFontFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace qv {
namespace {

struct Box {
    int64_t minX = INT64_MAX, minY = INT64_MAX, maxX = INT64_MIN, maxY = INT64_MIN;
    void Add(int64_t x, int64_t y)
    {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    bool Empty() const { return minX > maxX; }
};

// Every point a glyph reaches, in its own glyph units.
Box GlyphBox(std::span<const uint8_t> file, const CCharactor& glyph)
{
    Box box;
    box.Add(0, 0);
    WalkShape(file.subspan(glyph.offset, glyph.length), 0, 1, [&](const ShapeMove& m) { box.Add(m.x, m.y); });
    return box;
}

TEST(EmbeddedFonts, SingleByteFontHoldsThePrintableAscii)
{
    const auto file = EmbeddedFontEn();
    const auto index = ParseEnFontIndex(file, file.size());
    ASSERT_TRUE(index);
    const int em = index->header.enHeight1 + index->header.enHeight2;
    EXPECT_GT(em, 0);
    ASSERT_EQ(index->glyphs.size(), 95u);
    for (std::size_t i = 0; i < index->glyphs.size(); ++i) {
        const CCharactor& g = index->glyphs[i];
        EXPECT_EQ(g.code, 32 + i);
        EXPECT_GT(g.advance, 0) << g.code;
        EXPECT_LE(uint64_t{g.offset} + g.length, file.size()) << g.code;
        EXPECT_EQ(g.length == 0, g.code == ' ') << "only the space draws nothing: " << g.code;
    }
    // Capitals and digits stand on the baseline and reach the top of the em.
    for (const char c : std::string("AHMZ0")) {
        const Box box = GlyphBox(file, index->glyphs[static_cast<std::size_t>(c - 32)]);
        EXPECT_EQ(box.minY, 0) << c;
        EXPECT_EQ(box.maxY, em) << c;
        EXPECT_GE(box.minX, 0) << c;
        EXPECT_LE(box.maxX, index->glyphs[static_cast<std::size_t>(c - 32)].advance) << c;
    }
}

TEST(EmbeddedFonts, DoubleByteFontCoversGb2312)
{
    const auto file = EmbeddedFontHz();
    const auto index = ParseHzFontIndex(file, file.size());
    ASSERT_TRUE(index);
    const int em = index->header.enScale;
    EXPECT_GE(index->header.hzCell, em);
    EXPECT_LT(file.size(), 2'000'000u);
    ASSERT_GE(index->glyphs.size(), 7000u);
    uint16_t previous = 0;
    std::size_t chinese = 0;
    for (const CCharactor& g : index->glyphs) {
        EXPECT_GT(g.code, previous) << "sorted by code";
        previous = g.code;
        EXPECT_GE(g.code >> 8, 0xA1);
        EXPECT_LE(g.code >> 8, 0xF7);
        EXPECT_GE(g.code & 0xFF, 0xA1);
        EXPECT_GT(g.length, 0);
        EXPECT_LE(uint64_t{g.offset} + g.length, file.size());
        if (g.code < 0xB0A1)
            continue;
        ++chinese;
        const Box box = GlyphBox(file, g);
        EXPECT_GE(box.minY, 0) << std::hex << g.code;
        EXPECT_LE(box.maxY, em) << std::hex << g.code;
        EXPECT_GE(box.minX, 0) << std::hex << g.code;
        EXPECT_LE(box.maxX, index->header.hzCell) << std::hex << g.code;
    }
    EXPECT_EQ(chinese, 6763u) << "both levels of GB2312 Chinese characters";
}

TEST(EmbeddedFonts, EnsureFontFilesWritesOnlyMissingFiles)
{
    test::TempDir dir;
    CSettings settings;
    settings.FontHzPath = dir.File("fon_hz.bin");
    settings.FontEnPath = dir.File("fon_en.bin");
    test::WriteFile(settings.FontHzPath, "own");
    EnsureFontFiles(settings);

    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(settings.FontHzPath, bytes));
    EXPECT_EQ(bytes, "own") << "an existing file is left as it is";
    ASSERT_TRUE(ReadWholeFile(settings.FontEnPath, bytes));
    const auto en = EmbeddedFontEn();
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), std::vector<uint8_t>(en.begin(), en.end()));

    settings.FontHzPath = dir.File("missing/fon_hz.bin");
    EXPECT_NO_THROW(EnsureFontFiles(settings)) << "a place that cannot be written is reported when opening";
}

// Draws labels with the carried fonts: pen (1000, 1000), height 0.375 cm (150 units), LO 1.
class CarriedFontLabels : public ::testing::Test {
protected:
    CarriedFontLabels()
    {
        settings.FontHzPath = dir.File("fon_hz.bin");
        settings.FontEnPath = dir.File("fon_en.bin");
        renderer.LoadFonts(settings, notifier);
        hz = *ParseHzFontIndex(EmbeddedFontHz(), EmbeddedFontHz().size());
        en = *ParseEnFontIndex(EmbeddedFontEn(), EmbeddedFontEn().size());
    }

    HpglInstructionList Draw(std::string_view text)
    {
        HpglInstructionList out;
        renderer.DrawLabel(1000, 1000, text, {}, out);
        return out;
    }

    static Box BoxOf(const HpglInstructionList& out)
    {
        Box box;
        for (const HpglInstruction i : out)
            for (std::size_t k = 0; k + 1 < i.values.size(); k += 2)
                box.Add(i.values[k], i.values[k + 1]);
        return box;
    }

    // Plotter units of `labelUnits` at 150 units per em.
    double ToPlotter(int64_t labelUnits) const
    {
        const int64_t em = int64_t{en.header.enHeight1 + en.header.enHeight2} * hz.header.enScale;
        return static_cast<double>(labelUnits) * 150 / static_cast<double>(em);
    }

    test::TempDir dir;
    CSettings settings;
    RecordingNotifier notifier;
    CLabelRenderer renderer;
    HzFontIndex hz;
    EnFontIndex en;
};

TEST_F(CarriedFontLabels, AsciiLabelFillsTheEmUprightAndLeftToRight)
{
    EXPECT_TRUE(notifier.Texts().empty());
    const Box box = BoxOf(Draw("AB"));
    ASSERT_FALSE(box.Empty());
    const int64_t advance = int64_t{en.glyphs['A' - 32].advance + en.glyphs['B' - 32].advance} * hz.header.enScale;
    EXPECT_EQ(box.minY, 1000) << "capitals stand on the pen line";
    EXPECT_EQ(box.maxY, 1150) << "and reach the character height";
    EXPECT_GE(box.minX, 1000);
    EXPECT_LE(box.maxX, 1000 + ToPlotter(advance) + 1);

    // "L": its foot lies at the bottom and runs to the right of its stem.
    const auto out = Draw("L");
    const Box l = BoxOf(out);
    int64_t footRight = INT64_MIN;
    for (const HpglInstruction i : out)
        for (std::size_t k = 0; k + 1 < i.values.size(); k += 2)
            if (i.values[k + 1] == l.minY)
                footRight = std::max<int64_t>(footRight, i.values[k]);
    EXPECT_GT(footRight - l.minX, (l.maxX - l.minX) / 2) << "not mirrored left to right";
    EXPECT_EQ(l.maxY - l.minY, 150);
}

TEST_F(CarriedFontLabels, GbkLabelFillsTheEmCellByCell)
{
    const std::string trousers = *Utf8ToGbk("裤子");
    ASSERT_EQ(trousers, "\xBF\xE3\xD7\xD3");
    const Box box = BoxOf(Draw(trousers));
    ASSERT_FALSE(box.Empty());
    const int64_t cell = int64_t{en.header.enHeight1 + en.header.enHeight2} * hz.header.hzCell;
    EXPECT_GE(box.minY, 1000);
    EXPECT_LE(box.maxY, 1150);
    EXPECT_GT(box.maxY - box.minY, 150 * 8 / 10) << "the characters fill most of the em";
    EXPECT_GE(box.minX, 1000);
    EXPECT_LE(box.maxX, 1000 + ToPlotter(2 * cell) + 1);
    EXPECT_GT(box.maxX, 1000 + ToPlotter(cell)) << "the second character stands in the second cell";

    // "上" has its long stroke at the bottom, "下" at the top: upright, not turned over.
    const auto widthNear = [&](const std::string& text, bool bottom) {
        const auto out = Draw(*Utf8ToGbk(text));
        const Box b = BoxOf(out);
        Box band;
        for (const HpglInstruction i : out)
            for (std::size_t k = 0; k + 1 < i.values.size(); k += 2) {
                const int64_t y = i.values[k + 1];
                if (bottom ? y <= b.minY + 20 : y >= b.maxY - 20)
                    band.Add(i.values[k], y);
            }
        return band.maxX - band.minX;
    };
    EXPECT_GT(widthNear("上", true), 2 * widthNear("上", false));
    EXPECT_GT(widthNear("下", false), 2 * widthNear("下", true));
}

} // namespace
} // namespace qv
