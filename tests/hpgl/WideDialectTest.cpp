#include "HpglReaderFixture.h"

#include "model/CurveKind.h"

#include <set>

namespace qv {
namespace {

using test::Dump;
using Case = test::HpglCase;

// Each instruction of the wider dialect on a small drawing, its points worked out by hand. Coordinates are
// plotter units; arcs of radius 100 take 30 degree chords (within 0.1 mm).
class WideDialectTest : public test::HpglReaderFixture {
protected:
    WideDialectTest() { settings.HpglDialect = 1; }
};

TEST_F(WideDialectTest, PlottingModes)
{
    const Case cases[] = {
        {"PR moves by the pairs", "IN;SP1;PU100,100;PR;PD50,0,0,50;", "SP 1; S 100,100; P 150,100,150,150"},
        {"PU and PD follow the mode, PA goes back", "IN;PR;PU10,10;PD10,0;PA;PD0,0;", "S 10,10; P 20,10,0,0"},
        {"PA draws every pair with the pen down", "IN;PD;PA10,0,10,10;PU;PA0,0;", "S 0,0; P 10,0,10,10"},
        {"IN ends relative mode", "PR;IN;PU5,5;PD6,6;", "S 5,5; P 6,6"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Instructions(c.plt), c.expected) << c.name;
}

TEST_F(WideDialectTest, PolylineEncoded)
{
    // 100 is 200 unsigned: digits 8 ('G') and last 3 (0xC2); 50 is 36 ('c') and last 1 (0xC0); 0 is 0xBF.
    const Case cases[] = {
        {"a move then relative points, base 64",
         "IN;PE<=G\xC2G\xC2"
         "c\xC0\xBF\xBF"
         "c\xC0;",
         "S 100,100; P 150,100,150,150"},
        {"the lowest bit is the sign",
         "IN;PE<=G\xC2G\xC2"
         "d\xC0\xBF;",
         "S 100,100; P 50,100"},
        {"base 32: 200 is 'G' then last 6 'e', 100 is 'C' then last 3 'b'", "IN;PE7<=GeGeCb_;", "S 100,100; P 150,100"},
        {"fraction bits halve every value",
         "IN;PE>\xC1<=G\xC2G\xC2"
         "c\xC0\xBF;",
         "S 50,50; P 75,50"},
        {"a pen selection",
         "IN;PE:\xC3<=G\xC2G\xC2"
         "c\xC0\xBF;",
         "SP 2; S 100,100; P 150,100"},
        {"spaces and line ends between digits",
         "IN;PE< =G \xC2\r\nG\xC2"
         "c\xC0 \xBF;",
         "S 100,100; P 150,100"},
        {"an unfinished pair leaves the pen; letters are digits, not commands", "IN;PE<=GPG\xC2;PD0,0;",
         "S 0,0; P 0,0"},
        {"a line last leaves the pen down", "IN;PE<=\xBF\xBFG\xC2\xBF;PA100,100;", "S 0,0; P 100,0,100,100"},
        {"a move last leaves it up", "IN;PD;PE<=\xBF\xBFG\xC2\xBF<\xBFG\xC2;PA200,200;", "S 0,0; P 100,0"},
        {"negative fraction bits multiply", "IN;PE>\xC2<=\xBF\xBFG\xC2\xBF;", "S 0,0; P 200,0"},
        {"flags with their eighth bit set", "IN;PE\xBC=\xBF\xBF\xBA\xC3G\xC2\xBF;", "SP 2; S 0,0; P 100,0"},
        {"base 32 ignores every eighth bit", "IN;PE7<=__\xC7\xE5_\xBB", "S 0,0; P 100,0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Instructions(c.plt), c.expected) << c.name;
}

TEST_F(WideDialectTest, ArcsAndCircles)
{
    const Case cases[] = {
        {"CI around the pen, pen back at the centre", "IN;PU1000,1000;CI100;PD1000,1200;",
         "S 1100,1000; P 1087,1050,1050,1087,1000,1100,950,1087,913,1050,900,1000,913,950,950,913,1000,900,1050,913,"
         "1087,950,1100,1000; S 1000,1000; P 1000,1200"},
        {"AA counter-clockwise", "IN;PA100,0;PD;AA0,0,90;", "S 100,0; P 87,50,50,87,0,100"},
        {"AR with a relative centre, clockwise", "IN;PA100,0;PD;AR-100,0,-90;", "S 100,0; P 87,-50,50,-87,0,-100"},
        {"an arc with the pen up only moves", "IN;PA100,0;AA0,0,90;PD0,0;", "S 0,100; P 0,0"},
        {"the chord parameter is ignored", "IN;PA100,0;PD;AA0,0,90,45;", "S 100,0; P 87,50,50,87,0,100"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Instructions(c.plt), c.expected) << c.name;
}

TEST_F(WideDialectTest, NumbersAsTheLanguageReadsThem)
{
    const std::string huge(400, '9');
    const std::string beyondADouble = "IN;PR;PU" + huge + ",0;PU-" + huge + ",0;PD;PR400,0,0,400;";
    const Case cases[] = {
        {"a sign starts the next number", "IN;PD400-400,800+0;", "S 0,0; P 400,-400,800,0"},
        {"a sign before any digit does not", "IN;PD+-5,7;", "S 0,0; P 0,7"},
        {"a number past 2^30 ignores its command", "IN;PA1073741825,0;PD10,0;", "S 0,0; P 10,0"},
        {"even beyond a double", beyondADouble, "S 0,0; P 400,0,400,400"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Instructions(c.plt), c.expected) << c.name;
}

TEST_F(WideDialectTest, RectanglesAsOutlines)
{
    const char* outline = "S 10,20; P 110,20,110,70,10,70,10,20";
    for (const char* plt :
         {"IN;PA10,20;EA110,70;", "IN;PA10,20;ER100,50;", "IN;PA10,20;RA110,70;", "IN;PA10,20;RR100,50;"})
        EXPECT_EQ(Instructions(plt), outline) << plt;
    EXPECT_EQ(Instructions("IN;PA10,20;ER100,50;PD0,0;"), std::string(outline) + "; S 10,20; P 0,0")
        << "the pen stays at the corner it started from";
    EXPECT_EQ(Instructions("IN;RA0,0,100,50;"), "S 0,0; P 0,0,0,0,0,0,0,0; S 0,0; P 100,0,100,50,0,50,0,0")
        << "each pair a rectangle from the pen";
}

TEST_F(WideDialectTest, ScalingAndRotation)
{
    const Case cases[] = {
        {"anisotropic", "IN;IP0,0,4000,2000;SC0,100,0,100;PA50,50;PD100,100;", "S 2000,1000; P 4000,2000"},
        {"isotropic, centred", "IN;IP0,0,4000,2000;SC0,100,0,100,1;PA0,0;PD100,100;", "S 1000,0; P 3000,2000"},
        {"point factor after IP of P1 alone", "IN;IP1000,1000;SC0,2,0,3,2;PA10,10;PD20,10;",
         "S 1020,1030; P 1040,1030"},
        {"relative moves in user units", "IN;IP0,0,4000,2000;SC0,100,0,100;PA0,0;PR;PD10,10;", "S 0,0; P 400,200"},
        {"SC alone ends scaling", "IN;SC0,100,0,100;SC;PA10,10;PD20,20;", "S 10,10; P 20,20"},
        {"SC without IP uses the default P2", "IN;SC0,500,0,500;PA100,0;PD100,100;", "S 6720,0; P 6720,9504"},
        {"equal bounds are no scale", "IN;SC5,5,0,100;PA10,10;PD20,20;", "S 10,10; P 20,20"},
        {"RO 90", "IN;RO90;PA100,0;PD100,50;", "S 0,100; P -50,100"},
        {"RO 180", "IN;RO180;PA100,0;PD100,50;", "S -100,0; P -100,-50"},
        {"RO of another angle is ignored", "IN;RO45;PA100,0;PD100,50;", "S 100,0; P 100,50"},
        {"RO leaves the pen where it is", "IN;PU1000,0;PD1400,0;RO90;PR0,400;", "S 1000,0; P 1400,0,1000,0"},
        {"IP alone in a turned system", "IN;RO90;IP;SC0,100,0,100;PA0,0;PD100,0;", "S 0,0; P 0,47520"},
        {"equal IP coordinates move P2 one unit on", "IN;IP0,0,0,1000;SC0,1,0,100;PA0,50;PD1,50;", "S 0,500; P 1,500"},
        {"isotropic left and bottom end at 100 %", "IN;IP0,0,2000,1000;SC0,50,0,100,1,200,0;PA0,0;PD50,0;",
         "S 1500,0; P 2000,0"},
        {"SC of too few parameters or an unknown type leaves the scaling",
         "IN;IP0,0,1000,1000;SC0,100,0,100;SC5,6;SC0,1,0,1,3;SC5,5,0,100;PA0,0;PD10,0;", "S 0,0; P 100,0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Instructions(c.plt), c.expected) << c.name;
}

TEST_F(WideDialectTest, LabelsTurnWithTheCoordinateSystem)
{
    const auto extent = [this](const std::string& plt) {
        EXPECT_EQ(Load(plt), HpglLoadResult::Ok) << plt;
        pages.clear();
        reader.BuildPages(pages, settings);
        reader.AddToReport(pages);
        return std::pair{reader.report.widthMm, reader.report.heightMm};
    };
    const auto [width, height] = extent("IN;PA0,0;LBIIIIII\x03");
    ASSERT_GT(width, height);
    const auto [turnedWidth, turnedHeight] = extent("IN;RO90;PA0,0;LBIIIIII\x03");
    EXPECT_DOUBLE_EQ(turnedWidth, height);
    EXPECT_DOUBLE_EQ(turnedHeight, width);
}

TEST_F(WideDialectTest, BufferedLabelsPrintWithPB)
{
    const std::string label = Instructions("IN;PA0,0;LBI-\x03");
    EXPECT_EQ(Instructions("IN;BLI-\x03PA0,0;PB;"), label) << "BL's text waits for PB";
    EXPECT_EQ(Instructions("IN;BLPA10,10;PD20,20\x03LBI-\x03PA0,0;PD0,10;"), Instructions("IN;LBI-\x03PA0,0;PD0,10;"))
        << "BL's text holds no commands, and an LB after it is a label of its own, not joined";
    EXPECT_EQ(reader.report.met.count("BL"), 1u);
    ASSERT_EQ(Load("IN;PB;BL\x03PB;"), HpglLoadResult::Ok);
    EXPECT_EQ(reader.report.labels, 0u) << "PB with nothing buffered prints no label";
}

TEST_F(WideDialectTest, WrappersAndStringsAreSkipped)
{
    const Case cases[] = {
        {"PJL job around HP-GL/2",
         "\x1b%-12345X@PJL JOB NAME=\"PD1\"\r\n@PJL ENTER LANGUAGE=HPGL2\r\n\x1b"
         "E\x1b%0BIN;PA10,10;PD20,20;\x1b%0A"
         "\x1b"
         "E\x1b%-12345X",
         "S 10,10; P 20,20"},
        {"PCL with binary data", "\x1b&l1O\x1b*b3WPD1IN;PA10,10;PD20,20;", "S 10,10; P 20,20"},
        {"a device control with parameters", "\x1b.I81;;17:\x1b.N;19:IN;PA10,10;PD20,20;", "S 10,10; P 20,20"},
        {"an escape ends a command", "IN;PA10,10;PD20,20\x1b%0A", "S 10,10; P 20,20"},
        {"quoted parameters", "IN;BP1,\"PD LABEL\";CO\"SP5\";PA10,10;PD20,20;", "S 10,10; P 20,20"},
        {"SM's symbol, a quote or a letter", "IN;SM\";SMXPA10,10;SM;PD20,20;", "S 10,10; P 20,20"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Instructions(c.plt), c.expected) << c.name;
}

TEST_F(WideDialectTest, TheReportCountsByDialect)
{
    const std::string plt = "IN;SP2;PD100,100;CI5;FT1;FT2;";
    settings.HpglDialect = 0;
    ASSERT_EQ(Load(plt), HpglLoadResult::Ok);
    EXPECT_EQ(reader.report.dialect, 0);
    EXPECT_EQ(reader.report.met, (std::map<std::string, uint32_t>{{"IN", 1}, {"PD", 1}, {"SP", 1}}));
    EXPECT_EQ(reader.report.skipped, (std::map<std::string, uint32_t>{{"CI", 1}, {"FT", 2}}));
    EXPECT_EQ(reader.report.pens, (std::map<int32_t, int32_t>{{2, CurveKind::HalfCut}})) << "HCPenNumber 2";

    settings.HpglDialect = 1;
    ASSERT_EQ(Load(plt), HpglLoadResult::Ok);
    EXPECT_EQ(reader.report.met, (std::map<std::string, uint32_t>{{"CI", 1}, {"IN", 1}, {"PD", 1}, {"SP", 1}}));
    EXPECT_EQ(reader.report.skipped, (std::map<std::string, uint32_t>{{"FT", 2}}));

    pages.clear();
    reader.BuildPages(pages, settings);
    reader.AddToReport(pages);
    EXPECT_EQ(reader.report.curves, 2u);
    EXPECT_DOUBLE_EQ(reader.report.widthMm, 105.0 / 40);
    EXPECT_DOUBLE_EQ(reader.report.heightMm, 104.0 / 40) << "CI5 is a triangle, its top at 100 + 4.33";

    ASSERT_EQ(Load("IN;PA0,0;PD100,0;PU;PA0,500;PD0,500,0,500;PU;"), HpglLoadResult::Ok);
    pages.clear();
    reader.BuildPages(pages, settings);
    reader.AddToReport(pages);
    EXPECT_EQ(reader.report.curves, 1u);
    EXPECT_DOUBLE_EQ(reader.report.heightMm, 0) << "a dot is no curve of the pages, nor part of their size";

    ASSERT_EQ(Load("IN;PA0,0;LBI-?I\x81\x40\x03;"), HpglLoadResult::Ok);
    EXPECT_EQ(reader.report.labels, 1u);
    EXPECT_EQ(reader.report.missingGlyphs, (std::set<uint16_t>{'?', 0x8140})) << "the test fonts hold I and -";

    settings.HpglDialect = 7;
    ASSERT_EQ(Load("IN;PR;PD1,1;"), HpglLoadResult::Ok);
    EXPECT_EQ(reader.report.dialect, 0) << "an unknown dialect reads the design's";
}

} // namespace
} // namespace qv
