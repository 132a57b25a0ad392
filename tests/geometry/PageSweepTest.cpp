// Every page operation over one shared set of pages: the empty page, one- and two-point curves, and random
// pages. Each row names the invariant that must hold afterwards.
#include "geometry/CleanUp.h"
#include "geometry/CurveEdits.h"
#include "geometry/CutOptimisation.h"
#include "geometry/JoinChains.h"
#include "geometry/JoinTouchingCuts.h"
#include "geometry/KnifeCompensation.h"
#include "geometry/MergeCurves.h"
#include "geometry/OutlineRecognition.h"
#include "geometry/PageStatistics.h"
#include "geometry/PageTransforms.h"
#include "geometry/Paging.h"
#include "geometry/PointMath.h"
#include "geometry/Smoothing.h"
#include "geometry/ViewCommands.h"

#include "GeneratedMarker.h"
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
    for (int i = 0; i < 4; ++i)
        test::AddCurve(ones, {{i * 10, i}}, i % 4);
    pages.emplace_back("one-point curves", std::move(ones));
    COnePage twos;
    for (int i = 0; i < 6; ++i)
        test::AddCurve(twos, {{i * 10, 0}, {i * 10 + 10, 0}}, i % 4).selected = i % 2;
    pages.emplace_back("touching two-point curves", std::move(twos));
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        test::RandomPages random(seed);
        COnePage page = seed % 2 ? random.Page(30, 8) : random.Page(20, 30, 2000, 20, 300);
        pages.emplace_back("random " + std::to_string(seed), std::move(page));
    }
    gen::MarkerOptions marker;
    marker.pieces = 8;
    marker.pointsPerPiece = 60;
    marker.pageBreaks = 1;
    for (auto& page : test::ReadGeneratedMarker(marker))
        pages.emplace_back("generated marker page " + std::to_string(page->pageNumber), std::move(*page));
    return pages;
}

std::size_t PointCount(const COnePage& page)
{
    std::size_t n = 0;
    for (const auto& c : page.curves)
        n += c->points.size();
    return n;
}

// The plot curves (kind <= 1) with their points, in order.
std::vector<std::vector<CPoint>> PlotCurves(const COnePage& page)
{
    std::vector<std::vector<CPoint>> plot;
    for (const auto& c : page.curves) {
        if (IsPlotWork(c->kind))
            plot.emplace_back(c->points.begin(), c->points.end());
    }
    return plot;
}

using Check = std::function<void(const COnePage& before, const COnePage& after)>;

struct Row {
    const char* name;
    std::function<void(COnePage&)> op;
    Check check;
};

void KeepsPointCount(const COnePage& before, const COnePage& after)
{
    EXPECT_EQ(PointCount(after), PointCount(before));
}

void KeepsPlotCurves(const COnePage& before, const COnePage& after)
{
    EXPECT_EQ(PlotCurves(after), PlotCurves(before));
}

// A join drops one junction point per curve it absorbs.
void DropsOnePointPerJoin(const COnePage& before, const COnePage& after)
{
    EXPECT_EQ(PointCount(before) - PointCount(after), before.curves.size() - after.curves.size());
}

// The curves that `survives` picks from the page before, in order, are the page after, each with its first and
// last point.
Check KeepsEndsOf(std::function<bool(const CCurve&)> survives)
{
    return [survives](const COnePage& before, const COnePage& after) {
        std::vector<std::pair<CPoint, CPoint>> expected;
        for (const auto& c : before.curves) {
            if (survives(*c))
                expected.emplace_back(c->points.front(), c->points.back());
        }
        std::vector<std::pair<CPoint, CPoint>> actual;
        for (const auto& c : after.curves)
            actual.emplace_back(c->points.front(), c->points.back());
        EXPECT_EQ(actual, expected);
    };
}

// Plot work of two or more points: what the cut splits and the rebuild pass over untouched.
void KeepsDrawnPlotCurves(const COnePage& before, const COnePage& after)
{
    const auto drawn = [](const COnePage& page) {
        std::vector<std::vector<CPoint>> plot;
        for (auto& points : PlotCurves(page)) {
            if (points.size() >= 2)
                plot.push_back(std::move(points));
        }
        return plot;
    };
    EXPECT_EQ(drawn(after), drawn(before));
}

// Knife compensation passes over curves of code 1 only; pen 0 curves are compensated like cuts.
void KeepsPlotCodeCurves(const COnePage& before, const COnePage& after)
{
    ASSERT_EQ(after.curves.size(), before.curves.size());
    for (std::size_t i = 0; i < after.curves.size(); ++i) {
        if (before.curves[i]->kind == CurveKind::Plot) {
            EXPECT_EQ(after.curves[i]->points, before.curves[i]->points);
        }
    }
}

