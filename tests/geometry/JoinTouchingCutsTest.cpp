#include "geometry/JoinTouchingCuts.h"

#include "app/InvalidArgument.h"

#include "PageSamples.h"
#include "Reference.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::AddCurve;
using test::KindsOf;
using test::PointsOf;

TEST(JoinTouchingCuts, ChainsOutOfOrderPiecesIntoTheFirst)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {10, 0}});                    // A
    AddCurve(page, {{30, 0}, {30, 50}}, CurveKind::Plot); // touches C's end but is plot work
    AddCurve(page, {{20, 0}, {30, 0}});                   // C
    AddCurve(page, {{10, 0}, {20, 0}});                   // B
    JoinTouchingCuts(page);
    EXPECT_EQ(PointsOf(page),
              (std::vector<std::vector<CPoint>>{{{0, 0}, {10, 0}, {20, 0}, {30, 0}}, {{30, 0}, {30, 50}}}));
}

TEST(JoinTouchingCuts, OnlyEndToStartOfTheSameCutKind)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {10, 0}}, CurveKind::FullCut);
    AddCurve(page, {{10, 0}, {20, 0}}, CurveKind::HalfCut); // other kind
    AddCurve(page, {{30, 0}, {10, 0}}, CurveKind::FullCut); // reversed: ends where A ends
    AddCurve(page, {{10, 1}, {20, 1}}, CurveKind::FullCut); // one unit off
    AddCurve(page, {{5, 5}, {0, 0}}, CurveKind::FullCut);   // ends at A's start: joins only as p
    JoinTouchingCuts(page);
    EXPECT_EQ(PointsOf(page),
              (std::vector<std::vector<CPoint>>{
                  {{0, 0}, {10, 0}}, {{10, 0}, {20, 0}}, {{30, 0}, {10, 0}}, {{10, 1}, {20, 1}}, {{5, 5}, {0, 0}}}));
}

TEST(JoinTouchingCuts, RescansUntilNothingJoinsAndRefusesAnEmptyCut)
{
    // The scan after a join goes on behind the joined curve; the piece in front of it needs a second scan.
    COnePage page;
    AddCurve(page, {{0, 0}, {1, 0}});
    AddCurve(page, {{2, 0}, {3, 0}});
    AddCurve(page, {{1, 0}, {2, 0}});
    JoinTouchingCuts(page);
    EXPECT_EQ(PointsOf(page), (std::vector<std::vector<CPoint>>{{{0, 0}, {1, 0}, {2, 0}, {3, 0}}}));

    AddCurve(page, {});
    EXPECT_THROW(JoinTouchingCuts(page), InvalidArgument);
    EXPECT_EQ(page.curves.size(), 2u);
}

TEST(JoinTouchingCuts, MatchesThePlainScanOnRandomPages)
{
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        test::RandomPages random(seed);
        // Exact meetings need few places: a small lattice without jitter.
        COnePage page = random.Page(random.Int(0, 40), 4, 10, 3, 0);
        std::erase_if(page.curves, [](const auto& c) { return c->points.empty(); });
        auto expected = test::Clone(page);
        reference::JoinTouchingCuts(*expected);
        JoinTouchingCuts(page);
        ASSERT_TRUE(test::SamePages(*expected, page)) << "seed " << seed;
    }
}

} // namespace
} // namespace qv
