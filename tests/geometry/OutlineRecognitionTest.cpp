#include "geometry/OutlineRecognition.h"
#include "geometry/JoinChains.h"

#include "app/InvalidArgument.h"

#include "PageSamples.h"
#include "Reference.h"

#include <gtest/gtest.h>
#include <limits>

namespace qv {
namespace {

using test::AddCurve;
using test::KindsOf;
using test::PointsOf;

using Lines = std::vector<std::vector<CPoint>>;

std::vector<CPoint> Rectangle(int32_t x, int32_t y, int32_t w, int32_t h)
{
    return {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}, {x, y}};
}

CCurve& AddPoints(COnePage& page, std::vector<CPoint> points, int32_t kind = CurveKind::Plot)
{
    CCurve& c = page.AddCurve();
    c.points = std::move(points);
    c.kind = kind;
    return c;
}

TEST(RecognizeOutlines, EmptyPageAndSmallOrOpenCurvesStayPlot)
{
    COnePage empty;
    EXPECT_TRUE(RecognizeOutlines(empty));
    EXPECT_TRUE(empty.curves.empty());

    COnePage page;
    AddPoints(page, {{0, 0}, {5000, 0}}, CurveKind::FullCut);
    AddPoints(page, {{0, 2000}, {5000, 2000}, {5000, 9000}}, CurveKind::HalfCut);
    EXPECT_TRUE(RecognizeOutlines(page));
    EXPECT_EQ(KindsOf(page), (std::vector<int32_t>{1, 1}));
}

TEST(RecognizeOutlines, SizeRows)
{
    struct Row {
        const char* name;
        int32_t w;
        int32_t h;
        int32_t kind;
    };
    const Row rows[] = {
        {"800 x 800 units", 800, 800, CurveKind::FullCut},
        {"400 x 400 units: 10 mm sides but 100 mm2", 400, 400, CurveKind::Plot},
        {"10 mm x 40 mm", 400, 1600, CurveKind::FullCut},
        {"399 units wide is below 10 mm", 399, 4000, CurveKind::Plot},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        COnePage page;
        AddPoints(page, Rectangle(1000, 1000, r.w, r.h));
        EXPECT_TRUE(RecognizeOutlines(page));
        EXPECT_EQ(KindsOf(page), (std::vector<int32_t>{r.kind}));
    }
}

TEST(RecognizeOutlines, FourLooseSidesInAnyDirectionBecomeOneContour)
{
    COnePage page;
    AddPoints(page, {{0, 0}, {800, 0}});
    AddPoints(page, {{0, 800}, {800, 800}}); // drawn the other way round
    AddPoints(page, {{0, 0}, {0, 800}});
    AddPoints(page, {{800, 800}, {800, 0}});
    EXPECT_TRUE(RecognizeOutlines(page));
    ASSERT_EQ(page.curves.size(), 1u);
    EXPECT_EQ(page.curves[0]->kind, CurveKind::FullCut);
    EXPECT_EQ(page.curves[0]->points.size(), 5u);
}

TEST(RecognizeOutlines, ClosureGapRows)
{
    struct Row {
        const char* name;
        std::vector<CPoint> points;
        int32_t kind;
        std::size_t pointsAfter;
    };
    const Row rows[] = {
        {"last point 9 off in x and y", {{0, 0}, {800, 0}, {800, 800}, {0, 800}, {9, 9}}, CurveKind::FullCut, 5},
        {"10 off is open", {{0, 0}, {800, 0}, {800, 800}, {0, 800}, {10, 10}}, CurveKind::Plot, 5},
        {"closure doubled at the end: last point dropped",
         {{0, 0}, {800, 0}, {800, 800}, {0, 800}, {5, 5}, {14, 5}},
         CurveKind::FullCut,
         5},
        {"closure doubled at the start: first point dropped",
         {{14, 5}, {5, 5}, {800, 0}, {800, 800}, {0, 800}, {0, 0}},
         CurveKind::FullCut,
         5},
        {"ends 60 apart heading the same way",
         {{0, 0}, {800, 0}, {800, 800}, {0, 800}, {0, 60}, {0, 50}, {0, 0}},
         CurveKind::FullCut,
         7},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        COnePage page;
        AddPoints(page, r.points);
        EXPECT_TRUE(RecognizeOutlines(page));
        EXPECT_EQ(page.curves[0]->kind, r.kind);
        EXPECT_EQ(page.curves[0]->points.size(), r.pointsAfter);
    }
}

TEST(RecognizeOutlines, DirectionTestNeedsMatchingHeadings)
{
    // First segment heads right (pointing from P1 to P0: angle pi), the last heads up: not a closure.
    COnePage page;
    AddPoints(page, {{50, 0}, {800, 0}, {800, 800}, {0, 800}, {0, 100}, {0, 40}});
    EXPECT_TRUE(RecognizeOutlines(page));
    EXPECT_EQ(page.curves[0]->kind, CurveKind::Plot);
}

TEST(RecognizeOutlines, NestedContourBecomesPlot)
{
    COnePage page;
    AddPoints(page, Rectangle(1000, 1000, 400, 1600)); // inner first in the list
    AddPoints(page, Rectangle(0, 0, 4000, 4000));
    AddPoints(page, Rectangle(6000, 0, 2000, 2000));
    EXPECT_TRUE(RecognizeOutlines(page));
    EXPECT_EQ(KindsOf(page), (std::vector<int32_t>{1, 3, 3}));
}

TEST(SplitNotches, HeadOfALongerCurveIsSplitOff)
{
    COnePage page;
    AddPoints(page, {{0, 0}, {200, 0}, {200, 100}, {-200, 100}, {-200, 3000}, {3000, 3000}});
    SplitNotches(page);
    ASSERT_EQ(page.curves.size(), 2u);
    EXPECT_EQ(page.curves[0]->points, (std::vector<CPoint>{{-200, 100}, {-200, 3000}, {3000, 3000}}));
    EXPECT_EQ(page.curves[1]->points, (std::vector<CPoint>{{0, 0}, {200, 0}, {200, 100}, {-200, 100}}));
    EXPECT_EQ(page.curves[1]->notch, 1);
    EXPECT_EQ(page.curves[1]->maxX, 200) << "the notch curve is measured";
    EXPECT_EQ(page.curves[0]->minY, 0) << "the remaining curve was measured before it lost its head";
}

TEST(SplitNotches, TailIsSplitOffFromTheEndInwards)
{
    COnePage page;
    AddPoints(page, {{-200, 3000}, {-200, 100}, {200, 100}, {200, 0}, {0, 0}});
    SplitNotches(page);
    ASSERT_EQ(page.curves.size(), 2u);
    EXPECT_EQ(page.curves[0]->points, (std::vector<CPoint>{{-200, 3000}, {-200, 100}}));
    EXPECT_EQ(page.curves[1]->points, (std::vector<CPoint>{{0, 0}, {200, 0}, {200, 100}, {-200, 100}}));
}

TEST(SplitNotches, PatternBoundaries)
{
    struct Row {
        const char* name;
        std::vector<CPoint> head;
        bool notch;
    };
    const Row rows[] = {
        {"reference", {{0, 0}, {200, 0}, {200, 100}, {-200, 100}}, true},
        {"first leg not twice the second within 20", {{0, 0}, {220, 0}, {220, 100}, {-180, 100}}, false},
        {"third leg 501", {{0, 0}, {200, 0}, {200, 100}, {-301, 100}}, false},
        {"third leg exactly 300", {{0, 0}, {200, 0}, {200, 100}, {-100, 100}}, true},
        {"no turn: third leg runs on the way the first came back", {{0, 0}, {200, 0}, {200, 100}, {600, 100}}, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        COnePage page;
        auto points = r.head;
        points.push_back({-5000, 5000});
        AddPoints(page, points);
        SplitNotches(page);
        EXPECT_EQ(page.curves.size(), r.notch ? 2u : 1u);
    }
}

TEST(RecognizeOutlines, NotchOnAContourStaysPlotAndIsNotJoinedBack)
{
    COnePage page;
    // A contour that starts with a notch mark; after the split the rest closes on its own.
    AddPoints(page, {{0, 0}, {200, 0}, {200, 100}, {-200, 100}, {-200, 3000}, {3000, 3000}, {3000, 100}, {-200, 100}});
    EXPECT_TRUE(RecognizeOutlines(page));
    ASSERT_EQ(page.curves.size(), 2u);
    EXPECT_EQ(page.curves[0]->kind, CurveKind::FullCut);
    EXPECT_EQ(page.curves[1]->kind, CurveKind::Plot);
    EXPECT_EQ(page.curves[1]->notch, 1);
}

TEST(JoinChains, NotchCurvesAndOtherKindsAreNeverJoined)
{
    COnePage page;
    AddPoints(page, {{0, 0}, {100, 0}});
    AddPoints(page, {{100, 0}, {200, 0}}).notch = 1;
    AddPoints(page, {{100, 0}, {300, 0}}, CurveKind::FullCut);
    AddPoints(page, {{101, 1}, {100, 100}});
    JoinChains(page, 1);
    EXPECT_EQ(PointsOf(page), (Lines{{{0, 0}, {100, 0}, {100, 100}}, {{100, 0}, {200, 0}}, {{100, 0}, {300, 0}}}))
        << "the junction keeps p's end point and drops q's first";
}

TEST(JoinChains, OrientationRows)
{
    struct Row {
        const char* name;
        std::vector<CPoint> q;
        std::vector<CPoint> joined;
    };
    // p runs (0,0) -> (100,0); its first point is tested against q's first before its last against q's last.
    const Row rows[] = {
        {"last to first", {{105, 5}, {100, 200}}, {{0, 0}, {100, 0}, {100, 200}}},
        {"first to first: p reversed", {{-5, 5}, {0, 200}}, {{100, 0}, {0, 0}, {0, 200}}},
        {"last to last: q reversed", {{100, 200}, {105, 5}}, {{0, 0}, {100, 0}, {100, 200}}},
        {"first to last: both reversed", {{0, 200}, {-5, 5}}, {{100, 0}, {0, 0}, {0, 200}}},
        {"first to first wins over last to last", {{3, 3}, {97, 3}}, {{100, 0}, {0, 0}, {97, 3}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        COnePage page;
        AddPoints(page, {{0, 0}, {100, 0}});
        AddPoints(page, r.q);
        JoinChains(page, 9);
        EXPECT_EQ(PointsOf(page), Lines{r.joined});
    }
}

TEST(RecognizeOutlines, RefusesAnEmptyCurveBeforeChangingAnything)
{
    COnePage page;
    AddPoints(page, Rectangle(0, 0, 800, 800), CurveKind::HalfCut);
    page.AddCurve();
    EXPECT_THROW((void)RecognizeOutlines(page), InvalidArgument);
    EXPECT_EQ(page.curves[0]->kind, CurveKind::HalfCut);
}

TEST(ContainsPoint, SquareWithAndWithoutTheClosingPoint)
{
    CCurve closed;
    closed.points = {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}};
    EXPECT_TRUE(ContainsPoint(closed, 50, 50));
    EXPECT_FALSE(ContainsPoint(closed, -50, 50));

    CCurve open;
    open.points = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    EXPECT_TRUE(ContainsPoint(open, -50, 50)) << "no closing edge is tested";
    CCurve one;
    one.points = {{0, 0}};
    EXPECT_FALSE(ContainsPoint(one, 0, 0));
}

// Random contours: rectangles, triangles and jagged polygons, open and closed, nested and overlapping, some at
// the far end of the coordinate range where the point-in-polygon products lose precision.
COnePage RandomContours(test::RandomPages& random)
{
    COnePage page;
    const bool far = random.Chance(30);
    const int32_t base = far ? std::numeric_limits<int32_t>::max() / 2 : 0;
    const int32_t span = far ? 600000000 : 20000;
    const int n = random.Int(0, 25);
    for (int i = 0; i < n; ++i) {
        CCurve& c = page.AddCurve();
        c.kind = random.Chance(85) ? CurveKind::FullCut : CurveKind::Plot;
        const int32_t x = base + random.Int(-span, span);
        const int32_t y = base + random.Int(-span, span);
        const int32_t w = random.Int(1, span / 2);
        const int32_t h = random.Int(1, span / 2);
        switch (random.Int(0, 2)) {
        case 0:
            c.points = Rectangle(x, y, w, h);
            break;
        case 1:
            c.points = {{x, y}, {x + w, y + h / 2}, {x, y + h}, {x, y}};
            break;
        default:
            for (int k = random.Int(3, 12); k > 0; --k)
                c.points.push_back({x + random.Int(0, w), y + random.Int(0, h)});
            break;
        }
        if (random.Chance(20))
            c.points.pop_back();
    }
    return page;
}

TEST(ResolveNesting, MatchesThePlainTestsOnRandomContours)
{
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        test::RandomPages random(seed);
        COnePage page = RandomContours(random);
        auto expected = test::Clone(page);
        reference::ResolveNesting(*expected);
        EXPECT_TRUE(ResolveNesting(page));
        ASSERT_TRUE(test::SamePages(*expected, page)) << "seed " << seed;
    }
}

TEST(JoinChains, MatchesThePlainScanOnRandomPages)
{
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        test::RandomPages random(seed);
        const int32_t tol = random.Chance(50) ? 1 : 9;
        COnePage page = random.Page(random.Int(0, 50), 5, 30, 5, tol == 9 ? 8 : 1);
        std::erase_if(page.curves, [](const auto& c) { return c->points.empty(); });
        const std::string input = test::Dump(page);
        auto expected = test::Clone(page);
        reference::JoinChains(*expected, tol);
        JoinChains(page, tol);
        ASSERT_TRUE(test::SamePages(*expected, page)) << "seed " << seed << " tol " << tol << " input:\n" << input;
    }
}

} // namespace
} // namespace qv
