#include "geometry/ImportCleanUp.h"

#include "model/PageState.h"

#include "PageSamples.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::AddCurve;
using test::KindsOf;
using test::PointsOf;

using Lines = std::vector<std::vector<CPoint>>;
using Pages = std::vector<std::unique_ptr<COnePage>>;

ImportOptions Options(int32_t left, int32_t bottom, int32_t outline)
{
    ImportOptions o;
    o.AutoMoveToLeft = left;
    o.AutoMoveToBottom = bottom;
    o.FindOutline = outline;
    return o;
}

TEST(CleanUpImportedPages, TidiesAndMovesOnlyAsAsked)
{
    Pages pages;
    pages.push_back(std::make_unique<COnePage>());
    AddCurve(*pages[0], {{500, 700}, {500, 700}, {600, 700}, {700, 700}, {700, 900}}, CurveKind::Plot);
    EXPECT_TRUE(CleanUpImportedPages(pages, Options(0, 0, 0)));
    EXPECT_EQ(PointsOf(*pages[0]), (Lines{{{500, 700}, {700, 700}, {700, 900}}}));
    EXPECT_EQ(pages[0]->minX, 500);

    EXPECT_TRUE(CleanUpImportedPages(pages, Options(1, 1, 0)));
    EXPECT_EQ(PointsOf(*pages[0]), (Lines{{{0, 0}, {200, 0}, {200, 200}}}));
    EXPECT_EQ(pages[0]->maxX, 200);
}

TEST(CleanUpImportedPages, NegativeCoordinatesGoWhateverTheOptions)
{
    Pages pages;
    pages.push_back(std::make_unique<COnePage>());
    AddCurve(*pages[0], {{-900, -50}, {-100, 300}}, CurveKind::Plot);
    EXPECT_TRUE(CleanUpImportedPages(pages, Options(0, 0, 0)));
    EXPECT_EQ(PointsOf(*pages[0]), (Lines{{{0, 0}, {800, 350}}}));
}

TEST(CleanUpImportedPages, PagesLeftWithoutCurvesAreRemovedAndThePositionHolds)
{
    Pages pages;
    for (int i = 0; i < 4; ++i)
        pages.push_back(std::make_unique<COnePage>());
    AddCurve(*pages[0], {{1, 1}, {1, 1}});
    AddCurve(*pages[1], {{2, 2}});
    AddCurve(*pages[2], {{0, 0}, {5, 5}});
    const COnePage* kept = pages[2].get();
    EXPECT_TRUE(CleanUpImportedPages(pages, Options(1, 1, 0)));
    ASSERT_EQ(pages.size(), 1u) << "two removed in a row, and the empty page at the end";
    EXPECT_EQ(pages[0].get(), kept);
}

TEST(CleanUpImportedPages, FindOutlineJoinsCutsThenRecognises)
{
    Pages pages;
    pages.push_back(std::make_unique<COnePage>());
    // The square's sides as touching full-cut pieces and a half-cut mark inside it.
    AddCurve(*pages[0], {{1000, 1000}, {1800, 1000}});
    AddCurve(*pages[0], {{1800, 1000}, {1800, 1800}, {1000, 1800}});
    AddCurve(*pages[0], {{1000, 1800}, {1000, 1000}});
    AddCurve(*pages[0], {{1200, 1200}, {1300, 1300}}, CurveKind::HalfCut);
    EXPECT_TRUE(CleanUpImportedPages(pages, Options(0, 0, 1)));
    EXPECT_EQ(PointsOf(*pages[0]), (Lines{{{1000, 1000}, {1800, 1000}, {1800, 1800}, {1000, 1800}, {1000, 1000}},
                                          {{1200, 1200}, {1300, 1300}}}));
    EXPECT_EQ(KindsOf(*pages[0]), (std::vector<int32_t>{CurveKind::FullCut, CurveKind::Plot}));
}

TEST(CleanUpImportedPages, APagePrintingIsLeftAsItIs)
{
    Pages pages;
    pages.push_back(std::make_unique<COnePage>());
    AddCurve(*pages[0], {{-5, 5}, {-5, 5}});
    pages[0]->state = PageState::Printing;
    EXPECT_TRUE(CleanUpImportedPages(pages, Options(1, 1, 1)));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(PointsOf(*pages[0]), (Lines{{{-5, 5}, {-5, 5}}}));
}

} // namespace
} // namespace qv
