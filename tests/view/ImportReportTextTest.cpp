// The import report as the window's status bar and report dialog show it, and the command line prints it.
#include "view/ImportReportText.h"
#include "model/CurveKind.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

ImportReport Labelled()
{
    ImportReport r;
    r.dialect = 1;
    r.met = {{"IN", 1}, {"LB", 2}, {"PD", 3}};
    r.skipped = {{"ZZ", 2}};
    r.pens = {{1, CurveKind::Plot}, {3, CurveKind::FullCut}};
    r.labels = 2;
    r.missingGlyphs = {0x41, 0xB0A1};
    r.curves = 1;
    r.widthMm = 12.34;
    r.heightMm = 5;
    r.lengthMm = 20;
    r.pages = 1;
    return r;
}

TEST(ImportReportText, TheLineInBothLanguages)
{
    EXPECT_EQ(ImportReportLine("a.plt", Labelled(), 1),
              "a.plt: 1 page, 1 curve, 12.3 x 5.0 mm, 2 labels; met IN 1, LB 2, PD 3; skipped ZZ 2; missing glyphs 2");
    EXPECT_EQ(ImportReportLine("a.plt", Labelled(), 0),
              "a.plt：1 页，1 条曲线，12.3 x 5.0 mm，2 个文字；读入 IN 1, LB 2, PD 3；跳过 ZZ 2；缺字 2 个");
    ImportReport empty;
    empty.pages = 2;
    EXPECT_EQ(ImportReportLine("b.plt", empty, 1), "b.plt: 2 pages, 0 curves, 0.0 x 0.0 mm, 0 labels; met none; "
                                                   "skipped none")
        << "no glyph count when none is missing";
}

TEST(ImportReportText, TheBlockInBothLanguages)
{
    EXPECT_EQ(ImportReportBlock("a.plt", Labelled(), 1),
              "a.plt: 1 page, 1 curve, 12.3 x 5.0 mm, 20.0 mm drawn, dialect 1\n"
              "  met: IN 1, LB 2, PD 3\n"
              "  skipped: ZZ 2\n"
              "  pens: 1 plot, 3 full cut\n"
              "  labels: 2, missing glyphs: 41 B0A1\n");
    ImportReport empty;
    empty.pens = {{0, CurveKind::PenZero}, {2, CurveKind::HalfCut}};
    EXPECT_EQ(ImportReportBlock("b.plt", empty, 0), "b.plt：0 页，0 条曲线，0.0 x 0.0 mm，线长 0.0 mm，指令集 0\n"
                                                    "  读入的指令：无\n"
                                                    "  跳过的指令：无\n"
                                                    "  笔：0号→0号笔, 2号→半刀\n"
                                                    "  文字：0 个，缺字：无\n");
}

} // namespace
} // namespace qv::test
