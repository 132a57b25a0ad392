#include "geometry/CSpline.h"

#include "PageSamples.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>

namespace qv {
namespace {

std::vector<CPoint> Generate(std::vector<CPoint> control, int32_t fitDist)
{
    CSpline spline(fitDist);
    spline.controlPoints = std::move(control);
    spline.GenerateSpline();
    return spline.outputPoints;
}

TEST(CSpline, ThinControlPoints)
{
    struct Case {
        const char* name;
        std::vector<CPoint> in;
        std::vector<CPoint> out;
    };
    const Case cases[] = {
        {"a close inner pair becomes its midpoint",
         {{0, 0}, {1000, 0}, {1050, 0}, {2000, 0}},
         {{0, 0}, {1025, 0}, {2000, 0}}},
        {"the first pair is never merged", {{0, 0}, {10, 0}, {1000, 0}}, {{0, 0}, {10, 0}, {1000, 0}}},
        {"the last but one goes when it ends close to the last",
         {{0, 0}, {500, 0}, {550, 0}, {580, 0}},
         {{0, 0}, {580, 0}}},
        {"two close points keep only the last", {{0, 0}, {10, 0}}, {{10, 0}}},
        {"one point stays", {{7, 7}}, {{7, 7}}},
    };
    for (const Case& c : cases) {
        CSpline spline(28);
        spline.controlPoints = c.in;
        spline.ThinControlPoints(70);
        EXPECT_EQ(spline.controlPoints, c.out) << c.name;
    }
}

TEST(CSpline, CollinearEvenlySpacedPointsGiveSeventyTwoPointsOnTheAxis)
{
    const auto out = Generate({{0, 0}, {1000, 0}, {2000, 0}}, 28);
    ASSERT_EQ(out.size(), 72u) << "two segments of 35 steps, each with its start point";
    for (const CPoint& p : out)
        EXPECT_EQ(p.y, 0);
    EXPECT_EQ(out.front(), (CPoint{0, 0}));
    EXPECT_EQ(out[35], (CPoint{1000, 0})) << "the first segment ends on its control point";
    EXPECT_EQ(out[36], (CPoint{1000, 0})) << "and the second starts there again";
    EXPECT_EQ(out.back(), (CPoint{2000, 0}));
}

TEST(CSpline, SamplingSteps)
{
    struct Case {
        const char* name;
        std::vector<CPoint> control;
        int32_t fitDist;
        std::vector<CPoint> out;
    };
    const Case cases[] = {
        {"a chord shorter than the spacing keeps just its ends", {{0, 0}, {10, 5}}, 28, {{0, 0}, {10, 5}}},
        {"negative samples truncate toward zero", {{0, 0}, {-100, 0}}, 28, {{0, 0}, {-33, 0}, {-66, 0}, {-100, 0}}},
        {"positive samples likewise", {{0, 0}, {100, 0}}, 28, {{0, 0}, {33, 0}, {66, 0}, {100, 0}}},
        {"the steps follow the larger axis", {{0, 0}, {70, -100}}, 30, {{0, 0}, {23, -33}, {46, -66}, {70, -100}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Generate(c.control, c.fitDist), c.out) << c.name;
}

TEST(CSpline, SpacingBelowOneCountsAsOne)
{
    for (const int32_t fitDist : {0, -28}) {
        CSpline spline(fitDist);
        EXPECT_EQ(spline.FitDist(), 1);
        const auto out = Generate({{0, 0}, {3, 0}}, fitDist);
        ASSERT_EQ(out.size(), 4u) << "fitDist " << fitDist;
        EXPECT_EQ(out.back(), (CPoint{3, 0}));
    }
    CCurve curve;
    curve.points = {{0, 0}, {40, 30}, {100, 0}, {160, 30}};
    FitSpline(curve, 0);
    EXPECT_EQ(curve.points.front(), (CPoint{0, 0}));
    EXPECT_EQ(curve.points.back(), (CPoint{160, 30}));
}

TEST(CSpline, ZeroLengthChordsAreDroppedBeforeFitting)
{
    const auto clean = Generate({{0, 0}, {1000, 0}, {2000, 500}}, 28);
    struct Case {
        const char* name;
        std::vector<CPoint> control;
    };
    const Case cases[] = {
        {"doubled first point", {{0, 0}, {0, 0}, {1000, 0}, {2000, 500}}},
        {"doubled inner point", {{0, 0}, {1000, 0}, {1000, 0}, {1000, 0}, {2000, 500}}},
        {"doubled last point", {{0, 0}, {1000, 0}, {2000, 500}, {2000, 500}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Generate(c.control, 28), clean) << c.name;
}

TEST(CSpline, FewerThanTwoDistinctPointsLeaveTheCurveUnfitted)
{
    struct Case {
        const char* name;
        std::vector<CPoint> points;
    };
    const Case cases[] = {
        {"no points", {}},
        {"one point", {{5, 5}}},
        {"one point repeated", {{5, 5}, {5, 5}, {5, 5}}},
        {"integers equal in single precision", {{16777216, 0}, {16777217, 0}}},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Generate(c.points, 28).empty()) << c.name;
        CCurve curve;
        curve.points = c.points;
        FitSpline(curve, 28);
        EXPECT_EQ(curve.points, c.points) << c.name;
    }
    CCurve thinnedAway;
    thinnedAway.points = {{0, 0}, {10, 0}};
    FitSpline(thinnedAway, 28);
    EXPECT_EQ(thinnedAway.points, (std::vector<CPoint>{{0, 0}, {10, 0}})) << "thinning leaves one point";
}

TEST(FitSpline, StaysCloseToASmoothCurve)
{
    // A quarter circle of radius 4000 with a vertex every 150 units: the fit runs through the thinned control
    // points and samples every 28 units between them.
    CCurve curve;
    for (int i = 0; i <= 42; ++i) {
        const double a = i * 1.5707963267948966 / 42;
        curve.AddPoint(static_cast<int32_t>(4000 * std::cos(a)), static_cast<int32_t>(4000 * std::sin(a)));
    }
    const CPoint first = curve.points.front();
    FitSpline(curve, 28);
    EXPECT_EQ(curve.points.front(), first);
    EXPECT_GT(curve.points.size(), 200u);
    for (std::size_t i = 0; i < curve.points.size(); ++i) {
        const CPoint& p = curve.points[i];
        EXPECT_NEAR(std::hypot(p.x, p.y), 4000, 3) << "sample " << i;
        if (i > 0) {
            const double step = std::hypot(p.x - curve.points[i - 1].x, p.y - curve.points[i - 1].y);
            EXPECT_LT(step, 2 * 28) << "sample " << i;
        }
    }
}

TEST(CSpline, WildPolygonsStayNearTheirControlPoints)
{
    // Chord ratios of a million to one and sharp reversals leave the ten sweeps far from converged; the samples
    // must still run through every control point and stay near the polygon.
    const std::vector<CPoint> polygons[] = {
        {{0, 0}, {1, 0}, {2000000, 0}, {2000001, 1}, {0, 1}},
        {{0, 0}, {100000, 0}, {0, 1}, {100000, 2}, {0, 3}},
        {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {10000000, 0}, {10000001, 1}, {10000001, 10000000}},
    };
    for (const auto& polygon : polygons) {
        int64_t minX = polygon[0].x, maxX = minX, minY = polygon[0].y, maxY = minY;
        for (const CPoint& p : polygon) {
            minX = std::min<int64_t>(minX, p.x);
            maxX = std::max<int64_t>(maxX, p.x);
            minY = std::min<int64_t>(minY, p.y);
            maxY = std::max<int64_t>(maxY, p.y);
        }
        const int64_t margin = std::max(maxX - minX, maxY - minY) / 2;
        const auto out = Generate(polygon, 100000);
        ASSERT_FALSE(out.empty());
        EXPECT_EQ(out.front(), polygon.front());
        EXPECT_EQ(out.back(), polygon.back());
        for (const CPoint& p : polygon)
            EXPECT_NE(std::find(out.begin(), out.end(), p), out.end()) << "control point " << p.x << "," << p.y;
        for (const CPoint& p : out) {
            EXPECT_TRUE(p.x >= minX - margin && p.x <= maxX + margin && p.y >= minY - margin && p.y <= maxY + margin)
                << "sample " << p.x << "," << p.y << " of a polygon starting at " << polygon[0].x;
        }
    }
}

} // namespace
} // namespace qv
