// The page operations of smoothing, cut optimisation and knife compensation over one set of pages: the empty
// page, one- and two-point curves of every kind, and random pages with short and long legs. Each row names the
// invariant that must hold afterwards.
#include "geometry/CutOptimisation.h"
#include "geometry/KnifeCompensation.h"
#include "geometry/PointMath.h"
#include "geometry/Smoothing.h"

#include "PageSamples.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace qv {
namespace {

std::vector<std::pair<std::string, COnePage>> SweepPages()
{
    std::vector<std::pair<std::string, COnePage>> pages;
    pages.emplace_back("empty page", COnePage{});
    COnePage ones;
    for (int32_t kind = -1; kind <= 3; ++kind)
        test::AddCurve(ones, {{kind * 10, kind}}, kind);
    test::AddCurve(ones, {}, CurveKind::FullCut);
    pages.emplace_back("one-point and empty curves", std::move(ones));
    COnePage twos;
    for (int i = 0; i < 8; ++i)
        test::AddCurve(twos, {{i * 1000, 0}, {i * 1000 + 900, (i % 2) * 300}}, i % 4);
    pages.emplace_back("two-point curves", std::move(twos));
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        test::RandomPages random(seed);
        COnePage page = seed % 2 ? random.Page(30, 8) : random.Page(20, 30, 400, 12, 200);
        pages.emplace_back("random " + std::to_string(seed), std::move(page));
    }
    return pages;
}

// The curves for which `pick` holds, with their points, in order.
std::vector<std::vector<CPoint>> CurvesWhere(const COnePage& page, const std::function<bool(const CCurve&)>& pick)
{
    std::vector<std::vector<CPoint>> picked;
    for (const auto& c : page.curves) {
        if (pick(*c))
            picked.push_back(c->points);
    }
    return picked;
}

bool IsPlotCode(const CCurve& c)
{
    return c.kind == CurveKind::Plot;
}

// Plot work of two or more points: what the splits and the rebuild pass over untouched.
bool IsDrawnPlotWork(const CCurve& c)
{
    return IsPlotWork(c.kind) && c.points.size() >= 2;
}

using Check = std::function<void(const COnePage& before, const COnePage& after)>;

struct Row {
    const char* name;
    std::function<void(COnePage&)> op;
    Check check;
};

Check Keeps(const std::function<bool(const CCurve&)>& pick)
{
    return [pick](const COnePage& b, const COnePage& a) { EXPECT_EQ(CurvesWhere(a, pick), CurvesWhere(b, pick)); };
}

// Same curves in the same order, each with its first and last point and at least as many points as before.
void KeepsEndsAndGrowsOnly(const COnePage& b, const COnePage& a)
{
    ASSERT_EQ(a.curves.size(), b.curves.size());
    for (std::size_t i = 0; i < a.curves.size(); ++i) {
        const auto& before = b.curves[i]->points;
        const auto& after = a.curves[i]->points;
        ASSERT_GE(after.size(), before.size());
        if (!before.empty()) {
            EXPECT_EQ(after.front(), before.front());
            EXPECT_EQ(after.back(), before.back());
        }
    }
}

void KeepsCounts(const COnePage& b, const COnePage& a)
{
    ASSERT_EQ(a.curves.size(), b.curves.size());
    for (std::size_t i = 0; i < a.curves.size(); ++i)
        EXPECT_EQ(a.curves[i]->points.size(), b.curves[i]->points.size());
}

const Row kRows[] = {
    {"SmoothCutCurves keeps plot work and every first point, never adds points",
     [](COnePage& p) { SmoothCutCurves(p); },
     [](const COnePage& b, const COnePage& a) {
         Keeps([](const CCurve& c) { return IsPlotWork(c.kind); })(b, a);
         ASSERT_EQ(a.curves.size(), b.curves.size());
         for (std::size_t i = 0; i < a.curves.size(); ++i) {
             ASSERT_LE(a.curves[i]->points.size(), b.curves[i]->points.size());
             if (!b.curves[i]->points.empty()) {
                 EXPECT_EQ(a.curves[i]->points.front(), b.curves[i]->points.front());
             }
         }
     }},
    {"CompensateCutCorners keeps Plot curves and every end", [](COnePage& p) { CompensateCutCorners(p, 20); },
     [](const COnePage& b, const COnePage& a) {
         Keeps(IsPlotCode)(b, a);
         KeepsEndsAndGrowsOnly(b, a);
     }},
    {"ExtendCutEnds keeps Plot curves and every count", [](COnePage& p) { ExtendCutEnds(p, 20); },
     [](const COnePage& b, const COnePage& a) {
         Keeps(IsPlotCode)(b, a);
         KeepsCounts(b, a);
     }},
    {"SplitLongSegments leaves long segments only as two-point curves",
     [](COnePage& p) { SplitLongSegments(p, 800.0); },
     [](const COnePage& b, const COnePage& a) {
         Keeps(IsDrawnPlotWork)(b, a);
         for (const auto& c : a.curves) {
             EXPECT_GE(c->points.size(), 2u);
             if (IsCutWork(c->kind) && c->points.size() > 2) {
                 for (std::size_t k = 0; k + 1 < c->points.size(); ++k)
                     EXPECT_LE(Distance(c->points[k], c->points[k + 1]), 800.0);
             }
         }
     }},
    {"SplitAtCorners leaves no sharp inner vertex in a cut curve",
     [](COnePage& p) { SplitAtCorners(p, 0.26179938779916667); },
     [](const COnePage& b, const COnePage& a) {
         Keeps([](const CCurve& c) { return IsPlotWork(c.kind); })(b, a);
         for (const auto& c : a.curves) {
             if (!IsCutWork(c->kind))
                 continue;
             for (std::size_t m = 1; m + 1 < c->points.size(); ++m)
                 EXPECT_LE(std::abs(TurnAt(c->points[m - 1], c->points[m], c->points[m + 1])), 0.26179938779916667);
         }
     }},
    {"OptimizeCutCurves keeps plot work in front and leaves no doubled cut point",
     [](COnePage& p) { OptimizeCutCurves(p, 28); },
     [](const COnePage& b, const COnePage& a) {
         Keeps(IsDrawnPlotWork)(b, a);
         EXPECT_EQ(a.optimized, 1);
         EXPECT_TRUE(std::is_partitioned(a.curves.begin(), a.curves.end(),
                                         [](const auto& c) { return IsPlotWork(c->kind); }));
         for (const auto& c : a.curves) {
             EXPECT_GE(c->points.size(), 2u);
             if (IsCutWork(c->kind)) {
                 EXPECT_EQ(std::adjacent_find(c->points.begin(), c->points.end()), c->points.end());
             }
         }
     }},
    {"OptimizeCutCurves runs once", [](COnePage& p) { OptimizeCutCurves(p, 28); },
     [](const COnePage&, const COnePage& a) {
         const auto once = test::Clone(a);
         OptimizeCutCurves(*once, 28);
         EXPECT_TRUE(test::SamePages(a, *once));
     }},
};

TEST(CutPageSweep, EveryOperationKeepsItsInvariantOnEveryPage)
{
    for (const Row& row : kRows) {
        for (const auto& [name, source] : SweepPages()) {
            SCOPED_TRACE(std::string(row.name) + " on " + name);
            const auto before = test::Clone(source);
            const auto after = test::Clone(source);
            row.op(*after);
            row.check(*before, *after);
        }
    }
}

} // namespace
} // namespace qv
