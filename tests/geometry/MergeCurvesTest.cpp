#include "geometry/MergeCurves.h"

#include "PageSamples.h"
#include "Reference.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::AddCurve;
using test::PointsOf;

using Lines = std::vector<std::vector<CPoint>>;

TEST(MergeCurves, SelectedWideJoinsAcrossAGapBelowTwentyAndMovesToTheEnd)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {100, 0}}).selected = 1;
    AddCurve(page, {{0, 500}, {100, 500}}, CurveKind::Plot);
    AddCurve(page, {{110, 0}, {200, 0}}).selected = 1;
    MergeCurves(page, true, true);
    EXPECT_EQ(PointsOf(page), (Lines{{{0, 500}, {100, 500}}, {{0, 0}, {100, 0}, {110, 0}, {200, 0}}}));
    EXPECT_EQ(page.curves[1]->selected, 1) << "the merged curve keeps its selection";
    EXPECT_TRUE(page.scratchCurves.empty());
}

TEST(MergeCurves, GapOfTwentyJoinsNothingButStillMoves)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {100, 0}}).selected = 1;
    AddCurve(page, {{120, 0}, {200, 0}}).selected = 1;
    AddCurve(page, {{0, 500}, {100, 500}}, CurveKind::Plot);
    MergeCurves(page, true, true);
    EXPECT_EQ(PointsOf(page), (Lines{{{0, 500}, {100, 500}}, {{0, 0}, {100, 0}}, {{120, 0}, {200, 0}}}));
}

TEST(MergeCurves, NarrowReversesTheSecondAndDoublesTheJunction)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {100, 0}});
    AddCurve(page, {{200, 0}, {100, 0}});
    MergeCurves(page, false, false);
    EXPECT_EQ(PointsOf(page), (Lines{{{0, 0}, {100, 0}, {100, 0}, {200, 0}}}));
}

TEST(MergeCurves, OrientationRows)
{
    struct Row {
        const char* name;
        std::vector<CPoint> q;
        std::vector<CPoint> r;
        std::vector<CPoint> merged;
    };
    const Row rows[] = {
        {"last to first", {{0, 0}, {10, 0}}, {{10, 0}, {10, 10}}, {{0, 0}, {10, 0}, {10, 0}, {10, 10}}},
        {"last to last: r reversed", {{0, 0}, {10, 0}}, {{10, 10}, {10, 0}}, {{0, 0}, {10, 0}, {10, 0}, {10, 10}}},
        {"first to first: q reversed", {{0, 0}, {10, 0}}, {{0, 0}, {0, 10}}, {{10, 0}, {0, 0}, {0, 0}, {0, 10}}},
        {"first to last: both reversed", {{0, 0}, {10, 0}}, {{0, 10}, {0, 0}}, {{10, 0}, {0, 0}, {0, 0}, {0, 10}}},
        {"the last point is tried first", {{0, 0}, {10, 0}}, {{0, 0}, {10, 0}}, {{0, 0}, {10, 0}, {10, 0}, {0, 0}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        COnePage page;
        page.AddCurve().points = row.q;
        page.curves[0]->kind = CurveKind::FullCut;
        page.AddCurve().points = row.r;
        page.curves[1]->kind = CurveKind::FullCut;
        MergeCurves(page, false, false);
        EXPECT_EQ(PointsOf(page), Lines{row.merged});
    }
}

TEST(MergeCurves, KindsClosedCurvesAndShortCurvesStayApart)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {100, 0}}, CurveKind::Plot).selected = 1;
    AddCurve(page, {{100, 0}, {200, 0}}, CurveKind::FullCut).selected = 1;
    AddCurve(page, {{200, 0}, {300, 0}, {300, 100}, {200, 0}}, CurveKind::FullCut).selected = 1; // closed
    AddCurve(page, {{200, 0}}, CurveKind::FullCut).selected = 1;
    MergeCurves(page, true, true);
    EXPECT_EQ(page.curves.size(), 4u);

    COnePage square;
    AddCurve(square, {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}});
    AddCurve(square, {{0, 0}, {-100, 0}});
    MergeCurves(square, false, true);
    EXPECT_EQ(square.curves.size(), 2u) << "a closed square takes nothing, not even a line from its corner";
}

TEST(MergeCurves, ACurveThatClosesByMergingGoesOnTakingCurves)
{
    // Closure is tested when a curve's turn comes, not after each join.
    COnePage page;
    AddCurve(page, {{0, 0}, {100, 0}});
    AddCurve(page, {{100, 0}, {0, 0}});
    AddCurve(page, {{0, 0}, {0, 50}});
    MergeCurves(page, false, false);
    EXPECT_EQ(PointsOf(page), (Lines{{{0, 0}, {100, 0}, {100, 0}, {0, 0}, {0, 0}, {0, 50}}}));
}

TEST(MergeCurves, OnlyCutCurvesTakePartWithoutSelection)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {10, 0}}, CurveKind::FullCut);
    AddCurve(page, {{10, 0}, {20, 0}}, CurveKind::Plot).selected = 1;
    AddCurve(page, {{10, 0}, {20, 0}}, CurveKind::FullCut);
    MergeCurves(page, false, false);
    EXPECT_EQ(PointsOf(page), (Lines{{{10, 0}, {20, 0}}, {{0, 0}, {10, 0}, {10, 0}, {20, 0}}}))
        << "plot curves first, cut curves after";
}

TEST(MergeCurves, MatchesThePlainScanOnRandomPages)
{
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        test::RandomPages random(seed);
        const bool selectedOnly = random.Chance(50);
        const bool wide = random.Chance(50);
        COnePage page = random.Page(random.Int(0, 60), 5, 30, 5, wide ? 15 : 1);
        auto expected = test::Clone(page);
        reference::MergeCurves(*expected, selectedOnly, wide);
        MergeCurves(page, selectedOnly, wide);
        ASSERT_TRUE(test::SamePages(*expected, page))
            << "seed " << seed << " selectedOnly " << selectedOnly << " wide " << wide;
    }
}

TEST(MergeCurves, LongChainsOfShuffledSegmentsMatchThePlainScan)
{
    // Random walks cut into segments, shuffled and partly reversed: long chains grow from both ends.
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        test::RandomPages random(seed);
        COnePage page;
        for (int walk = 0; walk < 5; ++walk) {
            CPoint at{random.Int(-5000, 5000), random.Int(-5000, 5000)};
            for (int i = 0; i < 60; ++i) {
                const CPoint next{at.x + random.Int(-40, 40), at.y + random.Int(-40, 40)};
                auto& c = test::AddCurve(page, {at, next}, random.Chance(80) ? CurveKind::FullCut : CurveKind::HalfCut);
                if (random.Chance(30))
                    c.Reverse();
                at = next;
            }
        }
        for (std::size_t i = page.curves.size(); i > 1; --i)
            std::swap(page.curves[i - 1],
                      page.curves[static_cast<std::size_t>(random.Int(0, static_cast<int32_t>(i) - 1))]);
        const bool wide = random.Chance(50);
        auto expected = test::Clone(page);
        reference::MergeCurves(*expected, false, wide);
        MergeCurves(page, false, wide);
        ASSERT_TRUE(test::SamePages(*expected, page)) << "seed " << seed;
    }
}

} // namespace
} // namespace qv
