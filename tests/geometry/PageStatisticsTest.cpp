#include "geometry/PageStatistics.h"

#include "app/InvalidArgument.h"

#include "PageSamples.h"

#include <array>
#include <gtest/gtest.h>

namespace qv {
namespace {

using test::AddCurve;

TEST(ComputePageBounds, UnionOfTheMeasuredCurves)
{
    COnePage page;
    AddCurve(page, {{10, -5}, {40, 35}});
    AddCurve(page, {{-20, 0}, {0, 90}}, CurveKind::Plot);
    page.curves[0]->maxX = 9999; // stale: measured again
    ComputePageBounds(page);
    EXPECT_EQ((std::array{page.minX, page.maxX, page.minY, page.maxY}), (std::array{-20, 40, -5, 90}));
    EXPECT_EQ(page.curves[0]->maxX, 40);
}

TEST(ComputePageBounds, EmptyPageKeepsItsBoundsAndAnEmptyCurveIsRefused)
{
    COnePage page;
    page.maxX = 77;
    ComputePageBounds(page);
    EXPECT_EQ(page.maxX, 77);

    page.AddCurve();
    EXPECT_THROW(ComputePageBounds(page), InvalidArgument);
}

TEST(ComputePlotExtent, KindsZeroAndOneCountNegativesDoNot)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {500, 700}}, CurveKind::FullCut);
    ComputePageBounds(page);
    ComputePlotExtent(page);
    EXPECT_EQ(page.plotMaxX, 0) << "cut curves only";
    EXPECT_EQ(page.plotMaxY, 0);

    AddCurve(page, {{-90, -90}, {-10, -20}}, CurveKind::Plot);
    AddCurve(page, {{0, 0}, {300, 100}}, CurveKind::PenZero);
    AddCurve(page, {{0, 0}, {100, 200}}, CurveKind::Plot);
    ComputePageBounds(page);
    ComputePlotExtent(page);
    EXPECT_EQ(page.plotMaxX, 300);
    EXPECT_EQ(page.plotMaxY, 200);
}

TEST(ComputeCutBounds, PerKindWithZerosWhenAbsent)
{
    COnePage page;
    AddCurve(page, {{10, 20}, {30, 40}}, CurveKind::FullCut);
    AddCurve(page, {{-5, 25}, {15, 35}}, CurveKind::FullCut);
    AddCurve(page, {{0, 0}, {1000, 1000}}, CurveKind::Plot);
    ComputePageBounds(page);
    page.hasHalfCut = 1;
    page.halfCutMaxX = 5;
    ComputeFullCutBounds(page);
    ComputeHalfCutBounds(page);
    EXPECT_EQ(page.hasFullCut, 1);
    EXPECT_EQ((std::array{page.fullCutMinX, page.fullCutMaxX, page.fullCutMinY, page.fullCutMaxY}),
              (std::array{-5, 30, 20, 40}));
    EXPECT_EQ(page.hasHalfCut, 0);
    EXPECT_EQ((std::array{page.halfCutMinX, page.halfCutMaxX, page.halfCutMinY, page.halfCutMaxY}),
              (std::array{0, 0, 0, 0}));
}

} // namespace
} // namespace qv
