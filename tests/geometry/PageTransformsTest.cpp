#include "geometry/PageTransforms.h"
#include "geometry/PageStatistics.h"

#include "PageSamples.h"

#include <gtest/gtest.h>
#include <limits>

namespace qv {
namespace {

using test::AddCurve;
using test::PointsOf;

TEST(ScaleAll, UnitFactorsKeepPointsAndCalibrationShrinksALongMachine)
{
    COnePage page;
    AddCurve(page, {{40000, 7}, {-3, 5}});
    ScaleAll(page, 1.0, 1.0);
    EXPECT_EQ(page.curves[0]->points, (std::vector<CPoint>{{40000, 7}, {-3, 5}}));

    // A machine that outputs 1001 mm per metre gets the factor 10000 / 10010.
    ScaleAll(page, 10000.0 / 10010, 0.5);
    EXPECT_EQ(page.curves[0]->points, (std::vector<CPoint>{{39960, 3}, {-2, 2}}));
}

TEST(AddYMargin, MovesEveryPointUpAndCountsTheMarginAsPage)
{
    COnePage page;
    AddCurve(page, {{0, 120}, {50, 300}});
    ComputePageBounds(page);
    AddYMargin(page, 400);
    EXPECT_EQ(page.curves[0]->points, (std::vector<CPoint>{{0, 520}, {50, 700}}));
    EXPECT_EQ(page.minY, 0);
    EXPECT_EQ(page.maxY, 700);
    EXPECT_EQ(page.curves[0]->minY, 520) << "curve bounds follow the translation";

    COnePage empty;
    empty.minY = 5;
    AddYMargin(empty, 400);
    EXPECT_EQ(empty.minY, 5);
}

struct CleaningCase {
    const char* name;
    Cartridge cartridge;
    std::size_t lines;
    int32_t move;
    CPoint firstEnd;
    CPoint lastStart;
    CPoint lastEnd;
};

TEST(AddCleaningPattern, BandsOfBothCartridgeLayouts)
{
    const CleaningCase cases[] = {
        {"HP45", Cartridge::HP45, 1400, 1000, {1000, 0}, {0, 7834}, {1000, 7834}},
        {"IUT308", Cartridge::IUT308, 700, 2080, {2040, 0}, {0, 7634}, {2040, 7634}},
    };
    for (const CleaningCase& c : cases) {
        SCOPED_TRACE(c.name);
        COnePage page;
        AddCurve(page, {{5, 5}, {10, 5}}, CurveKind::FullCut);
        page.maxX = 10;
        AddCleaningPattern(page, c.cartridge);
        ASSERT_EQ(page.curves.size(), 1 + c.lines);
        EXPECT_EQ(page.curves[0]->points, (std::vector<CPoint>{{5 + c.move, 5}, {10 + c.move, 5}}));
        EXPECT_EQ(page.curves[1]->points, (std::vector<CPoint>{{0, 0}, c.firstEnd}));
        EXPECT_EQ(page.curves.back()->points, (std::vector<CPoint>{c.lastStart, c.lastEnd}));
        EXPECT_EQ(page.curves.back()->kind, CurveKind::Plot);
        EXPECT_EQ(page.maxX, 10) << "page bounds are not updated";
        // Band 0 holds y = 0 … 34, then the next band starts one spacing higher.
        EXPECT_EQ(page.curves[35]->points[0].y, 34);
        EXPECT_EQ(page.curves[36]->points[0].y, c.cartridge == Cartridge::HP45 ? 200 : 400);
    }
}

TEST(CorrectSkew, PerpendicularityRows)
{
    struct Row {
        const char* name;
        int32_t correction;
        CPoint point;
        int32_t expectedY;
    };
    const Row rows[] = {
        {"neutral 100 changes nothing", 100, {40000, 0}, 0},
        {"90 is 0.1 degree: tan * 40000 = 69.81 rounds to 70", 90, {40000, 0}, 70},
        {"110 turns the other way: x = maxX keeps its y", 110, {40000, 0}, 0},
        {"110 lifts x = 0 by the full rise", 110, {0, 0}, 70},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        COnePage page;
        AddCurve(page, {r.point, {40000, 1000}});
        page.maxX = 40000;
        CorrectSkew(page, r.correction);
        EXPECT_EQ(page.curves[0]->points[0].y, r.expectedY);
        EXPECT_EQ(page.curves[0]->points[0].x, r.point.x);
    }
}

TEST(ShearY, RoundsToNearestNotTowardZeroAndSaturates)
{
    const double tenthDegree = 0.1 * 3.14159265359 / 180;
    CCurve c;
    c.points = {{40000, 0}, {-40000, 0}, {40000, std::numeric_limits<int32_t>::max()}};
    ShearY(c, tenthDegree, 0);
    EXPECT_EQ(c.points[0].y, 70) << "69.81";
    EXPECT_EQ(c.points[1].y, -70) << "-69.81 goes to the nearest integer, not toward zero";
    EXPECT_EQ(c.points[2].y, std::numeric_limits<int32_t>::max());

    // A negative angle measures from refX: x = refX stays, x = refX - 40000 rises by 70.
    c.points = {{50000, 0}, {10000, 0}};
    ShearY(c, -tenthDegree, 50000);
    EXPECT_EQ(c.points, (std::vector<CPoint>{{50000, 0}, {10000, 70}}));
}

TEST(MoveToLeftAndBottom, TranslateToTheOriginOrLeaveAnEmptyPage)
{
    COnePage page;
    AddCurve(page, {{-500, 300}, {1500, 900}});
    ComputePageBounds(page);
    MoveToLeft(page);
    MoveToBottom(page);
    EXPECT_EQ(page.curves[0]->points, (std::vector<CPoint>{{0, 0}, {2000, 600}}));
    EXPECT_EQ((std::array{page.minX, page.maxX, page.minY, page.maxY}), (std::array{0, 2000, 0, 600}));

    COnePage empty;
    empty.minX = -7;
    empty.maxX = 9;
    MoveToLeft(empty);
    MoveToBottom(empty);
    EXPECT_EQ(empty.minX, -7);
    EXPECT_EQ(empty.maxX, 9);
}

TEST(MoveToLeft, ExtremeBoundsSaturateInsteadOfOverflowing)
{
    COnePage page;
    AddCurve(page, {{std::numeric_limits<int32_t>::min(), 0}, {std::numeric_limits<int32_t>::max(), 0}});
    ComputePageBounds(page);
    MoveToLeft(page);
    EXPECT_EQ(page.minX, 0);
    EXPECT_EQ(page.maxX, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(page.curves[0]->points[0].x, 0);
}

} // namespace
} // namespace qv
