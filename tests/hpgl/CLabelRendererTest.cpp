#include "hpgl/CLabelRenderer.h"

#include "LabelFontFixture.h"
#include "app/CSettings.h"
#include "app/InvalidArgument.h"
#include "app/Notifier.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qv {
namespace {

using Op = HpglInstruction::Op;

struct Segment {
    CPoint a, b;
    bool operator==(const Segment&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Segment& s)
{
    return os << "(" << s.a.x << "," << s.a.y << ")-(" << s.b.x << "," << s.b.y << ")";
}

// The drawn line pieces, whatever the strokes they were grouped into; fails on a malformed list.
std::vector<Segment> Segments(const HpglInstructionList& out)
{
    std::vector<Segment> segments;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i].op != Op::OP_STROKE_START)
            continue;
        EXPECT_EQ(out[i].values.size(), 2u);
        EXPECT_LT(i + 1, out.size());
        if (i + 1 >= out.size())
            break;
        EXPECT_EQ(out[i + 1].op, Op::OP_POINTS);
        CPoint from{out[i].values[0], out[i].values[1]};
        const auto v = out[i + 1].values;
        EXPECT_EQ(v.size() % 2, 0u);
        for (std::size_t k = 0; k + 1 < v.size(); k += 2) {
            const CPoint to{v[k], v[k + 1]};
            segments.push_back({from, to});
            from = to;
        }
    }
    return segments;
}

// Op codes and values, comparable and printable.
using Listing = std::vector<std::pair<int32_t, std::vector<int32_t>>>;

Listing::value_type Start(int32_t x, int32_t y)
{
    return {Op::OP_STROKE_START, {x, y}};
}

Listing::value_type Points(std::vector<int32_t> values)
{
    return {Op::OP_POINTS, std::move(values)};
}

Listing List(const HpglInstructionList& out)
{
    Listing listing;
    for (const HpglInstruction i : out)
        listing.emplace_back(i.op, std::vector<int32_t>(i.values.begin(), i.values.end()));
    return listing;
}

class LabelRendererTest : public ::testing::Test {
protected:
    LabelRendererTest()
    {
        settings.FontHzPath = dir.File("fon_hz.bin");
        settings.FontEnPath = dir.File("fon_en.bin");
    }

    // A path where no font can be written, so that it stays missing.
    // Something lies there, but no font can be read from it (a folder where the file should be); where nothing
    // lies, the built-in font is read instead.
    void MakeUnreachable(std::string& path)
    {
        path = dir.File("folder-" + std::to_string(++unreachable_));
        std::filesystem::create_directory(path);
    }
    int unreachable_ = 0;

    void WriteFonts(bool hz = true, bool en = true, uint16_t enHeight2 = 22)
    {
        if (hz)
            test::WriteFile(settings.FontHzPath, test::HzFontBytes());
        if (en)
            test::WriteFile(settings.FontEnPath, test::EnFontBytes(enHeight2));
    }

    HpglInstructionList Draw(std::string_view text, LabelStyle style = {}, int32_t x = 1000, int32_t y = 1000)
    {
        HpglInstructionList out;
        renderer.DrawLabel(x, y, text, style, out);
        return out;
    }

    test::TempDir dir;
    CSettings settings;
    RecordingNotifier notifier;
    CLabelRenderer renderer;
};

TEST_F(LabelRendererTest, ReferencePointIsTheTopOfTheEm)
{
    WriteFonts();
    renderer.LoadFonts(settings, notifier);
    EXPECT_TRUE(notifier.Texts().empty());
    // 0.375 cm, LO 1, pen (1000, 1000): reference (1000, 1150); the em spans Y 1000 to 1150.
    EXPECT_EQ(List(Draw("I")), Listing({Start(1000, 1000), Points({1000, 1075, 1000, 1150})}));
}

