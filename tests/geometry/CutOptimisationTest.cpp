#include "geometry/CutOptimisation.h"

#include "PageSamples.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <span>

namespace qv {
namespace {

using Curves = std::vector<std::vector<CPoint>>;

// The two splits as the operator's command runs them, one inserted curve and one removed point at a time:
// the references for the single-sweep versions.
std::unique_ptr<CCurve> Copy(const CCurve& p)
{
    auto s = std::make_unique<CCurve>();
    s->CopyFrom(p);
    return s;
}

void ReferenceSplitLongSegments(COnePage& page, double limit)
{
    for (std::size_t i = 0; i < page.CurveCount(); ++i) {
        CCurve& p = page.GetCurve(i);
        if (p.kind < 2 || p.PointCount() < 3)
            continue;
        for (std::size_t k = 0; k + 1 < p.PointCount(); ++k) {
            const double dx = double(p.points[k + 1].x) - p.points[k].x;
            const double dy = double(p.points[k + 1].y) - p.points[k].y;
            if (std::sqrt(dx * dx + dy * dy) <= limit)
                continue;
            auto s = Copy(p);
            const std::size_t keep = k > 0 ? k + 1 : 2;
            const std::size_t drop = k > 0 ? k : 1;
            while (p.PointCount() > keep)
                p.RemovePoint(p.PointCount() - 1);
            for (std::size_t d = 0; d < drop; ++d)
                s->RemovePoint(0);
            page.InsertCurve(i + 1, std::move(s));
            break;
        }
    }
    for (std::size_t i = 0; i < page.CurveCount();) {
        if (page.GetCurve(i).PointCount() <= 1)
            page.DeleteCurve(i);
        else
            ++i;
    }
}

void ReferenceSplitAtCorners(COnePage& page, double maxTurn)
{
    for (std::size_t i = 0; i < page.CurveCount(); ++i) {
        CCurve& p = page.GetCurve(i);
        if (p.kind < 2)
            continue;
        for (std::size_t m = 1; m + 1 < p.PointCount(); ++m) {
            const CPoint a = p.points[m - 1], b = p.points[m], c = p.points[m + 1];
            double t =
                std::atan2(double(c.y) - b.y, double(c.x) - b.x) - std::atan2(double(b.y) - a.y, double(b.x) - a.x);
            if (t > 3.14159265359)
                t -= 6.28318530718;
            else if (t <= -3.14159265359)
                t += 6.28318530718;
            if (std::abs(t) <= maxTurn)
                continue;
            auto s = Copy(p);
            for (std::size_t d = 0; d < m; ++d)
                s->RemovePoint(0);
            page.InsertCurve(i + 1, std::move(s));
            while (p.PointCount() > m + 1)
                p.RemovePoint(p.PointCount() - 1);
            break;
        }
    }
}

// One curve of the given kind on a page of its own.
COnePage PageOf(const std::vector<CPoint>& points, int32_t kind)
{
    COnePage page;
    test::AddCurve(page, {}, kind).points = points;
    return page;
}

// One curve of a kind, and the pieces a split leaves of it.
struct SplitCase {
    const char* name;
    int32_t kind;
    std::vector<CPoint> in;
    Curves out;
};

template <std::size_t N, class Split>
void ExpectPieces(const SplitCase (&cases)[N], Split split)
{
    for (const SplitCase& c : cases) {
        COnePage page = PageOf(c.in, c.kind);
        split(page);
        EXPECT_EQ(test::PointsOf(page), c.out) << c.name;
    }
}

TEST(SplitLongSegments, Examples)
{
    const SplitCase cases[] = {
        {"a long first segment stands alone",
         CurveKind::FullCut,
         {{0, 0}, {900, 0}, {900, 100}},
         {{{0, 0}, {900, 0}}, {{900, 0}, {900, 100}}}},
        {"a long inner segment stands alone",
         CurveKind::HalfCut,
         {{0, 0}, {100, 0}, {200, 0}, {1200, 0}, {1300, 0}},
         {{{0, 0}, {100, 0}, {200, 0}}, {{200, 0}, {1200, 0}}, {{1200, 0}, {1300, 0}}}},
        {"a long last segment stands alone",
         CurveKind::FullCut,
         {{0, 0}, {100, 0}, {1000, 0}},
         {{{0, 0}, {100, 0}}, {{100, 0}, {1000, 0}}}},
        {"two long segments in a row",
         CurveKind::FullCut,
         {{0, 0}, {900, 0}, {1800, 0}, {1900, 0}},
         {{{0, 0}, {900, 0}}, {{900, 0}, {1800, 0}}, {{1800, 0}, {1900, 0}}}},
        {"a two-point cut of 5000 stays", CurveKind::FullCut, {{0, 0}, {5000, 0}}, {{{0, 0}, {5000, 0}}}},
        {"800 is not longer than the limit",
         CurveKind::FullCut,
         {{0, 0}, {800, 0}, {800, 100}},
         {{{0, 0}, {800, 0}, {800, 100}}}},
        {"plot curves stay", CurveKind::Plot, {{0, 0}, {900, 0}, {900, 100}}, {{{0, 0}, {900, 0}, {900, 100}}}},
        {"pen 0 curves stay", CurveKind::PenZero, {{0, 0}, {900, 0}, {900, 100}}, {{{0, 0}, {900, 0}, {900, 100}}}},
        {"a one-point plot curve goes", CurveKind::Plot, {{3, 3}}, {}},
        {"an empty cut curve goes", CurveKind::FullCut, {}, {}},
    };
    ExpectPieces(cases, [](COnePage& page) { SplitLongSegments(page, 800.0); });
}

TEST(SplitLongSegments, PiecesCarryTheCurvesAttributes)
{
    COnePage page;
    test::AddCurve(page, {{0, 0}, {900, 0}, {900, 100}}, CurveKind::HalfCut);
    test::AddCurve(page, {{0, 0}, {10, 0}}, CurveKind::Plot);
    CCurve& source = *page.curves[0];
    source.selected = 1;
    source.lineStyle = 1;
    source.notch = 1;
    SplitLongSegments(page, 800.0);
    ASSERT_EQ(page.CurveCount(), 3u);
    EXPECT_EQ(page.curves[0].get(), &source) << "the first piece is the curve itself";
    const CCurve& piece = *page.curves[1];
    EXPECT_EQ(piece.kind, CurveKind::HalfCut);
    EXPECT_EQ(piece.selected, 1);
    EXPECT_EQ(piece.lineStyle, 1);
    EXPECT_EQ(piece.notch, 0) << "a new piece starts without the notch mark";
    EXPECT_EQ(page.curves[2]->kind, CurveKind::Plot);
}

TEST(SplitAtCorners, Examples)
{
    const SplitCase cases[] = {
        {"14.95 degrees stays",
         CurveKind::FullCut,
         {{0, 0}, {1000, 0}, {2000, 267}},
         {{{0, 0}, {1000, 0}, {2000, 267}}}},
        {"15.003 degrees splits, the corner in both pieces",
         CurveKind::FullCut,
         {{0, 0}, {1000, 0}, {2000, 268}},
         {{{0, 0}, {1000, 0}}, {{1000, 0}, {2000, 268}}}},
        {"a right turn counts like a left one",
         CurveKind::HalfCut,
         {{0, 0}, {1000, 0}, {2000, -268}},
         {{{0, 0}, {1000, 0}}, {{1000, 0}, {2000, -268}}}},
        {"every corner of a square",
         CurveKind::FullCut,
         {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}},
         {{{0, 0}, {100, 0}}, {{100, 0}, {100, 100}}, {{100, 100}, {0, 100}}, {{0, 100}, {0, 0}}}},
        {"a small turn across the angle seam stays",
         CurveKind::FullCut,
         {{200, -10}, {100, 0}, {0, -10}},
         {{{200, -10}, {100, 0}, {0, -10}}}},
        {"a reversal splits", CurveKind::FullCut, {{0, 0}, {100, 0}, {0, 0}}, {{{0, 0}, {100, 0}}, {{100, 0}, {0, 0}}}},
        {"plot curves stay", CurveKind::Plot, {{0, 0}, {100, 0}, {100, 100}}, {{{0, 0}, {100, 0}, {100, 100}}}},
        {"two points stay", CurveKind::FullCut, {{0, 0}, {100, 0}}, {{{0, 0}, {100, 0}}}},
    };
    ExpectPieces(cases, [](COnePage& page) { SplitAtCorners(page, 0.26179938779916667); });
}

TEST(CutSplits, AgreeWithTheInsertingReferences)
{
    // Lattice steps of 300 with a jitter of 150: segments both sides of 800 units, turns of every size.
    test::RandomPages random(1146);
    for (int round = 0; round < 200; ++round) {
        COnePage fast = random.Page(1 + round % 12, 25, 300, 8, 150);
        const auto reference = test::Clone(fast);
        SplitLongSegments(fast, 800.0);
        ReferenceSplitLongSegments(*reference, 800.0);
        ASSERT_TRUE(test::SamePages(*reference, fast)) << "long segments, round " << round;
        SplitAtCorners(fast, 0.26179938779916667);
        ReferenceSplitAtCorners(*reference, 0.26179938779916667);
        ASSERT_TRUE(test::SamePages(*reference, fast)) << "corners, round " << round;
    }
}

TEST(RemoveCollinearCuts, CutCurvesOnly)
{
    const std::vector<CPoint> straight{{0, 0}, {10, 0}, {20, 0}};
    COnePage page;
    for (const int32_t kind : {CurveKind::PenZero, CurveKind::Plot, CurveKind::HalfCut, CurveKind::FullCut})
        test::AddCurve(page, {}, kind).points = straight;
    RemoveCollinearCuts(page);
    const std::vector<CPoint> ends{{0, 0}, {20, 0}};
    EXPECT_EQ(test::PointsOf(page), (Curves{straight, straight, ends, ends}));
}

bool HasConsecutiveDuplicates(std::span<const CPoint> p)
{
    return std::adjacent_find(p.begin(), p.end()) != p.end();
}

TEST(OptimizeCutCurves, AnOptimisedPageIsLeftAlone)
{
    const std::vector<CPoint> arc{{0, 0}, {300, 40}, {600, 120}, {900, 240}, {1200, 400}};
    COnePage page = PageOf(arc, CurveKind::FullCut);
    page.optimized = 1;
    OptimizeCutCurves(page, 28);
    EXPECT_EQ(test::PointsOf(page), (Curves{arc}));
}

TEST(OptimizeCutCurves, OnlyLongCurvesOfMoreThanFourPointsAreFitted)
{
    struct Case {
        const char* name;
        std::vector<CPoint> in;
        bool fitted;
    };
    const Case cases[] = {
        {"five points, length 401", {{0, 0}, {100, 0}, {200, 0}, {300, 0}, {401, 0}}, true},
        {"four points, length 401", {{0, 0}, {100, 0}, {200, 0}, {401, 0}}, false},
        {"five points, length 400", {{0, 0}, {100, 0}, {200, 0}, {300, 0}, {400, 0}}, false},
    };
    for (const Case& c : cases) {
        COnePage page = PageOf(c.in, CurveKind::HalfCut);
        OptimizeCutCurves(page, 28);
        ASSERT_EQ(page.CurveCount(), 1u) << c.name;
        const auto& out = page.curves[0]->points;
        EXPECT_EQ(out != c.in, c.fitted) << c.name;
        EXPECT_EQ(out.front(), c.in.front()) << c.name;
        EXPECT_EQ(out.back(), c.in.back()) << c.name;
        EXPECT_EQ(page.optimized, 1) << c.name;
    }
}

TEST(OptimizeCutCurves, TheEndsStayWhereTheThinningMovedThem)
{
    // Thinning merges the last two points into (415, 0); the knife must still stop at (430, 0).
    COnePage page = PageOf({{0, 0}, {100, 0}, {200, 0}, {300, 0}, {400, 0}, {430, 0}}, CurveKind::FullCut);
    OptimizeCutCurves(page, 28);
    ASSERT_EQ(page.CurveCount(), 1u);
    EXPECT_EQ(page.curves[0]->points.front(), (CPoint{0, 0}));
    EXPECT_EQ(page.curves[0]->points.back(), (CPoint{430, 0}));
}

TEST(OptimizeCutCurves, ASquareIsSplitAtItsCornersFittedAndJoinedAgain)
{
    std::vector<CPoint> square;
    const CPoint corners[] = {{0, 0}, {2000, 0}, {2000, 2000}, {0, 2000}, {0, 0}};
    for (int side = 0; side < 4; ++side) {
        for (int k = 0; k < 20; ++k)
            square.push_back({corners[side].x + (corners[side + 1].x - corners[side].x) * k / 20,
                              corners[side].y + (corners[side + 1].y - corners[side].y) * k / 20});
    }
    square.push_back({0, 0});
    COnePage page = PageOf(square, CurveKind::FullCut);
    OptimizeCutCurves(page, 28);
    ASSERT_EQ(page.CurveCount(), 1u) << test::Dump(page);
    const auto& out = page.curves[0]->points;
    EXPECT_FALSE(HasConsecutiveDuplicates(out)) << test::Dump(page);
    for (const CPoint& corner : corners)
        EXPECT_NE(std::find(out.begin(), out.end(), corner), out.end()) << corner.x << "," << corner.y;
    for (const CPoint& p : out)
        EXPECT_TRUE(p.x == 0 || p.x == 2000 || p.y == 0 || p.y == 2000) << p.x << "," << p.y << " off the square";
    EXPECT_GT(out.size(), square.size()) << "sampled every 28 units instead of every 100";
    EXPECT_EQ(out.front(), (CPoint{0, 0}));
    EXPECT_EQ(out.back(), (CPoint{0, 0}));
}

TEST(OptimizeCutCurves, DoubledPointsDoNotBreakTheFit)
{
    // A page straight from the view's merge keeps its doubled junction points; the fit must not see a
    // zero-length chord, and comes out as for the same curve without the doubles.
    COnePage doubled =
        PageOf({{0, 0}, {0, 0}, {300, 20}, {600, 60}, {600, 60}, {900, 120}, {1200, 200}}, CurveKind::FullCut);
    COnePage clean = PageOf({{0, 0}, {300, 20}, {600, 60}, {900, 120}, {1200, 200}}, CurveKind::FullCut);
    OptimizeCutCurves(doubled, 28);
    OptimizeCutCurves(clean, 28);
    ASSERT_EQ(clean.CurveCount(), 1u);
    EXPECT_GT(clean.curves[0]->points.size(), 40u);
    EXPECT_EQ(test::PointsOf(doubled), test::PointsOf(clean));
}

TEST(OptimizeCutCurves, PlotCurvesKeepTheirPointsAndMoveAheadOfTheCuts)
{
    const std::vector<CPoint> zigzag{{0, 0}, {900, 0}, {900, 900}, {1800, 0}, {1800, 900}, {2700, 0}};
    COnePage page;
    test::AddCurve(page, {}, CurveKind::FullCut).points = zigzag;
    test::AddCurve(page, {}, CurveKind::PenZero).points = zigzag;
    test::AddCurve(page, {}, CurveKind::HalfCut).points = zigzag;
    test::AddCurve(page, {}, CurveKind::Plot).points = zigzag;
    OptimizeCutCurves(page, 28);
    ASSERT_GE(page.CurveCount(), 4u);
    EXPECT_EQ(page.curves[0]->kind, CurveKind::PenZero);
    EXPECT_EQ(page.curves[0]->points, zigzag);
    EXPECT_EQ(page.curves[1]->kind, CurveKind::Plot);
    EXPECT_EQ(page.curves[1]->points, zigzag);
    for (std::size_t i = 2; i < page.CurveCount(); ++i)
        EXPECT_TRUE(IsCutWork(page.curves[i]->kind)) << test::Dump(page);
}

} // namespace
} // namespace qv
