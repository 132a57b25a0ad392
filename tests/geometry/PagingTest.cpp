#include "geometry/Paging.h"

#include "app/InvalidArgument.h"
#include "geometry/PageStatistics.h"
#include "model/PageState.h"

#include "PageSamples.h"
#include "Reference.h"

#include <gtest/gtest.h>
#include <limits>

namespace qv {
namespace {

using test::AddCurve;
using test::PointsOf;

using Lines = std::vector<std::vector<CPoint>>;
using Pages = std::vector<std::unique_ptr<COnePage>>;

ImportOptions PagingAt(int32_t mm, int32_t autoStart = 0)
{
    ImportOptions o;
    o.PLTFilePageLen = mm;
    o.AutoStartWork = autoStart;
    return o;
}

// One page holding a plot line along y = 100 from x = 0 to `length`.
std::unique_ptr<COnePage> LinePage(int32_t length, const char* name = "a.plt")
{
    auto page = std::make_unique<COnePage>();
    page->fileName = name;
    AddCurve(*page, {{0, 100}, {length, 100}}, CurveKind::Plot);
    return page;
}

TEST(PagingFits, BoundsThePagesADrawingEndsAs)
{
    constexpr int32_t a = 500 * 40;
    Pages pages;
    pages.push_back(LinePage(kMaxDrawingPages * a));
    EXPECT_TRUE(PagingFits(pages, 0, PagingAt(500)));
    pages.push_back(LinePage(1));
    EXPECT_FALSE(PagingFits(pages, 0, PagingAt(500))) << "each page of the drawing counts";
    EXPECT_TRUE(PagingFits(pages, 1, PagingAt(500))) << "only the drawing from its first page";
    pages.front()->curves.front()->points.back().x += 1;
    EXPECT_FALSE(PagingFits(pages, 0, PagingAt(500)));
    EXPECT_TRUE(PagingFits(pages, 0, PagingAt(0))) << "without paging a page stays one";

    // Far apart, only the stretches with something on them become pages.
    Pages apart;
    apart.push_back(std::make_unique<COnePage>());
    AddCurve(*apart.front(), {{0, 0}, {5, 5}}, CurveKind::Plot);
    AddCurve(*apart.front(), {{INT32_MAX - 5, 0}, {INT32_MAX, 5}}, CurveKind::Plot);
    EXPECT_TRUE(PagingFits(apart, 0, PagingAt(500)));
}

TEST(PagingFits, BoundsTheCurvesThePageCutsMake)
{
    // Strokes zig-zagging across 2 000 pages: every cut crossed 128 times.
    Pages pages;
    pages.push_back(std::make_unique<COnePage>());
    std::vector<CPoint> zigzag;
    for (int32_t k = 0; k < 128; ++k)
        zigzag.push_back({k % 2 == 0 ? 0 : 2'000 * 500 * 40, k});
    AddCurve(*pages.front(), {}, CurveKind::Plot).points = zigzag;
    EXPECT_TRUE(PagingFits(pages, 0, PagingAt(500)));
    for (int32_t k = 0; k < 3'000; ++k)
        pages.front()->curves.front()->points.push_back(zigzag[static_cast<std::size_t>(k % 2)]);
    EXPECT_FALSE(PagingFits(pages, 0, PagingAt(500)));
}

TEST(PaginatePages, PageLengthBelow500MeansNoPaging)
{
    for (const int32_t mm : {0, 499, -40}) {
        Pages pages;
        pages.push_back(LinePage(50000));
        PaginatePages(pages, PagingAt(mm));
        EXPECT_EQ(pages.size(), 1u) << mm;
    }
    Pages pages;
    pages.push_back(LinePage(20000));
    pages.push_back(LinePage(20001));
    PaginatePages(pages, PagingAt(500));
    EXPECT_EQ(pages.size(), 3u) << "at 500 mm, only pages longer than 20 000 units are cut";
}

TEST(PaginatePages, FiftyThousandUnitsAt500mm)
{
    Pages pages;
    pages.push_back(LinePage(50000));
    pages[0]->state = PageState::Auto;
    const COnePage* original = pages[0].get();
    PaginatePages(pages, PagingAt(500));
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(PointsOf(*pages[0]), (Lines{{{0, 100}, {20000, 100}}}));
    EXPECT_EQ(PointsOf(*pages[1]), (Lines{{{0, 100}, {20000, 100}}}));
    EXPECT_EQ(PointsOf(*pages[2]), (Lines{{{0, 100}, {10000, 100}}}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pages[i]->pageNumber, i + 1);
        EXPECT_EQ(pages[i]->fileName, "a.plt");
    }
    EXPECT_EQ(pages[2].get(), original) << "the last piece is the page that was cut";
    EXPECT_EQ(pages[2]->state, PageState::Auto) << "and keeps its state";
    EXPECT_EQ(pages[0]->state, PageState::Manual);
    EXPECT_EQ(pages[1]->maxX, 20000);
    EXPECT_EQ(pages[2]->maxX, 10000);
}

TEST(PaginatePages, ExactlyTwoPageLengthsGiveTwoPagesAndAutoStartMarksThePieces)
{
    Pages pages;
    pages.push_back(LinePage(40000));
    pages.push_back(LinePage(45000, "b.plt"));
    PaginatePages(pages, PagingAt(500, 1));
    ASSERT_EQ(pages.size(), 5u) << "both long pages are cut in one pass";
    EXPECT_EQ(PointsOf(*pages[1]), (Lines{{{0, 100}, {20000, 100}}}));
    EXPECT_EQ(pages[0]->state, PageState::Auto);
    EXPECT_EQ(pages[1]->state, PageState::Manual);
    EXPECT_EQ(pages[4]->fileName, "b.plt");
    EXPECT_EQ(pages[4]->pageNumber, 3);
}

TEST(SplitAt, WorkedSegments)
{
    struct Row {
        const char* name;
        std::vector<CPoint> segment;
        Lines first;
        Lines second;
    };
    const Row rows[] = {
        {"horizontal line", {{0, 100}, {30000, 100}}, {{{0, 100}, {20000, 100}}}, {{{0, 100}, {10000, 100}}}},
        {"falling back across the cut",
         {{30000, 0}, {10000, 200}},
         {{{20000, 100}, {10000, 200}}},
         {{{10000, 0}, {0, 100}}}},
        {"vertical line at the cut stays", {{20000, 0}, {20000, 500}}, {{{20000, 0}, {20000, 500}}}, {}},
        {"starting at the cut and going on leaves", {{20000, 0}, {20001, 5}}, {}, {{{0, 0}, {1, 5}}}},
        {"ending at the cut from beyond leaves", {{25000, 0}, {20000, 5}}, {}, {{{5000, 0}, {0, 5}}}},
        {"y_cut truncates toward zero", {{0, 0}, {30000, -1}}, {{{0, 0}, {20000, 0}}}, {{{0, 0}, {10000, -1}}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        COnePage p;
        COnePage q;
        p.AddCurve().points = r.segment;
        SplitAt(p, q, 20000);
        EXPECT_EQ(PointsOf(p), r.first);
        EXPECT_EQ(PointsOf(q), r.second);
    }
}

TEST(SplitAt, FarEndsOfTheCoordinateRangeCutWithoutOverflow)
{
    // (a - x0)(y1 - y0) is about 2^63 here.
    constexpr int32_t lo = std::numeric_limits<int32_t>::min();
    constexpr int32_t hi = std::numeric_limits<int32_t>::max();
    COnePage p;
    COnePage q;
    p.AddCurve().points = {{lo, lo}, {hi, hi}};
    SplitAt(p, q, 20000);
    EXPECT_EQ(PointsOf(p), (Lines{{{lo, lo}, {20000, 20000}}}));
    EXPECT_EQ(PointsOf(q), (Lines{{{0, 20000}, {hi - 20000, hi}}}));
}

TEST(SplitAt, KeptSegmentsJoinAgainWithTheirJunctionsDoubledAndTheRestStaysInSegments)
{
    COnePage p;
    COnePage q;
    CCurve& c = AddCurve(p, {{0, 0}, {10000, 50}, {30000, 50}, {30000, 400}, {35000, 400}}, CurveKind::HalfCut);
    c.lineStyle = 1;
    c.selected = 1;
    AddCurve(p, {{1, 1}}, CurveKind::Plot);
    SplitAt(p, q, 20000);
    EXPECT_EQ(PointsOf(p), (Lines{{{0, 0}, {10000, 50}, {10000, 50}, {20000, 50}}}));
    EXPECT_EQ(PointsOf(q), (Lines{{{0, 50}, {10000, 50}}, {{10000, 50}, {10000, 400}}, {{10000, 400}, {15000, 400}}}));
    for (const COnePage* page : {&p, &q}) {
        for (const auto& curve : page->curves) {
            EXPECT_EQ(curve->kind, CurveKind::HalfCut);
            EXPECT_EQ(curve->lineStyle, 1);
            EXPECT_EQ(curve->selected, 1);
        }
    }
    EXPECT_EQ(q.maxX, 15000) << "both pages are measured";
    EXPECT_EQ(p.curves[0]->maxX, 20000);

    COnePage none;
    none.maxX = 3;
    SplitAt(none, q, 20000);
    EXPECT_EQ(none.maxX, 3) << "a page without curves is left as it is";
}

TEST(ExplodeSegments, PiecesInPlaceTwoPointCurvesStayShortOnesGo)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {1, 0}, {2, 0}}, CurveKind::HalfCut).lineStyle = 1;
    AddCurve(page, {{5, 5}}, CurveKind::Plot);
    CCurve& two = AddCurve(page, {{7, 7}, {8, 8}}, CurveKind::Plot);
    two.notch = 1;
    ExplodeSegments(page);
    EXPECT_EQ(PointsOf(page), (Lines{{{0, 0}, {1, 0}}, {{1, 0}, {2, 0}}, {{7, 7}, {8, 8}}}));
    EXPECT_EQ(page.curves[1]->lineStyle, 1);
    EXPECT_EQ(page.curves[1]->kind, CurveKind::HalfCut);
    EXPECT_EQ(page.curves[2]->notch, 1) << "a two-point curve stays itself";
}

TEST(JoinConnected, NeighboursOfOneKindOnly)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {1, 0}});
    AddCurve(page, {{1, 0}, {2, 0}});
    AddCurve(page, {{2, 0}, {3, 0}}, CurveKind::Plot);
    AddCurve(page, {{9, 9}, {0, 0}}); // meets the first curve's start, but is not its neighbour
    JoinConnected(page);
    EXPECT_EQ(PointsOf(page), (Lines{{{0, 0}, {1, 0}, {1, 0}, {2, 0}}, {{2, 0}, {3, 0}}, {{9, 9}, {0, 0}}}));