TEST_F(LabelRendererTest, LabelOriginTable)
{
    WriteFonts();
    renderer.LoadFonts(settings, notifier);
    // H = 150, W = 114, one character: where the bottom of "I" (150 below the reference) starts.
    struct Row {
        int32_t origin;
        CPoint start;
    };
    const Row rows[] = {
        {1, {1000, 1000}},  {2, {1000, 925}},  {3, {1000, 850}},   {4, {943, 1000}},  {5, {943, 925}},
        {6, {943, 850}},    {7, {886, 1000}},  {8, {886, 925}},    {9, {886, 850}},   {11, {1029, 1038}},
        {12, {1029, 925}},  {13, {1029, 813}}, // W/4 = 28.5, 1.25 H = 187.5, -H/4 = -37.5
        {14, {943, 1038}},  {15, {943, 925}},  {16, {943, 813}},   {17, {858, 1038}}, {18, {858, 925}},
        {19, {858, 813}},                                          // -W - W/4 = -142.5
        {10, {1000, 1000}}, {0, {1000, 1000}}, {20, {1000, 1000}}, // outside the table: as 1
    };
    for (const Row& r : rows) {
        LabelStyle style;
        style.origin = r.origin;
        const auto segments = Segments(Draw("I", style));
        ASSERT_EQ(segments.size(), 2u) << "LO " << r.origin;
        EXPECT_EQ(segments[0].a, r.start) << "LO " << r.origin;
    }

    LabelStyle centred;
    centred.origin = 5;
    EXPECT_EQ(Segments(Draw("__I", centred)).back().b, (CPoint{1000 - 171 + 138, 1075})) << "n counts the run's bytes";
}

TEST_F(LabelRendererTest, RoundingHalvesAwayFromZero)
{
    WriteFonts(true, true, 21); // em 25 units = 400 label units
    renderer.LoadFonts(settings, notifier);
    LabelStyle style;
    style.charHeight = 0.03125; // 12.5 plotter units: k = 32
    style.origin = 3;
    // The bottom maps to -400 / 32 = -12.5 -> -13; one unit right +0.5 -> +1, one unit left of the start -> -1.
    EXPECT_EQ(
        Segments(Draw("-", style)),
        (std::vector<Segment>{{{1000, 987}, {1001, 987}}, {{1001, 987}, {1000, 987}}, {{1000, 987}, {999, 987}}}));
}

TEST_F(LabelRendererTest, RunsAtCarriageReturnAndLineFeed)
{
    WriteFonts();
    renderer.LoadFonts(settings, notifier);
    const Segment line0{{1000, 1000}, {1058, 1000}}; // "_": 10 units of 16 at k = 416 / 150
    const Segment line1{{1000, 1150}, {1058, 1150}};
    const Segment line2{{1000, 1300}, {1058, 1300}};
    struct Case {
        const char* name;
        std::string text;
        std::vector<Segment> expected;
    };
    const Case cases[] = {
        {"LF: the next run one character height higher", "_\n_", {line0, line1}},
        {"CR: back to the same place", "_\r_", {line0, line0}},
        {"CR LF", "_\r\n_", {line0, line1}},
        {"empty runs still count their LF", "\n\n_", {line2}},
        {"nothing but line ends", "\r\n\r", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Segments(Draw(c.text)), c.expected) << c.name;

    LabelStyle turned;
    turned.direction = 90;
    turned.origin = 3;
    const auto segments = Segments(Draw("_\n_", turned));
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[1].a.y - segments[0].a.y, 150) << "the line offset is in plotter Y whatever the direction";
    EXPECT_EQ(segments[1].a.x, segments[0].a.x);
}

TEST_F(LabelRendererTest, OnlyTheFirst512BytesAreDrawn)
{
    WriteFonts();
    renderer.LoadFonts(settings, notifier);
    EXPECT_EQ(Segments(Draw(std::string(600, '_'))).size(), 512u);
    EXPECT_EQ(Segments(Draw(std::string(511, '_') + "\n_")).size(), 511u) << "a LF past the cut starts nothing";
}

TEST_F(LabelRendererTest, SingleByteLookupAndAdvance)
{
    WriteFonts();
    renderer.LoadFonts(settings, notifier);
    // Advances: "I" 12 units, a missing glyph the first record's (the space) 10 units; 16 label units each.
    EXPECT_EQ(Segments(Draw("I_")).back(), (Segment{{1069, 1000}, {1127, 1000}}));
    EXPECT_EQ(Segments(Draw("\x7F_")).back(), (Segment{{1058, 1000}, {1115, 1000}}));
    EXPECT_EQ(Segments(Draw(" _")).back(), (Segment{{1058, 1000}, {1115, 1000}})) << "space: found, no strokes";
    EXPECT_TRUE(Segments(Draw("\xB0")).empty()) << "a lone 0xB0 is a missing single-byte glyph";
}

