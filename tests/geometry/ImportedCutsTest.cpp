// Drawings read from HP-GL text, tidied as the import tidies them, then smoothed, rebuilt or compensated as the
// drawing view and the job preparation do it.
#include "geometry/CutOptimisation.h"
#include "geometry/ImportCleanUp.h"
#include "geometry/KnifeCompensation.h"
#include "geometry/Smoothing.h"
#include "hpgl/HpglReaderFixture.h"

#include "CurveFixtures.h"

#include <cmath>
#include <string>

namespace qv {
namespace {

class ImportedCutsTest : public test::HpglReaderFixture {
protected:
    // The one page the drawing makes, after the import clean-up with the default options.
    COnePage& Import(const std::string& plt)
    {
        EXPECT_EQ(Load(plt), HpglLoadResult::Ok);
        pages.clear();
        reader.BuildPages(pages, settings);
        CleanUpImportedPages(pages, ImportOptions{});
        EXPECT_EQ(pages.size(), 1u);
        return *pages.front();
    }
};

std::string PenDown(const std::vector<CPoint>& points)
{
    std::string text = "PU" + std::to_string(points[0].x) + "," + std::to_string(points[0].y) + ";PD";
    for (std::size_t i = 1; i < points.size(); ++i)
        text += (i > 1 ? "," : "") + std::to_string(points[i].x) + "," + std::to_string(points[i].y);
    return text + ";";
}

TEST_F(ImportedCutsTest, SmoothingMergesCloseCutPointsOnly)
{
    COnePage& page = Import("IN;SP3;PU0,0;PD1000,0,1003,2,2000,0,2000,1000;SP1;PU0,2000;PD1000,2000,1003,2002,2000,2000;");
    SmoothCutCurves(page);
    ASSERT_EQ(page.CurveCount(), 2u);
    EXPECT_EQ(page.curves[0]->points, (std::vector<CPoint>{{0, 0}, {1001, 1}, {2000, 0}, {2000, 1000}}));
    EXPECT_EQ(page.curves[1]->points, (std::vector<CPoint>{{0, 2000}, {1000, 2000}, {1003, 2002}, {2000, 2000}}));
}

TEST_F(ImportedCutsTest, CutOptimisationFitsTheRoundPieceAndRestoresTheRectangle)
{
    // A round piece of 60 vertices around (2000, 2000), radius 2000, and a rectangle of 3000 by 1000 units
    // whose sides are too long to fit, drawn between two plot lines.
    std::vector<CPoint> round;
    for (int k = 0; k <= 60; ++k) {
        const double a = (k % 60) * 6.283185307179586 / 60;
        round.push_back({static_cast<int32_t>(std::lround(2000 + 2000 * std::cos(a))),
                         static_cast<int32_t>(std::lround(2000 + 2000 * std::sin(a)))});
    }
    const std::vector<CPoint> rectangle{{5000, 0}, {8000, 0}, {8000, 1000}, {5000, 1000}, {5000, 0}};
    const std::vector<CPoint> line{{0, 5000}, {8000, 5000}};
    COnePage& page = Import("IN;SP1;" + PenDown(line) + "SP3;" + PenDown(round) + "SP2;" + PenDown(rectangle) + "SP1;" +
                            PenDown({{0, 6000}, {8000, 6000}}));
    RemoveCollinearCuts(page);
    OptimizeCutCurves(page, settings.FitDistHpgl);

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
}

TEST_F(ImportedCutsTest, KnifeCompensationOfPenZeroAndCutsButNotPlot)
{
    COnePage& page = Import("IN;SP3;PU0,0;PD1000,0,1000,1000;SP0;PU0,2000;PD1000,2000,1000,3000;SP1;PU2000,0;"
                            "PD3000,0,3000,1000;");
    CompensateCutCorners(page, settings.SharpAngleCompensite);
    ExtendCutEnds(page, settings.StartEndCompensite);
    ASSERT_EQ(page.CurveCount(), 3u);
    EXPECT_EQ(page.curves[0]->points, (std::vector<CPoint>{{-20, 0}, {1000, 0}, {1019, 6}, {1016, 11}, {1011, 16},
                                                           {1006, 19}, {1000, 20}, {1000, 1020}}));
    EXPECT_EQ(page.curves[1]->points, (std::vector<CPoint>{{-20, 2000}, {1000, 2000}, {1019, 2006}, {1016, 2011},
                                                           {1011, 2016}, {1006, 2019}, {1000, 2020}, {1000, 3020}}));
    EXPECT_EQ(page.curves[2]->points, (std::vector<CPoint>{{2000, 0}, {3000, 0}, {3000, 1000}}));
}

} // namespace
} // namespace qv