const Row kRows[] = {
    {"ScaleAll(1, 1) changes no point", [](COnePage& p) { ScaleAll(p, 1.0, 1.0); },
     [](const COnePage& b, const COnePage& a) { EXPECT_EQ(test::PointsOf(a), test::PointsOf(b)); }},
    {"CorrectSkew keeps every x and count", [](COnePage& p) { CorrectSkew(p, 137); },
     [](const COnePage& b, const COnePage& a) {
         KeepsPointCount(b, a);
         for (std::size_t i = 0; i < a.curves.size(); ++i) {
             for (std::size_t k = 0; k < a.curves[i]->points.size(); ++k) {
                 EXPECT_EQ(a.curves[i]->points[k].x, b.curves[i]->points[k].x);
             }
         }
     }},
    {"RemoveDuplicatePoints leaves curves of two or more distinct neighbours",
     [](COnePage& p) { RemoveDuplicatePoints(p); },
     [](const COnePage& b, const COnePage& a) {
         KeepsEndsOf([](const CCurve& c) {
             auto points = c.points;
             return std::unique(points.begin(), points.end()) - points.begin() >= 2;
         })(b, a);
         for (const auto& c : a.curves) {
             EXPECT_GE(c->points.size(), 2u);
             EXPECT_EQ(std::adjacent_find(c->points.begin(), c->points.end()), c->points.end());
         }
     }},
    {"SimplifyCurves keeps the ends", [](COnePage& p) { SimplifyCurves(p); },
     KeepsEndsOf([](const CCurve& c) { return !c.points.empty(); })},
    {"JoinTouchingCuts keeps plot curves and drops one point per join", [](COnePage& p) { JoinTouchingCuts(p); },
     [](const COnePage& b, const COnePage& a) {
         KeepsPlotCurves(b, a);
         DropsOnePointPerJoin(b, a);
     }},
    {"MergeCurves(false, false) keeps plot curves in front and every point",
     [](COnePage& p) { MergeCurves(p, false, false); },
     [](const COnePage& b, const COnePage& a) {
         KeepsPlotCurves(b, a);
         KeepsPointCount(b, a);
         EXPECT_TRUE(
             std::is_partitioned(a.curves.begin(), a.curves.end(), [](const auto& c) { return IsPlotWork(c->kind); }));
     }},
    {"MergeCurves(true, true) keeps every point", [](COnePage& p) { MergeCurves(p, true, true); }, KeepsPointCount},
    {"JoinChains(9) drops one point per join", [](COnePage& p) { JoinChains(p, 9); }, DropsOnePointPerJoin},
    {"RecognizeOutlines leaves plot and full cut only, notches plot",
     [](COnePage& p) { EXPECT_TRUE(RecognizeOutlines(p)); },
     [](const COnePage&, const COnePage& a) {
         for (const auto& c : a.curves) {
             EXPECT_TRUE(c->kind == CurveKind::Plot || c->kind == CurveKind::FullCut);
             if (c->notch == 1) {
                 EXPECT_EQ(c->kind, CurveKind::Plot);
             }
         }
     }},
    {"SplitNotches keeps every point but the doubled split points", [](COnePage& p) { SplitNotches(p); },
     [](const COnePage& b, const COnePage& a) {
         // Each notch curve of four points came from three points of its curve.
         EXPECT_EQ(PointCount(a) - PointCount(b), a.curves.size() - b.curves.size());
     }},
    {"ExplodeSegments gives two-point curves, one per segment", [](COnePage& p) { ExplodeSegments(p); },
     [](const COnePage& b, const COnePage& a) {
         std::size_t segments = 0;
         for (const auto& c : b.curves)
             segments += c->points.size() > 1 ? c->points.size() - 1 : 0;
         EXPECT_EQ(a.curves.size(), segments);
     }},
    {"SplitAt leaves nothing beyond the cut on the first page",
     [](COnePage& p) {
         COnePage rest;
         SplitAt(p, rest, 150);
     },
     [](const COnePage&, const COnePage& a) {
         for (const auto& c : a.curves) {
             for (const CPoint& pt : c->points) {
                 EXPECT_LE(pt.x, 150);
             }
         }
     }},
    {"to-half-cut keeps unselected kinds and puts cuts first",
     [](COnePage& p) { ApplyViewCommand(p, ViewCommand::ToHalfCut, 28); },
     [](const COnePage& b, const COnePage& a) {
         KeepsPointCount(b, a);
         EXPECT_TRUE(
             std::is_partitioned(a.curves.begin(), a.curves.end(), [](const auto& c) { return IsCutWork(c->kind); }));
     }},
    {"reverse keeps unselected curves", [](COnePage& p) { ApplyViewCommand(p, ViewCommand::Reverse, 28); },
     [](const COnePage& b, const COnePage& a) {
         for (std::size_t i = 0; i < a.curves.size(); ++i) {
             auto expected = b.curves[i]->points;
             if (b.curves[i]->selected != 0)
                 std::reverse(expected.begin(), expected.end());
             EXPECT_EQ(a.curves[i]->points, expected);
         }
     }},
    {"SmoothCutCurves keeps plot curves and every first point, never adds points",
     [](COnePage& p) { SmoothCutCurves(p); },
     [](const COnePage& b, const COnePage& a) {
         KeepsPlotCurves(b, a);
         ASSERT_EQ(a.curves.size(), b.curves.size());
         for (std::size_t i = 0; i < a.curves.size(); ++i) {
             EXPECT_LE(a.curves[i]->points.size(), b.curves[i]->points.size());
             EXPECT_EQ(a.curves[i]->points.front(), b.curves[i]->points.front());
         }
     }},
    {"CompensateCutCorners keeps Plot curves and every end", [](COnePage& p) { CompensateCutCorners(p, 20); },
     [](const COnePage& b, const COnePage& a) {
         KeepsPlotCodeCurves(b, a);
         KeepsEndsOf([](const CCurve&) { return true; })(b, a);
     }},
    {"ExtendCutEnds keeps Plot curves and every count", [](COnePage& p) { ExtendCutEnds(p, 20); },
     [](const COnePage& b, const COnePage& a) {
         KeepsPlotCodeCurves(b, a);
         for (std::size_t i = 0; i < a.curves.size(); ++i)
             EXPECT_EQ(a.curves[i]->points.size(), b.curves[i]->points.size());
     }},
    {"SplitLongSegments leaves long segments only as two-point cuts", [](COnePage& p) { SplitLongSegments(p, 800.0); },
     [](const COnePage& b, const COnePage& a) {
         KeepsDrawnPlotCurves(b, a);
         for (const auto& c : a.curves) {
             EXPECT_GE(c->points.size(), 2u);
             for (std::size_t k = 0; IsCutWork(c->kind) && c->points.size() > 2 && k + 1 < c->points.size(); ++k)
                 EXPECT_LE(Distance(c->points[k], c->points[k + 1]), 800.0);
         }
     }},
    {"SplitAtCorners leaves no sharp inner vertex in a cut",
     [](COnePage& p) { SplitAtCorners(p, 0.26179938779916667); },
     [](const COnePage& b, const COnePage& a) {
         KeepsPlotCurves(b, a);
         for (const auto& c : a.curves) {
             for (std::size_t m = 1; IsCutWork(c->kind) && m + 1 < c->points.size(); ++m)
                 EXPECT_LE(std::abs(TurnAt(c->points[m - 1], c->points[m], c->points[m + 1])), 0.26179938779916667);
         }
     }},
    {"OptimizeCutCurves keeps plot curves in front, no doubled cut point, and runs once",
     [](COnePage& p) { OptimizeCutCurves(p, 28); },
     [](const COnePage& b, const COnePage& a) {
         KeepsDrawnPlotCurves(b, a);
         EXPECT_TRUE(
             std::is_partitioned(a.curves.begin(), a.curves.end(), [](const auto& c) { return IsPlotWork(c->kind); }));
         for (const auto& c : a.curves) {
             EXPECT_GE(c->points.size(), 2u);
             EXPECT_TRUE(!IsCutWork(c->kind) ||
                         std::adjacent_find(c->points.begin(), c->points.end()) == c->points.end());
         }
         const auto again = test::Clone(a);
         OptimizeCutCurves(*again, 28);
         EXPECT_TRUE(test::SamePages(a, *again));
     }},
};

TEST(PageSweep, EveryOperationKeepsItsInvariantOnEveryPage)
{
    for (const Row& row : kRows) {
        for (const auto& [name, page] : SweepPages()) {
            SCOPED_TRACE(std::string(row.name) + " on " + name);
            auto after = test::Clone(page);
            row.op(*after);
            row.check(page, *after);
            for (const auto& c : after->curves)
                ASSERT_NE(c, nullptr);
            ASSERT_TRUE(after->scratchCurves.empty());
        }
    }
}

} // namespace
} // namespace qv
