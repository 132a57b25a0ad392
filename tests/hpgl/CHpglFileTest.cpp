#include "HpglReaderFixture.h"

#include "gen/MarkerGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sys/stat.h>

namespace qv {
namespace {

using test::Dump;

class CHpglFileTest : public test::HpglReaderFixture {};

using Case = test::HpglCase;

TEST_F(CHpglFileTest, InstructionsOfCommands)
{
    const Case cases[] = {
        {"pen example", "IN;SP1;PU0,0;PD400,0,400,400;PU;SP2;PU0,0;PD0,400;SP0;",
         "SP 1; S 0,0; P 400,0,400,400; SP 2; S 0,0; P 0,400; SP 0"},
        {"PD with an odd value draws to the last pair", "PU0,0;PD1,2,3;PD;", "S 0,0; P 1,2"},
        {"PD with one value puts the pen down, so PA draws", "PU7,7;PD5;PA10,10;", "S 7,7; P 10,10"},
        {"PA with the pen up moves to the last two values", "PU0,0;PA1,2,3;PD4,4;", "S 2,3; P 4,4"},
        {"PA with fewer than two values does nothing", "PU0,0;PD;PA9;PA1,1;", "S 0,0; P 1,1"},
        {"PU moves to the last two values", "PU1,2,3;PD0,0;", "S 2,3; P 0,0"},
        {"lower case", "pu10,10;pd20,20;", "S 10,10; P 20,20"},
        {"P, space, D is no command", "PU1,1;P D5,5;PD2,2;", "S 1,1; P 2,2"},
        {"a letter ends the parameters and starts the next command", "PU3,3PD4,4SP2LT1;", "S 3,3; P 4,4; SP 2; T 1"},
        {"separators between tokens", "PU 1 , 2\r\n3\t4;PD5 6;", "S 3,4; P 5,6"},
        {"IN adds a line type after the first instruction and homes the pen", "IN;PU5,5;IN;SP1;PU5,5;IN;PD1,1;",
         "SP 1; T; S 0,0; P 1,1"},
        {"DF adds a line type but keeps the pen", "PU5,5;PD6,6;DF;PD7,7;", "S 5,5; P 6,6; T; S 6,6; P 7,7"},
        {"PG and FR break pages", "PG;FR;PG;IN;PG", "G; G; G; T; G"},
        {"LT value is the last parameter", "LT;LT0;LT2;LT2,0;LT0,-1;", "T 0; T 0; T 1; T 0; T 1"},
        {"SP without a number is pen 0", "SP;SP4.5;SP-1;", "SP 0; SP 5; SP -1"},
        {"unknown commands are skipped with their parameters", "ZZ1,2;PA;AA3,4;PU1,1;PD2,2;", "S 1,1; P 2,2"},
        {"unterminated number at the end is dropped", "PU0,0;SP1;PD10,20", "SP 1"},
        {"command at the end runs with the parameters it has", "PU0,0;PD10,20,30", "S 0,0; P 10,20"},
        {"a lone letter at the end is nothing", "PU0,0;PD1,1;S", "S 0,0; P 1,1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Instructions(c.plt), c.expected) << c.name;
}

TEST_F(CHpglFileTest, NumbersAndRounding)
{
    const Case cases[] = {
        {"halves go up", "PU2.5,-2.5;PD0.49,-0.5;", "S 3,-2; P 0,0"},
        {"longest decimal prefix", "PU10-20,1.5.5;PD+5,-.5;", "S 10,2; P 5,0"},
        {"tokens without a decimal prefix are 0", "PU-,.;PD--5,..5,+-3,-+;", "S 0,0; P 0,0,0,0"},
        {"a point without a fraction", "PU5.,.5;PD0,0;", "S 5,1; P 0,0"},
        {"beyond int32 saturates", "PU3000000000,-3000000000.7;PD0,0;", "S 2147483647,-2147483648; P 0,0"},
        {"more than fifteen digits, point early and late", "PU0000000000000012.5,-1234.56789012345678;PD0,0;",
         "S 13,-1235; P 0,0"},
        {"a long fraction reads as the nearest double", "PU0.4999999999999999999999999999,0.49999999;PD0,0;",
         "S 1,0; P 0,0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Instructions(c.plt), c.expected) << c.name;

    const std::string fiveE75 = "5" + std::string(75, '0');
    EXPECT_EQ(Instructions("PU" + fiveE75 + ",-" + fiveE75 + ";PD0,0;"), "S 2147483647,-2147483648; P 0,0")
        << "5e75 itself saturates";
    const std::string beyond = "5000001" + std::string(69, '0');
    EXPECT_EQ(Instructions("PU" + beyond + ",-" + beyond + ";PD0,0;"), "S 1,1; P 0,0") << "beyond 5e75 reads as 1";
    EXPECT_EQ(Instructions("PU-" + std::string(400, '9') + ".5,0." + std::string(400, '0') + "7;PD0,0;"),
              "S 1,0; P 0,0")
        << "beyond the range of a double, and below it";
}

// The C library's strtod reads exactly the longest decimal prefix of a token made of "+-.0123456789", so it
// serves as the reference for the reader's own number path on random tokens.
TEST_F(CHpglFileTest, NumbersMatchTheCLibraryOnRandomTokens)
{
    std::mt19937 rng(42);
    const std::string_view alphabet = "0123456789012345678901234567890123456789+-..";
    std::string plt = "PU0,0;PD";
    std::string expected = "S 0,0; P ";
    for (int t = 0; t < 4000; ++t) {
        std::string token;
        const std::size_t length = 1 + rng() % (t % 10 == 0 ? 40 : 12);
        for (std::size_t k = 0; k < length; ++k)
            token += alphabet[rng() % alphabet.size()];
        const double v = std::strtod(token.c_str(), nullptr);
        const double rounded = std::fabs(v) > 5e75 ? 1 : std::floor(v + 0.5);
        const auto r = static_cast<int32_t>(std::clamp(rounded, -2147483648.0, 2147483647.0));
        plt += (t == 0 ? "" : ",") + token;
        expected += (t == 0 ? "" : ",") + std::to_string(r);
    }
    EXPECT_EQ(Instructions(plt + ";"), expected);
}

TEST_F(CHpglFileTest, Escape)
{
    const Case cases[] = {
        {"between commands ESC skips itself and four bytes",
         "PU1,1;\x1B"
         "ABCDPU2,2;PD3,3;",
         "S 2,2; P 3,3"},
        {"ESC ends the parameters and runs the command",
         "PU7,7\x1B"
         "9;9;PD8,8;",
         "S 7,7; P 8,8"},
        {"ESC after one letter only drops the letter", "P\x1BPU1,1;PD2,2;", "S 1,1; P 2,2"},
        {"ESC in a label is text",
         "PU0,0;LB\x1B"
         "ABC\x03PD4,4;",
         "S 0,0; P 4,4"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Instructions(c.plt), c.expected) << c.name;
    EXPECT_EQ(reader.labelText, "\x1B"
                                "ABC");
}

TEST_F(CHpglFileTest, LabelTextAndTerminators)
{
    struct LabelCase {
        const char* name;
        std::string_view plt;
        const char* text; // the last label's text
        uint8_t terminator;
        uint8_t mode;
    };
    const LabelCase cases[] = {
        {"default terminator ETX", "IN;LBAB\x03PU;", "AB", 3, 1},
        {"consecutive labels join", "IN;LBAB\x03LBCD\x03PU;", "ABCD", 3, 1},
        {"L then another letter ends the label", "IN;LBAB\x03LT;PU;", "AB", 3, 1},
        {"label runs to the end of the file", "IN;PU;LBA;B,C", "A;B,C", 3, 1},
        {"DT sets the terminator", "DT*;LBAB*PU;", "AB", '*', 1},
        {"DT mode 0 keeps the terminator in the text", "DT*,0;LBAB*PU;", "AB*", '*', 0},
        {"joined labels in mode 0 keep only the last terminator", "DT*,0;LBAB*LBCD*PU;", "ABCD*", '*', 0},
        {"DT mode 1", "DT@,1LBx@PU;", "x", '@', 1},
        {"an empty label", "DT@,1LB@@PU;", "", '@', 1},
        {"DT without mode: the next byte starts what follows", "DT*,0;DT#LBx#;", "x", '#', 1},
        {"DT comma and another byte: that byte starts what follows", "DT*,LBy*;PU;", "y", '*', 1},
        {"DT; restores ETX", "DT*,0;DT;LBz\x03;", "z", 3, 1},
        {"DT with ENQ changes nothing", "DT*,0;DT\x05LBq*;", "q*", '*', 0},
        {"DT with NUL changes nothing", std::string_view("DT*,0;DT\0LBq*;", 14), "q*", '*', 0},
        {"IN restores the terminator", "DT*,0;IN;LBw\x03;", "w", 3, 1},
    };
    for (const LabelCase& c : cases) {
        ASSERT_EQ(Load(c.plt), HpglLoadResult::Ok) << c.name;
        EXPECT_EQ(reader.labelText, c.text) << c.name;
        EXPECT_EQ(reader.labelTerminator, c.terminator) << c.name;
        EXPECT_EQ(reader.terminatorMode, c.mode) << c.name;
    }
}

TEST_F(CHpglFileTest, LabelsAreStrokesInThePensFlow)
{
    // The test font's "I" is a vertical line over the em; at 0.375 cm the em spans 150 units under the
    // reference point, which LO 1 puts one character height above the pen.
    EXPECT_EQ(Instructions("SP1;PU1000,1000;LBI\x03PD1000,1010;"),
              "SP 1; S 1000,1000; P 1000,1075,1000,1150; S 1000,1000; P 1000,1010");
    EXPECT_EQ(reader.penX, 1000) << "a label does not move the pen";
}

TEST_F(CHpglFileTest, LabelStyleCommands)
{
    struct StyleCase {
        const char* name;
        std::string_view plt;
        double direction;
        int32_t origin;
        double width;
        double height;
    };
    const StyleCase cases[] = {
        {"defaults", "IN;PU10,10;", 0, 1, 0.285, 0.375},
        {"DI rise and run", "DI0,-1;LO3;", -90, 3, 0.285, 0.375},
        {"DI 0,0 keeps the direction", "DI1,1;DI0,0;", 45, 1, 0.285, 0.375},
        {"DI with one value is 0", "DI0,1;DI5;", 0, 1, 0.285, 0.375},
        {"DR axis directions", "DR-1,0;LO19;", 180, 19, 0.285, 0.375},
        {"DR off the axes keeps the direction", "DR0,1;DR1,1;", 90, 1, 0.285, 0.375},
        {"DR without values is 0", "DR0,1;DR;PU;", 0, 1, 0.285, 0.375},
        {"DR with both zero keeps the direction", "DR0,-1;DR0,0;", -90, 1, 0.285, 0.375},
        {"LO 10 and outside 1..19 are 1", "LO12;LO10;", 0, 1, 0.285, 0.375},
        {"LO 20 is 1", "LO11;LO20;", 0, 1, 0.285, 0.375},
        {"LO without a value is 1", "LO11;LO;PU;", 0, 1, 0.285, 0.375},
        {"SI width then height", "SI0.2,0.5;PU;", 0, 1, 0.2, 0.5},
        {"SI with one value restores the defaults", "SI0.2,0.5;SI1;", 0, 1, 0.285, 0.375},
        {"IN restores the style", "DI0,1;LO5;SI1,2;IN;", 0, 1, 0.285, 0.375},
    };
    for (const StyleCase& c : cases) {
        ASSERT_EQ(Load(c.plt), HpglLoadResult::Ok) << c.name;
        EXPECT_NEAR(reader.label.direction, c.direction, 1e-9) << c.name;
        EXPECT_EQ(reader.label.origin, c.origin) << c.name;
        EXPECT_DOUBLE_EQ(reader.label.charWidth, c.width) << c.name;
        EXPECT_DOUBLE_EQ(reader.label.charHeight, c.height) << c.name;
    }
}

TEST_F(CHpglFileTest, ResultCodes)
{
    EXPECT_EQ(Load("PU0,0;PD1;"), HpglLoadResult::Ok) << "exactly 10 bytes";
    EXPECT_EQ(Dump(reader.instructions), "");
    EXPECT_EQ(Load("PU0,0;PD;"), HpglLoadResult::BadSize) << "9 bytes";
    EXPECT_EQ(Load(""), HpglLoadResult::BadSize);
    EXPECT_EQ(Load(std::string(CHpglFile::kMaxFileSize, ';')), HpglLoadResult::Ok);
    EXPECT_EQ(Load(std::string(CHpglFile::kMaxFileSize + 1, ';')), HpglLoadResult::BadSize);

    EXPECT_EQ(Load("PU0,0;PD1,1;DF1;PD2,2;"), HpglLoadResult::SyntaxError);
    EXPECT_TRUE(reader.instructions.empty()) << "nothing of the file is kept";
    EXPECT_EQ(Load("PU0,0;PD1,1;DF;DF PD2,2;"), HpglLoadResult::Ok) << "DF ends at a letter";
    EXPECT_EQ(Load("PU0,0;PD1,1;DF ,\r\n-"), HpglLoadResult::SyntaxError);

    CHpglFile missing;
    missing.path = dir.File("missing.plt");
    EXPECT_EQ(missing.Load(settings, notifier), HpglLoadResult::CannotOpen);
    CHpglFile directory;
    directory.path = dir.Path();
    EXPECT_EQ(directory.Load(settings, notifier), HpglLoadResult::CannotOpen);
}

TEST_F(CHpglFileTest, LabelsPastTheirPointLimitRefuseTheWholeDrawing)
{
    // Each "I" of the test font is a stroke of three points where it lies above and right of the origin: 1500
    // points a line.
    const auto lines = [](std::size_t count) {
        std::string plt = "IN;SP1;PU0,0;PD10,10;";
        for (std::size_t line = 0; line < count; ++line)
            plt += "PU1000," + std::to_string(line * 1000 + 1000) + ";LB" + std::string(500, 'I') + "\x03";
        return plt;
    };
    constexpr std::size_t kFull = CLabelRenderer::kMaxLabelPoints / 1500;
    EXPECT_EQ(Load(lines(kFull + 1)), HpglLoadResult::TooLarge);
    EXPECT_TRUE(reader.instructions.empty()) << "nothing of the file is kept";
    EXPECT_EQ(Load(lines(kFull)), HpglLoadResult::Ok);
}

TEST_F(CHpglFileTest, FifosAreRefusedWithoutWaitingForAWriter)
{
    CHpglFile pipe;
    pipe.path = dir.File("pipe.plt");
    ASSERT_EQ(::mkfifo(pipe.path.c_str(), 0600), 0);
    EXPECT_EQ(pipe.Load(settings, notifier), HpglLoadResult::CannotOpen);

    // A font file that is a FIFO is a font that cannot be read.
    std::filesystem::remove(settings.FontEnPath);
    ASSERT_EQ(::mkfifo(settings.FontEnPath.c_str(), 0600), 0);
    EXPECT_EQ(Load("PU0,0;PD1,1;"), HpglLoadResult::Ok);
    EXPECT_EQ(notifier.Texts(), std::vector<std::string>{"Failed to open fon_en.bin"});
}

TEST_F(CHpglFileTest, NameAndTimeOfTheFile)
{
    const std::string path = dir.File("前片 marker.plt");
    test::WriteFile(path, test::Bytes().Text("PU0,0;PD1,1;"));
    const auto when =
        std::filesystem::file_time_type::clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(1600000000)));
    std::filesystem::last_write_time(path, when);
    CHpglFile file;
    file.path = path;
    ASSERT_EQ(file.Load(settings, notifier), HpglLoadResult::Ok);
    EXPECT_EQ(file.fileName, "前片 marker.plt");
    EXPECT_EQ(file.fileTime, 1600000000);
}

TEST_F(CHpglFileTest, LabelWithoutFontsEndsTheImport)
{
    // Folders where the font files should be: nothing can be read there.
    settings.FontHzPath = dir.File("hz-folder");
    settings.FontEnPath = dir.File("en-folder");
    std::filesystem::create_directory(settings.FontHzPath);
    std::filesystem::create_directory(settings.FontEnPath);
    EXPECT_EQ(Load("PU0,0;PD1,1;"), HpglLoadResult::Ok) << "a drawing without labels needs no font";
    EXPECT_EQ(notifier.Texts(), (std::vector<std::string>{"Failed to open fon_hz.bin", "Failed to open fon_en.bin"}));
    EXPECT_EQ(Load("PU0,0;PD1,1;LBA\x03PD2,2;"), HpglLoadResult::NoGlyphTable);
    EXPECT_TRUE(reader.instructions.empty());
}

// Reading a drawing never writes into the folder it takes its settings from: without font files there, labels
// are drawn with the fonts the program carries.
TEST_F(CHpglFileTest, LabelsWithoutFontFilesUseTheBuiltInOnes)
{
    settings.FontHzPath = dir.File("none/fon_hz.bin");
    settings.FontEnPath = dir.File("none/fon_en.bin");
    EXPECT_EQ(Load("PU0,0;PD1,1;LBA\x03"), HpglLoadResult::Ok);
    EXPECT_TRUE(notifier.Texts().empty());
    EXPECT_GT(reader.instructions.size(), 2u) << "the label's strokes";
    EXPECT_FALSE(std::filesystem::exists(dir.File("none")));
}

// Reading in pieces of any size gives what reading the whole file gives: numbers, ESC skips, label
// terminators, "LB" joins and DT all straddle piece boundaries somewhere.
TEST_F(CHpglFileTest, PieceSizeDoesNotMatter)
{
    gen::MarkerOptions options;
    options.pieces = 12;
    options.pointsPerPiece = 40;
    options.pageBreaks = 2;
    options.pointsPerCommand = 5;
    const std::string inputs[] = {
        gen::GenerateMarkerPlt(options),
        "IN;SP1;PU-123.456,+789.5;PD10-20,3.5.5,1e5;\x1B.(;;LT1;PD1,2;DT*,0;LBAB*LBC\r\nD*PA5,5;"
        "SI.5,.7;DI0,1;LO5;PU100,200;PA0000000000000012.5,-1234.56789012345678;LBI-I\x03LB_\x03LX;P\x1BPU4,4;DT#LB##DF;"
        "PG;SP3;PD1,1,2,2,3,3;PD40000,90",
    };
    for (const std::string& plt : inputs) {
        ASSERT_EQ(Load(plt, plt.size()), HpglLoadResult::Ok);
        const std::string whole = Dump(reader.instructions);
        const std::string label = reader.labelText;
        ASSERT_FALSE(whole.empty());
        for (const std::size_t piece : {1, 2, 3, 4, 5, 7, 13, 1000}) {
            ASSERT_EQ(Load(plt, piece), HpglLoadResult::Ok) << piece;
            EXPECT_EQ(Dump(reader.instructions), whole) << "piece size " << piece;
            EXPECT_EQ(reader.labelText, label) << "piece size " << piece;
        }
    }
}

} // namespace
} // namespace qv
