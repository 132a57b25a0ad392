// The job preview: the page as a job prepares it, drawn over the view without changing the page.
#include "ViewSamples.h"

#include "geometry/PageSamples.h"

#include "app/AppOptions.h"
#include "app/MachineParams.h"
#include "view/JobPreview.h"
#include "view/ViewMapping.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

COnePage PlotAndTwoCuts()
{
    COnePage page;
    AddCurve(page, {{400, 400}, {4000, 400}, {4000, 4000}}, CurveKind::Plot);
    AddCurve(page, {{800, 800}, {8000, 800}, {8000, 8000}, {800, 8000}, {800, 800}}, CurveKind::FullCut);
    AddCurve(page, {{1200, 1200}, {2400, 1200}, {2400, 2400}}, CurveKind::HalfCut);
    return page;
}

std::vector<std::vector<CPoint>> PointsOf(const COnePage& page)
{
    std::vector<std::vector<CPoint>> points;
    for (const auto& curve : page.curves)
        points.emplace_back(curve->points.begin(), curve->points.end());
    return points;
}

TEST(JobPreview, PreparedCutsInOrderAndThePlotExtentWithoutTouchingThePage)
{
    const COnePage page = PlotAndTwoCuts();
    const auto before = PointsOf(page);
    const JobPreview preview = BuildJobPreview(page, MachineParams{}, AppOptions{});
    EXPECT_EQ(PointsOf(page), before);

    ASSERT_EQ(preview.cuts.size(), 2u);
    uint32_t next = 0;
    for (const JobPreview::Cut& cut : preview.cuts) {
        EXPECT_EQ(cut.first, next) << "cuts follow each other in the point list";
        EXPECT_GE(cut.count, 2u);
        EXPECT_GT(cut.kind, CurveKind::Plot);
        next += cut.count;
    }
    EXPECT_EQ(next, preview.points.size());
    EXPECT_TRUE(preview.hasPlot);
    EXPECT_GT(preview.plotExtent.x, 0);
    EXPECT_GT(preview.plotExtent.y, 0);

    COnePage cutsOnly;
    AddCurve(cutsOnly, {{800, 800}, {8000, 800}}, CurveKind::FullCut);
    EXPECT_FALSE(BuildJobPreview(cutsOnly, MachineParams{}, AppOptions{}).hasPlot);
}

TEST(JobPreview, TravelFromTheOriginToEachCutStartThenItsPath)
{
    const CSetDisp disp = UnitDisp();
    const JobPreview preview = BuildJobPreview(PlotAndTwoCuts(), MachineParams{}, AppOptions{});
    DisplayList out;
    PaintJobPreview(disp, preview, out);

    ASSERT_EQ(out.primitives.size(), 1 + 3 * preview.cuts.size());
    const auto& extent = std::get<OutlineRect>(out.primitives[0]);
    EXPECT_EQ(extent.rect, RectBetween(ToScreen(disp, 0, 0), ToScreen(disp, preview.plotExtent)));
    EXPECT_EQ(extent.pen.colour, kPreviewPlotExtent);

    ScreenPoint at = ToScreen(disp, 0, 0);
    for (std::size_t i = 0; i < preview.cuts.size(); ++i) {
        const JobPreview::Cut& cut = preview.cuts[i];
        const ScreenPoint start = ToScreen(disp, preview.points[cut.first]);
        const auto& travel = std::get<Line>(out.primitives[1 + 3 * i]);
        EXPECT_EQ(travel.from, at) << "cut " << i;
        EXPECT_EQ(travel.to, start) << "cut " << i;
        EXPECT_EQ(travel.pen.colour, kPreviewTravel);
        const auto& mark = std::get<FillRect>(out.primitives[2 + 3 * i]);
        EXPECT_EQ(mark.rect, (ScreenRect{start.x - 2, start.y - 2, start.x + 3, start.y + 3}));
        const auto& path = std::get<Polyline>(out.primitives[3 + 3 * i]);
        ASSERT_EQ(path.count, cut.count);
        const auto points = out.PointsOf(path.first, path.count);
        EXPECT_EQ(points.front(), start);
        EXPECT_EQ(path.pen.colour, cut.kind == CurveKind::HalfCut ? kPreviewHalfCut : kPreviewFullCut);
        at = points.back();
    }
}

} // namespace
} // namespace qv::test
