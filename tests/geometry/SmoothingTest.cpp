#include "geometry/Smoothing.h"

#include "PageSamples.h"
#include "RandomWalk.h"

#include <cmath>
#include <gtest/gtest.h>

namespace qv {
namespace {

// The merge as the operator's command does it, one point at a time, every pass run: the reference for the
// single-sweep passes with their early stop.
void ReferenceMergeClosePoints(std::vector<CPoint>& p)
{
    for (const double threshold : {4.0, 8.0, 12.0, 20.0, 26.0, 32.0}) {
        for (std::size_t c = 0; c < p.size(); ++c) {
            for (std::size_t j = 1; j + 1 < p.size(); ++j) {
                const double dx = double(p[j + 1].x) - p[j].x;
                const double dy = double(p[j + 1].y) - p[j].y;
                if (std::sqrt(dx * dx + dy * dy) < threshold) {
                    p[j] = {int32_t((int64_t(p[j].x) + p[j + 1].x) / 2), int32_t((int64_t(p[j].y) + p[j + 1].y) / 2)};
                    p.erase(p.begin() + static_cast<std::ptrdiff_t>(j) + 1);
                }
            }
        }
    }
}

TEST(MergeClosePoints, WorkedExamples)
{
    struct Case {
        const char* name;
        std::vector<CPoint> in;
        std::vector<CPoint> out;
    };
    const Case cases[] = {
        {"a pair 3 apart becomes its midpoint", {{0, 0}, {100, 0}, {103, 0}, {200, 0}}, {{0, 0}, {101, 0}, {200, 0}}},
        {"the last pair merges at the threshold 32", {{0, 0}, {100, 0}, {130, 0}}, {{0, 0}, {115, 0}}},
        {"a pair 32 apart stays", {{0, 0}, {100, 0}, {132, 0}}, {{0, 0}, {100, 0}, {132, 0}}},
        {"two points stay, however close", {{0, 0}, {1, 0}}, {{0, 0}, {1, 0}}},
        {"the first point never moves", {{0, 0}, {2, 0}, {500, 0}}, {{0, 0}, {2, 0}, {500, 0}}},
        {"negative halves truncate toward zero",
         {{0, 0}, {-100, 0}, {-103, -1}, {-200, 0}},
         {{0, 0}, {-101, 0}, {-200, 0}}},
        {"a run of close points collapses stage by stage",
         {{0, 0}, {100, 0}, {103, 0}, {106, 0}, {109, 0}, {400, 0}},
         {{0, 0}, {104, 0}, {400, 0}}},
    };
    for (const Case& c : cases) {
        CCurve curve;
        curve.points = c.in;
        MergeClosePoints(curve);
        EXPECT_EQ(curve.points, c.out) << c.name;
    }
}

TEST(MergeClosePoints, AgreesWithThePlainReference)
{
    std::mt19937 rng(2022);
    for (int round = 0; round < 300; ++round) {
        std::vector<CPoint> points = test::RandomWalk(rng, 2 + round % 60, 1 + round % 40);
        CCurve curve;
        curve.points = points;
        MergeClosePoints(curve);
        ReferenceMergeClosePoints(points);
        ASSERT_EQ(curve.points, points) << "round " << round;
    }
}

TEST(SmoothCutCurves, TouchesCutCurvesOnly)
{
    const std::vector<CPoint> close{{0, 0}, {100, 0}, {103, 0}, {200, 0}};
    COnePage page;
    for (const int32_t kind : {CurveKind::PenZero, CurveKind::Plot, CurveKind::HalfCut, CurveKind::FullCut})
        test::AddCurve(page, {}, kind).points = close;
    SmoothCutCurves(page);
    const std::vector<CPoint> merged{{0, 0}, {101, 0}, {200, 0}};
    EXPECT_EQ(test::PointsOf(page), (std::vector<std::vector<CPoint>>{close, close, merged, merged}));
}

} // namespace
} // namespace qv