    page.AddCurve();
    EXPECT_THROW(JoinConnected(page), InvalidArgument);
}

TEST(PaginatePages, AStretchWithNothingOnItGivesNoPage)
{
    Pages pages;
    pages.push_back(std::make_unique<COnePage>());
    AddCurve(*pages[0], {{0, 0}, {1000, 0}}, CurveKind::Plot);
    AddCurve(*pages[0], {{45000, 0}, {50000, 0}}, CurveKind::Plot);
    PaginatePages(pages, PagingAt(500));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0]->pageNumber, 1);
    EXPECT_EQ(pages[1]->pageNumber, 3);
    EXPECT_EQ(PointsOf(*pages[1]), (Lines{{{5000, 0}, {10000, 0}}}));

    // Regression: an empty first piece used to carry the whole drawing's bounds and be cut again without end.
    Pages late;
    late.push_back(std::make_unique<COnePage>());
    AddCurve(*late[0], {{95000, 800}, {80000, 700}}, CurveKind::Plot);
    PaginatePages(late, PagingAt(500));
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0]->pageNumber, 5);
    EXPECT_EQ(PointsOf(*late[0]), (Lines{{{15000, 800}, {0, 700}}}));
}

TEST(PaginatePages, PiecesOfADonePageAreDoneAndAPrintingPageIsNotCut)
{
    Pages pages;
    pages.push_back(LinePage(50000));
    pages[0]->state = PageState::Done;
    pages.push_back(LinePage(50000));
    pages[1]->state = PageState::Printing;
    PaginatePages(pages, PagingAt(500, 1));
    ASSERT_EQ(pages.size(), 4u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(pages[i]->state, PageState::Done) << i;
    EXPECT_EQ(pages[3]->state, PageState::Printing);
    EXPECT_EQ(pages[3]->curves[0]->points.back().x, 50000);
}

TEST(PaginatePages, MatchesPagingByCopiesAndSplitAtOnRandomDrawings)
{
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        test::RandomPages random(seed);
        Pages pages;
        Pages expected;
        // Half the drawings stand on a lattice of quarter page lengths, so ends and vertical strokes fall
        // exactly on the cuts; the others have long strokes at any angle across several pages.
        const bool onCuts = random.Chance(50);
        const int32_t mm = onCuts ? 500 : random.Chance(20) ? random.Int(480, 520) : random.Int(500, 700);
        for (int n = random.Int(0, 3); n > 0; --n) {
            COnePage page = onCuts ? random.Page(random.Int(1, 12), 6, 5000, 20, 0)
                                   : random.Page(random.Int(1, 12), 6, 9000, 8, 3000);
            std::erase_if(page.curves, [](const auto& c) { return c->points.size() < 2; });
            if (page.curves.empty())
                continue; // the clean-up before paging leaves no such page
            page.fileName = "r" + std::to_string(n) + ".plt";
            page.pageNumber = 1;
            page.state = random.Int(0, 1);
            expected.push_back(test::Clone(page));
            pages.push_back(test::Clone(page));
        }
        const bool autoStart = random.Chance(50);
        reference::PaginatePages(expected, mm, autoStart);
        // Stretches with nothing on them give no page here.
        std::erase_if(expected, [](const auto& p) { return p->curves.empty(); });
        PaginatePages(pages, PagingAt(mm, autoStart ? 1 : 0));
        ASSERT_EQ(test::DumpPages(expected), test::DumpPages(pages)) << "seed " << seed << " page length " << mm;
    }
}

} // namespace
} // namespace qv
