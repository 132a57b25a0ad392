#include "tasks/PltExport.h"
#include "tasks/CQuorvaneDoc.h"

#include "app/AtomicFile.h"
#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/Notifier.h"
#include "hpgl/CHpglFile.h"
#include "support/TempDir.h"
#include "support/WriteFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace qv {
namespace {

using test::TempDir;

struct CurveShape {
    int32_t kind;
    int32_t lineStyle;
    std::vector<CPoint> points;
};
using PageShape = std::vector<CurveShape>;

std::unique_ptr<COnePage> MakePage(const PageShape& shape)
{
    auto page = std::make_unique<COnePage>();
    for (const CurveShape& c : shape) {
        CCurve& curve = page->AddCurve();
        curve.kind = c.kind;
        curve.lineStyle = c.lineStyle;
        curve.points = c.points;
    }
    return page;
}

std::vector<std::unique_ptr<COnePage>> MakePages(const std::vector<PageShape>& shapes)
{
    std::vector<std::unique_ptr<COnePage>> pages;
    for (const PageShape& shape : shapes)
        pages.push_back(MakePage(shape));
    return pages;
}

constexpr int32_t P0 = CurveKind::PenZero;
constexpr int32_t PL = CurveKind::Plot;
constexpr int32_t HC = CurveKind::HalfCut;
constexpr int32_t FC = CurveKind::FullCut;

const std::vector<CPoint> kTriangle{{0, 0}, {400, 0}, {400, 400}};
const std::vector<CPoint> kDot{{5, 6}};

TEST(PltExport, TextOfTheTaskList)
{
    struct Row {
        const char* name;
        std::vector<PageShape> pages;
        PltExportOptions options;
        const char* expected;
    };
    const Row rows[] = {
        {"empty task list", {}, {}, ""},
        {"one plot curve", {{{PL, 0, kTriangle}}}, {}, "IN;SP1;PU0,0;PD0,0,400,0,400,400;PG;"},
        {"a page without curves", {{}}, {}, "PG;"},
        {"50 % in X and 200 % in Y", {{{PL, 0, {{101, 7}}}}}, {500, 2000, 2}, "IN;SP1;PU50,14;PD50,14;PG;"},
        {"a negative coordinate truncates toward zero",
         {{{PL, 0, {{-3, -1}}}}},
         {500, 500, 2},
         "IN;SP1;PU-1,0;PD-1,0;PG;"},
        {"0 % puts every point at the origin", {{{PL, 0, {{7, 9}, {-7, 1}}}}}, {0, 0, 2}, "IN;SP1;PU0,0;PD0,0,0,0;PG;"},
        {"full cut with half-cut pen 2", {{{FC, 0, kDot}}}, {1000, 1000, 2}, "IN;SP3;PU5,6;PD5,6;PG;"},
        {"full cut with half-cut pen 5", {{{FC, 0, kDot}}}, {1000, 1000, 5}, "IN;SP4;PU5,6;PD5,6;PG;"},
        {"pen zero is written as a full cut", {{{P0, 0, kDot}}}, {1000, 1000, 9}, "IN;SP8;PU5,6;PD5,6;PG;"},
        {"half-cut pen 3: a full cut after a half cut selects pen 4",
         {{{HC, 0, kDot}, {FC, 0, {{1, 2}}}}},
         {1000, 1000, 3},
         "IN;SP3;PU5,6;PD5,6;IN;SP4;PU1,2;PD1,2;PG;"},
        {"two plot curves select the pen once",
         {{{PL, 0, kDot}, {PL, 0, {{1, 2}, {3, 4}}}}},
         {},
         "IN;SP1;PU5,6;PD5,6;PU1,2;PD1,2,3,4;PG;"},
        {"a dashed first curve, and the next page starts solid again",
         {{{PL, 1, kDot}, {PL, 0, {{1, 2}}}}, {{PL, 1, kDot}}},
         {},
         "LT1;IN;SP1;PU5,6;PD5,6;LT0;PU1,2;PD1,2;PG;LT1;IN;SP1;PU5,6;PD5,6;PG;"},
        {"a curve without points writes only its line type and pen",
         {{{HC, 1, {}}, {FC, 1, {}}}},
         {},
         "LT1;IN;SP2;IN;SP3;PG;"},
        {"large scale beyond 32 bits",
         {{{PL, 0, {{2147483647, -2147483647 - 1}}}}},
         {2000000000, 1000, 2},
         "IN;SP1;PU4294967294000000,-2147483648;PD4294967294000000,-2147483648;PG;"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(PltExportText(MakePages(row.pages), row.options), row.expected) << row.name;
}

TEST(PltExport, WritesTheFileAndNeverReplacesWhatIsNotAFile)
{
    TempDir dir;
    CQuorvaneDoc doc;
    doc.pages = MakePages({{{PL, 0, kTriangle}}});
    const std::string path = dir.File("out.plt");
    test::WriteFile(path, std::string_view("an older, longer file that is replaced as a whole"));
    ASSERT_TRUE(doc.ExportPlt(path, {}));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, "IN;SP1;PU0,0;PD0,0,400,0,400,400;PG;");

    const std::string sub = dir.File("sub");
    std::filesystem::create_directory(sub);
    EXPECT_FALSE(doc.ExportPlt(sub, {}));
    EXPECT_TRUE(std::filesystem::is_directory(sub));
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(doc.ExportPlt(fifo, {}));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_FALSE(doc.ExportPlt(dir.File("missing/out.plt"), {}));

    CQuorvaneDoc empty;
    ASSERT_TRUE(empty.ExportPlt(path, {}));
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, "");
}

// Read back with the same half-cut pen, every curve keeps its kind (pen zero comes back as a full cut) and its
// points; the reader repeats the first point, where the pen went down.
TEST(PltExport, ReadBackKeepsEveryCurvesKind)
{
    TempDir dir; // the reader writes its stroke fonts here
    CSettings settings;
    CSetDisp disp;
    MachineSettings machine;
    settings.Load(dir.Path(), disp, machine);
    RecordingNotifier notifier;

    const std::vector<PageShape> shapes = {
        {{PL, 0, {{0, 0}, {400, 0}}},
         {HC, 1, {{10, 10}, {20, 30}}},
         {FC, 0, {{50, 50}, {60, 70}, {80, 10}}},
         {P0, 1, {{100, 0}, {100, 400}}},
         {PL, 1, {{-40, -40}, {-80, -40}}}},
        {{FC, 0, {{7, 7}, {9, 9}}}, {HC, 0, {{-7, 7}, {-9, 9}}}, {HC, 0, {{300, 1}, {301, 2}}}},
    };
    for (const int32_t pen : {2, 3, 4, 9}) {
        SCOPED_TRACE("half-cut pen " + std::to_string(pen));
        CQuorvaneDoc doc;
        doc.pages = MakePages(shapes);
        const std::string path = dir.File("round.plt");
        ASSERT_TRUE(doc.ExportPlt(path, {1000, 1000, pen}));

        settings.HCPenNumber = pen;
        CHpglFile reader;
        reader.path = path;
        ASSERT_EQ(reader.Load(settings, notifier), HpglLoadResult::Ok);
        std::vector<std::unique_ptr<COnePage>> read;
        reader.BuildPages(read, settings);
        ASSERT_EQ(read.size(), shapes.size());
        for (std::size_t p = 0; p < shapes.size(); ++p) {
            ASSERT_EQ(read[p]->curves.size(), shapes[p].size()) << "page " << p;
            for (std::size_t c = 0; c < shapes[p].size(); ++c) {
                const CurveShape& written = shapes[p][c];
                const CCurve& back = *read[p]->curves[c];
                EXPECT_EQ(back.kind, written.kind == P0 ? FC : written.kind) << "page " << p << " curve " << c;
                std::vector<CPoint> expected = written.points;
                expected.insert(expected.begin(), written.points.front());
                EXPECT_EQ(back.points, expected) << "page " << p << " curve " << c;
            }
        }
    }
}

} // namespace
} // namespace qv
