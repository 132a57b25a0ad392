#include "geometry/KnifeCompensation.h"

#include "PageSamples.h"
#include "RandomWalk.h"

#include <cmath>
#include <gtest/gtest.h>

namespace qv {
namespace {

// The corner compensation as a sequence of insertions into the curve, index by index: the reference for the
// single sweep, which judges each corner from the last arc point before it.
void ReferenceCompensateCorners(std::vector<CPoint>& p, int32_t sc)
{
    if (p.size() < 3 || sc < 5)
        return;
    const auto dist = [](CPoint a, CPoint b) { return std::hypot(double(b.x) - a.x, double(b.y) - a.y); };
    std::size_t k = 0;
    while (k + 2 < p.size()) {
        const CPoint A = p[k], B = p[k + 1], C = p[k + 2];
        if (dist(A, B) < 60 || dist(B, C) < 60) {
            ++k;
            continue;
        }
        const double a1 = std::atan2(double(B.y) - A.y, double(B.x) - A.x);
        const double a2 = std::atan2(double(C.y) - B.y, double(C.x) - B.x);
        double t = a2 - a1;
        if (t > 3.14159265359)
            t -= 6.28318530718;
        else if (t <= -3.14159265359)
            t += 6.28318530718;
        const double d = std::abs(t) * 180 / 3.14159265359;
        if (d <= 45) {
            ++k;
            continue;
        }
        const int m = static_cast<int>(d / 20 + 0.9);
        for (int i = 1; i <= m; ++i) {
            const double angle = a1 + i * t / m;
            p.insert(p.begin() + static_cast<std::ptrdiff_t>(k + 1 + i),
                     CPoint{static_cast<int32_t>(B.x + std::cos(angle) * sc),
                            static_cast<int32_t>(B.y + std::sin(angle) * sc)});
        }
        k += m + 1;
    }
}

std::vector<CPoint> Compensated(std::vector<CPoint> points, int32_t sc)
{
    CCurve curve;
    curve.points = std::move(points);
    CompensateCorners(curve, sc);
    return {curve.points.begin(), curve.points.end()};
}

// A corner at (1000, 0) entered along +x and left at `degrees` to the left.
std::vector<CPoint> CornerOf(double degrees)
{
    const double a = degrees * 3.141592653589793 / 180;
    return {{0, 0},
            {1000, 0},
            {1000 + static_cast<int32_t>(std::lround(100000 * std::cos(a))),
             static_cast<int32_t>(std::lround(100000 * std::sin(a)))}};
}

TEST(CompensateCorners, RightAngleGetsFivePointsOnTheArc)
{
    EXPECT_EQ(Compensated({{0, 0}, {100, 0}, {100, 100}}, 20),
              (std::vector<CPoint>{{0, 0}, {100, 0}, {119, 6}, {116, 11}, {111, 16}, {106, 19}, {100, 20}, {100, 100}}))
        << "18, 36, 54, 72 and 90 degrees around the corner";
}

TEST(CompensateCorners, ArcPointCountFollowsTheTurn)
{
    struct Case {
        const char* name;
        std::vector<CPoint> corner;
        std::size_t arcPoints;
    };
    const Case cases[] = {
        {"exactly 45 degrees gets no arc", {{0, 0}, {100, 0}, {200, 100}}, 0},
        {"just over 45 degrees gets three", {{0, 0}, {100, 0}, {10100, 10004}}, 3},
        {"46 degrees", CornerOf(46), 3},
        {"62 degrees", CornerOf(62), 4},
        {"90 degrees", CornerOf(90), 5},
        {"120 degrees", CornerOf(120), 6},
        {"a right turn counts like a left one", CornerOf(-120), 6},
        {"a full reversal", {{0, 0}, {100, 0}, {0, 0}}, 9},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Compensated(c.corner, 20).size(), c.corner.size() + c.arcPoints) << c.name;
}

TEST(CompensateCorners, ThresholdsOfLegAndRadius)
{
    struct Case {
        const char* name;
        std::vector<CPoint> corner;
        int32_t sc;
        bool compensated;
    };
    const Case cases[] = {
        {"incoming leg of 59", {{0, 0}, {59, 0}, {59, 100}}, 20, false},
        {"incoming leg of 60", {{0, 0}, {60, 0}, {60, 100}}, 20, true},
        {"outgoing leg of 59", {{0, 0}, {100, 0}, {100, 59}}, 20, false},
        {"outgoing leg of 60", {{0, 0}, {100, 0}, {100, 60}}, 20, true},
        {"radius 4", {{0, 0}, {100, 0}, {100, 100}}, 4, false},
        {"radius 5", {{0, 0}, {100, 0}, {100, 100}}, 5, true},
        {"negative radius", {{0, 0}, {100, 0}, {100, 100}}, -20, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Compensated(c.corner, c.sc) != c.corner, c.compensated) << c.name;
}

TEST(CompensateCorners, NextCornerIsJudgedFromTheLastArcPoint)
{
    // The arc of the first corner ends at (100, 20), 50 units before the second corner: too short a leg.
    EXPECT_EQ(Compensated({{0, 0}, {100, 0}, {100, 70}, {0, 70}}, 20),
              (std::vector<CPoint>{
                  {0, 0}, {100, 0}, {119, 6}, {116, 11}, {111, 16}, {106, 19}, {100, 20}, {100, 70}, {0, 70}}));
}

TEST(CompensateCorners, AgreesWithTheInsertingReference)
{
    std::mt19937 rng(1239);
    for (int round = 0; round < 300; ++round) {
        std::vector<CPoint> points = test::RandomWalk(rng, 1 + round % 40, 20 + round % 200);
        const int32_t sc = round % 45;
        const auto fast = Compensated(points, sc);
        ASSERT_EQ(fast.front(), points.front());
        ASSERT_EQ(fast.back(), points.back());
        ReferenceCompensateCorners(points, sc);
        ASSERT_EQ(fast, points) << "round " << round;
    }
}

TEST(ExtendEnds, Examples)
{
    struct Case {
        const char* name;
        std::vector<CPoint> in;
        int32_t se;
        std::vector<CPoint> out;
    };
    const Case cases[] = {
        {"a straight cut grows at both ends", {{0, 0}, {1000, 0}}, 20, {{-20, 0}, {1020, 0}}},
        {"length 399 stays", {{0, 0}, {399, 0}}, 20, {{0, 0}, {399, 0}}},
        {"length 400 grows", {{0, 0}, {400, 0}}, 20, {{-20, 0}, {420, 0}}},
        {"length summed over all segments", {{0, 0}, {200, 0}, {200, 200}}, 20, {{-20, 0}, {200, 0}, {200, 220}}},
        {"zero extension keeps the ends", {{0, 0}, {1000, 0}}, 0, {{0, 0}, {1000, 0}}},
        {"a diagonal truncates toward zero", {{0, 0}, {-1000, 1000}}, 20, {{14, -14}, {-1014, 1014}}},
        {"a closed curve grows along its first and its last segment",
         {{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}, {0, 0}},
         20,
         {{-20, 0}, {1000, 0}, {1000, 1000}, {0, 1000}, {0, -20}}},
        {"one point stays", {{5, 5}}, 20, {{5, 5}}},
    };
    for (const Case& c : cases) {
        CCurve curve;
        curve.points = c.in;
        ExtendEnds(curve, c.se);
        EXPECT_EQ(curve.points, c.out) << c.name;
    }
}

TEST(KnifeCompensation, PageOperationsSkipPlotCurvesOnly)
{
    const std::vector<CPoint> corner{{0, 0}, {1000, 0}, {1000, 1000}};
    COnePage page;
    for (const int32_t kind : {CurveKind::PenZero, CurveKind::Plot, CurveKind::HalfCut, CurveKind::FullCut})
        test::AddCurve(page, {}, kind).points = corner;
    CompensateCutCorners(page, 20);
    ExtendCutEnds(page, 20);
    CCurve expected;
    expected.points = corner;
    CompensateCorners(expected, 20);
    ExtendEnds(expected, 20);
    ASSERT_NE(expected.points, corner);
    const std::vector<CPoint> compensated(expected.points.begin(), expected.points.end());
    EXPECT_EQ(test::PointsOf(page), (std::vector<std::vector<CPoint>>{compensated, corner, compensated, compensated}))
        << "pen 0 curves are compensated like cuts; only Plot curves are left alone";
}

} // namespace
} // namespace qv