TEST_F(LabelRendererTest, LoneLeadByteAtTheEndOfARunNeedsOnlyTheSingleByteFont)
{
    MakeUnreachable(settings.FontHzPath);
    WriteFonts(false, true);
    renderer.LoadFonts(settings, notifier);
    EXPECT_EQ(notifier.Texts(), std::vector<std::string>{"Failed to open fon_hz.bin"});
    EXPECT_EQ(Segments(Draw("_\xB0")).size(), 1u);
    EXPECT_EQ(Segments(Draw("\xB0\n_")).size(), 1u);
    EXPECT_THROW(Draw("\xB0_"), InvalidArgument) << "0xB0 0x5F is a double-byte code";
}

TEST_F(LabelRendererTest, DoubleByteGlyphsFillTheEmAndAdvanceByTheCell)
{
    WriteFonts();
    renderer.LoadFonts(settings, notifier);
    // Chinese units of 26 label units: the 16-unit em box is the same 416 as the single-byte em.
    EXPECT_EQ(Segments(Draw("\xB0\xA1\xBF\xE3")),
              (std::vector<Segment>{{{1000, 1000}, {1150, 1150}}, {{1150, 1075}, {1300, 1075}}}));
    EXPECT_EQ(Segments(Draw("\xB0\xA2\xB0\xA1")), (std::vector<Segment>{{{1150, 1000}, {1300, 1150}}}))
        << "a missing double-byte glyph still advances a cell";
    EXPECT_EQ(Segments(Draw("\xB0\xA1_")).back(), (Segment{{1150, 1000}, {1208, 1000}}));
}

TEST_F(LabelRendererTest, NinetyDegreesWithOriginThree)
{
    WriteFonts();
    renderer.LoadFonts(settings, notifier);
    LabelStyle style;
    style.direction = 90;
    style.origin = 3;
    // The text runs upward from the pen; the tops of the glyphs lie on the line X = 1000 through the pen.
    EXPECT_EQ(Segments(Draw("I_", style)),
              (std::vector<Segment>{
                  {{1150, 1000}, {1075, 1000}}, {{1075, 1000}, {1000, 1000}}, {{1150, 1069}, {1150, 1127}}}));
}

TEST_F(LabelRendererTest, StrokesContinueOnlyWhereTheLastOneEnded)
{
    WriteFonts();
    renderer.LoadFonts(settings, notifier);

    HpglInstructionList out;
    renderer.DrawLabel(1000, 1000, "I", {}, out);
    renderer.DrawLabel(1000, 1150, "I", {}, out);
    EXPECT_EQ(List(out), Listing({Start(1000, 1000), Points({1000, 1075, 1000, 1150, 1000, 1225, 1000, 1300})}));

    out.clear();
    renderer.DrawLabel(1000, 1000, "I", {}, out);
    out.Add(Op::OP_SELECT_PEN, {2});
    renderer.DrawLabel(1000, 1150, "I", {}, out);
    EXPECT_EQ(List(out), Listing({Start(1000, 1000),
                                  Points({1000, 1075, 1000, 1150}),
                                  {Op::OP_SELECT_PEN, {2}},
                                  Start(1000, 1150),
                                  Points({1000, 1225, 1000, 1300})}))
        << "what the reader appended in between is never extended";

    EXPECT_EQ(List(Draw("I", {}, -1000, -1000)),
              Listing({Start(-1000, -1000), Points({-1000, -925}), Start(-1000, -925), Points({-1000, -850})}))
        << "a stroke is continued only at positive coordinates";
}

