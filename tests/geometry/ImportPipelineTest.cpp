// From a small HP-GL text through the intake the program runs after reading a file (read, build pages, clean
// up, page) and on to the geometry commands, to the curves that result.
#include "geometry/CutOptimisation.h"
#include "geometry/ImportCleanUp.h"
#include "geometry/KnifeCompensation.h"
#include "geometry/PageStatistics.h"
#include "geometry/ViewCommands.h"
#include "tasks/CQuorvaneDoc.h"

#include "hpgl/HpglReaderFixture.h"

#include "GeneratedMarker.h"
#include "PageSamples.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace qv {
namespace {

using Lines = std::vector<std::vector<CPoint>>;

class ImportPipeline : public test::HpglReaderFixture {
protected:
    // Reads `plt` and runs the intake over the task list with the settings as they are now.
    void Intake(std::string_view plt)
    {
        ASSERT_EQ(Load(plt), HpglLoadResult::Ok) << plt;
        reader.BuildPages(doc.pages, settings);
        const ImportOptions options = ImportOptionsOf(settings);
        doc.CleanUpImportedPages(options);
        doc.PaginatePages(options);
    }

    Lines PointsOfPage(std::size_t i) const
    {
        Lines lines;
        for (const auto& c : doc.pages.at(i)->curves)
            lines.emplace_back(c->points.begin(), c->points.end());
        return lines;
    }

    std::vector<int32_t> KindsOfPage(std::size_t i) const
    {
        std::vector<int32_t> kinds;
        for (const auto& c : doc.pages.at(i)->curves)
            kinds.push_back(c->kind);
        return kinds;
    }

