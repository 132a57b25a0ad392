#include "geometry/CleanUp.h"

#include "PageSamples.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::AddCurve;
using test::PointsOf;

TEST(RemoveDuplicatePoints, RepeatsGoAndDegenerateCurvesWithThem)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {0, 0}, {5, 5}, {5, 5}, {5, 5}});
    AddCurve(page, {{3, 3}, {3, 3}});
    AddCurve(page, {{1, 1}});
    AddCurve(page, {{9, 9}, {8, 8}, {9, 9}});
    AddCurve(page, {});
    RemoveDuplicatePoints(page);
    EXPECT_EQ(PointsOf(page), (std::vector<std::vector<CPoint>>{{{0, 0}, {5, 5}}, {{9, 9}, {8, 8}, {9, 9}}}))
        << "non-consecutive repeats stay";
}

TEST(SimplifyCurves, CollinearInnerPointsGoEmptyCurvesGo)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {10, 0}, {20, 0}, {20, 10}});
    AddCurve(page, {});
    AddCurve(page, {{7, 7}});
    SimplifyCurves(page);
    EXPECT_EQ(PointsOf(page), (std::vector<std::vector<CPoint>>{{{0, 0}, {20, 0}, {20, 10}}, {{7, 7}}}));
}

} // namespace
} // namespace qv