TEST_F(LabelRendererTest, UnreadableFontsAreReportedAndKeepThePreviousTables)
{
    const std::string hzPath = settings.FontHzPath;
    const std::string enPath = settings.FontEnPath;
    MakeUnreachable(settings.FontHzPath);
    MakeUnreachable(settings.FontEnPath);
    CLabelRenderer fresh;
    fresh.LoadFonts(settings, notifier);
    EXPECT_EQ(notifier.Texts(), (std::vector<std::string>{"Failed to open fon_hz.bin", "Failed to open fon_en.bin"}));
    EXPECT_TRUE(fresh.hzGlyphs().empty());
    EXPECT_TRUE(fresh.enGlyphs().empty());
    HpglInstructionList out;
    EXPECT_THROW(fresh.DrawLabel(0, 0, "A", {}, out), InvalidArgument);
    EXPECT_NO_THROW(fresh.DrawLabel(0, 0, "\r\n", {}, out)) << "no glyph, no lookup";

    settings.FontHzPath = hzPath;
    settings.FontEnPath = enPath;
    WriteFonts();
    notifier.Clear();
    renderer.LoadFonts(settings, notifier);
    EXPECT_TRUE(notifier.Texts().empty());

    // The double-byte font is gone where nothing can replace it; the single-byte one has a header cut short.
    std::filesystem::remove(hzPath);
    MakeUnreachable(settings.FontHzPath);
    std::filesystem::remove(enPath);
    test::WriteFile(enPath, test::Bytes().U16(4).U16(22).Add({0, 0, 0}));
    renderer.LoadFonts(settings, notifier);
    EXPECT_EQ(notifier.Texts(), (std::vector<std::string>{"Failed to open fon_hz.bin", "Failed to open fon_en.bin"}));
    EXPECT_EQ(renderer.hzGlyphs().size(), 2u);
    EXPECT_EQ(renderer.enGlyphs().size(), 4u);
    EXPECT_EQ(Segments(Draw("\xB0\xA1_")).size(), 2u) << "the kept tables still draw from the files they came from";

    settings.FontHzPath = hzPath;
    WriteFonts(true, false);
    renderer.LoadFonts(settings, notifier);
    test::WriteFile(hzPath, test::Bytes().U16(16).U16(16).I32(0)); // cut short in place
    EXPECT_TRUE(Segments(Draw("\xB0\xA1")).empty()) << "shape bytes the file no longer holds: a missing glyph";
}

TEST_F(LabelRendererTest, EmptyTableAtLookupIsAnInvalidArgument)
{
    const std::string enPath = settings.FontEnPath;
    MakeUnreachable(settings.FontEnPath);
    WriteFonts(true, false);
    renderer.LoadFonts(settings, notifier);
    EXPECT_THROW(Draw("_"), InvalidArgument);
    EXPECT_EQ(Segments(Draw("\xB0\xA1")), (std::vector<Segment>{{{1000, 1000}, {1150, 1150}}}))
        << "the double-byte font alone keeps its em";

    settings.FontEnPath = enPath;
    MakeUnreachable(settings.FontHzPath);
    WriteFonts(false, true);
    CLabelRenderer englishOnly;
    englishOnly.LoadFonts(settings, notifier);
    HpglInstructionList out;
    EXPECT_THROW(englishOnly.DrawLabel(1000, 1000, "_\xBF\xE3", {}, out), InvalidArgument);
}

TEST_F(LabelRendererTest, HostileIndexRecordsCountAsMissing)
{
    WriteFonts();
    // "I" points past the end of the file, "_" is cut one byte short; a count far beyond the file.
    test::WriteFile(settings.FontEnPath, test::Bytes()
                                             .U16(4)
                                             .U16(22)
                                             .U16(7)
                                             .I32(-1)
                                             .U16(' ')
                                             .U16(2)
                                             .U16(10)
                                             .I32(40)
                                             .U16('I')
                                             .U16(5)
                                             .U16(12)
                                             .I32(0x7FFFFFF0)
                                             .U16('_')
                                             .U16(4)
                                             .U16(12)
                                             .I32(40)
                                             .Add({0x00, 0x00, 0x01}));
    renderer.LoadFonts(settings, notifier);
    EXPECT_TRUE(notifier.Texts().empty());
    ASSERT_EQ(renderer.enGlyphs().size(), 3u);
    EXPECT_EQ(renderer.enGlyphs()[1].length, 0);
    EXPECT_EQ(renderer.enGlyphs()[2].length, 0);
    EXPECT_TRUE(Segments(Draw("I_")).empty());
}

} // namespace
} // namespace qv