    CQuorvaneDoc doc;
};

// Clean-up and statistics: repeated and collinear points go, negative coordinates are moved away although the
// moves are off, and the job statistics read the imported page.
TEST_F(ImportPipeline, CleanUpAndStatistics)
{
    settings.AutoMoveToLeft = 0;
    settings.AutoMoveToBottom = 0;
    Intake("IN;SP1;PU-400,200;PD-400,200,-300,200,-200,200,-200,900;SP3;PU100,300;PD100,300;PU0,0;PD800,600;");
    ASSERT_EQ(doc.pages.size(), 1u);
    EXPECT_EQ(PointsOfPage(0), (Lines{{{0, 200}, {200, 200}, {200, 900}}, {{400, 0}, {1200, 600}}}));
    COnePage& page = *doc.pages[0];
    ComputePageBounds(page);
    ComputePlotExtent(page);
    ComputeFullCutBounds(page);
    EXPECT_EQ(page.plotMaxX, 200);
    EXPECT_EQ(page.plotMaxY, 900);
    EXPECT_EQ(page.hasFullCut, 1);
    EXPECT_EQ(page.fullCutMaxX, 1200);
}

// Paging: a line of 50 000 units at 500 mm becomes three pages; a second drawing is cut in its own pages.
TEST_F(ImportPipeline, PagingOfALongDrawing)
{
    settings.PLTFilePageLen = 500;
    Intake("IN;SP1;PU0,100;PD50000,100;");
    ASSERT_EQ(doc.pages.size(), 3u);
    EXPECT_EQ(PointsOfPage(0), (Lines{{{0, 0}, {20000, 0}}}));
    EXPECT_EQ(PointsOfPage(1), (Lines{{{0, 0}, {20000, 0}}}));
    EXPECT_EQ(PointsOfPage(2), (Lines{{{0, 0}, {10000, 0}}}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(doc.pages[i]->pageNumber, i + 1);

    Intake("IN;SP3;PU0,0;PD30000,0,30000,800;");
    ASSERT_EQ(doc.pages.size(), 5u) << "the earlier pages are tidied again, not cut again";
    EXPECT_EQ(PointsOfPage(3), (Lines{{{0, 0}, {20000, 0}}}));
    EXPECT_EQ(PointsOfPage(4), (Lines{{{0, 0}, {10000, 0}}, {{10000, 0}, {10000, 800}}}))
        << "the remainder stays in two-point segments";
}

// Outline recognition on import: the sides of a piece drawn as loose strokes on any pen become one full-cut
// contour; a mark inside it and a small closed square stay plot.
TEST_F(ImportPipeline, OutlinesAreRecognisedWhenAsked)
{
    settings.FindOutline = 1;
    Intake("IN;SP2;PU0,0;PD2000,0;PU2000,2000;PD2000,0;SP1;PU0,2000;PD2000,2000;SP3;PU0,0;PD0,2000;"
           "SP1;PU500,500;PD600,600;PU3000,0;PD3300,0,3300,300,3000,300,3000,0;");
    ASSERT_EQ(doc.pages.size(), 1u);
    EXPECT_EQ(KindsOfPage(0), (std::vector<int32_t>{CurveKind::FullCut, CurveKind::Plot, CurveKind::Plot}));
    EXPECT_EQ(doc.pages[0]->curves[0]->points.size(), 5u);
}

// Curve edits on an imported page: two cut strokes 10 units apart merged by the view command, then turned into
// plot work.
TEST_F(ImportPipeline, ViewCommandsOnAnImportedPage)
{
    Intake("IN;SP3;PU0,0;PD1000,0;PU1010,0;PD2000,0;SP1;PU0,500;PD2000,500;");
    COnePage& page = *doc.pages.at(0);
    for (auto& c : page.curves)
        c->selected = c->kind == CurveKind::FullCut ? 1 : 0;
    ASSERT_TRUE(ApplyViewCommand(page, ViewCommand::Merge, 28));
    EXPECT_EQ(PointsOfPage(0), (Lines{{{0, 500}, {2000, 500}}, {{0, 0}, {1000, 0}, {1010, 0}, {2000, 0}}}));
    ASSERT_TRUE(ApplyViewCommand(page, ViewCommand::ToPlot, 28));
    EXPECT_EQ(KindsOfPage(0), (std::vector<int32_t>{CurveKind::Plot, CurveKind::Plot}));
}

// Smoothing by the view command: the cut curve's points 3.6 units apart become one, the plot curve's stay.
TEST_F(ImportPipeline, SmoothingMergesCloseCutPointsOnly)
{
    Intake("IN;SP3;PU0,0;PD1000,0,1003,2,2000,0,2000,1000;SP1;PU0,2000;PD1000,2000,1003,2002,2000,2000;");
    ASSERT_TRUE(ApplyViewCommand(*doc.pages.at(0), ViewCommand::Smooth, settings.FitDistHpgl));
    EXPECT_EQ(PointsOfPage(0), (Lines{{{0, 0}, {1001, 1}, {2000, 0}, {2000, 1000}},
                                      {{0, 2000}, {1000, 2000}, {1003, 2002}, {2000, 2000}}}));
}

std::string PenDown(const std::vector<CPoint>& points)
{
    std::string text = "PU" + std::to_string(points[0].x) + "," + std::to_string(points[0].y) + ";PD";
    for (std::size_t i = 1; i < points.size(); ++i)
        text += (i > 1 ? "," : "") + std::to_string(points[i].x) + "," + std::to_string(points[i].y);
    return text + ";";
}

// The spline fit by the view command: a round piece of 60 vertices is resampled every 28 units on its circle;
// a rectangle whose sides are too long to fit is split into its sides and joined again unchanged; the plot
// lines move in front of the cuts untouched.
TEST_F(ImportPipeline, SplineFitOfARoundPieceAndARectangle)
{
    std::vector<CPoint> round;
    for (int k = 0; k <= 60; ++k) {
        const double a = (k % 60) * 6.283185307179586 / 60;
        round.push_back({static_cast<int32_t>(std::lround(2000 + 2000 * std::cos(a))),
                         static_cast<int32_t>(std::lround(2000 + 2000 * std::sin(a)))});
    }
    const std::vector<CPoint> rectangle{{5000, 0}, {8000, 0}, {8000, 1000}, {5000, 1000}, {5000, 0}};
    const std::vector<CPoint> line{{0, 5000}, {8000, 5000}};
    Intake("IN;SP1;" + PenDown(line) + "SP3;" + PenDown(round) + "SP2;" + PenDown(rectangle) + "SP1;" +
           PenDown({{0, 6000}, {8000, 6000}}));
    COnePage& page = *doc.pages.at(0);
    ASSERT_TRUE(ApplyViewCommand(page, ViewCommand::SplineFit, settings.FitDistHpgl));

    EXPECT_EQ(page.optimized, 1);
    ASSERT_EQ(page.CurveCount(), 4u);
    EXPECT_EQ(page.curves[0]->points, line);
    EXPECT_EQ(page.curves[1]->points, (std::vector<CPoint>{{0, 6000}, {8000, 6000}}));
    const CCurve& fitted = *page.curves[2];
    EXPECT_EQ(fitted.kind, CurveKind::FullCut);
    EXPECT_EQ(fitted.points.front(), round.front());
    EXPECT_EQ(fitted.points.back(), round.back());
    EXPECT_GT(fitted.points.size(), 350u) << "a point every 28 units along the larger axis of each chord";
    for (const CPoint& p : fitted.points)
        EXPECT_NEAR(std::hypot(p.x - 2000.0, p.y - 2000.0), 2000, 4) << p.x << "," << p.y;
    EXPECT_EQ(page.curves[3]->kind, CurveKind::HalfCut);
    EXPECT_EQ(page.curves[3]->points, rectangle) << "split into its sides, joined again, junctions undoubled";

    // A second time only the collinear points go: the page is not rebuilt again.
    COnePage expected;
    expected.CopyFrom(page);
    RemoveCollinearCuts(expected);
    ASSERT_TRUE(ApplyViewCommand(page, ViewCommand::SplineFit, settings.FitDistHpgl));
    EXPECT_EQ(test::PointsOf(page), test::PointsOf(expected));
}

// Knife compensation as the job preparation runs it with the options' defaults: corner arcs of radius 20 and
// ends prolonged by 20 on the full cut and the pen 0 curve, none on the plot curve.
TEST_F(ImportPipeline, KnifeCompensationOfPenZeroAndCutsButNotPlot)
{
    Intake("IN;SP3;PU0,0;PD1000,0,1000,1000;SP0;PU0,2000;PD1000,2000,1000,3000;SP1;PU2000,0;PD3000,0,3000,1000;");
    COnePage& page = *doc.pages.at(0);
    CompensateCutCorners(page, settings.SharpAngleCompensite);
    ExtendCutEnds(page, settings.StartEndCompensite);
    EXPECT_EQ(PointsOfPage(0),
              (Lines{{{-20, 0}, {1000, 0}, {1019, 6}, {1016, 11}, {1011, 16}, {1006, 19}, {1000, 20}, {1000, 1020}},
                     {{-20, 2000},
                      {1000, 2000},
                      {1019, 2006},
                      {1016, 2011},
                      {1011, 2016},
                      {1006, 2019},
                      {1000, 2020},
                      {1000, 3020}},
                     {{2000, 0}, {3000, 0}, {3000, 1000}}}));
}

// A generated garment marker: outlines on the full-cut pen, grain lines and darts on the plot pen, fold lines on
// the half-cut pen and labels in two scripts. Outline recognition finds exactly the pieces' outlines.
TEST(ImportPipelineMarker, OutlineRecognitionFindsEveryPieceAndNothingElse)
{
    gen::MarkerOptions options;
    options.pieces = 24;
    options.pointsPerPiece = 80;
    auto pages = test::ReadGeneratedMarker(options);
    ImportOptions intake;
    intake.FindOutline = 1;
    ASSERT_TRUE(CleanUpImportedPages(pages, intake));
    ASSERT_EQ(pages.size(), 1u);
    std::size_t fullCuts = 0;
    for (const auto& c : pages[0]->curves) {
        EXPECT_TRUE(c->kind == CurveKind::Plot || c->kind == CurveKind::FullCut);
        fullCuts += c->kind == CurveKind::FullCut ? 1 : 0;
    }
    EXPECT_EQ(fullCuts, 24u);
}

} // namespace
} // namespace qv
