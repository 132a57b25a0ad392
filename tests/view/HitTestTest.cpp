#include "ViewSamples.h"

#include "view/HitTest.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

CCurve Curve(std::initializer_list<CPoint> points)
{
    CCurve c;
    c.points = points;
    return c;
}

TEST(NearSegment, ReachesFourPixelsBesideAndBeyond)
{
    // At one unit per pixel (x + 40, 570 - y): the horizontal segment runs from (140, 470) to (340, 470), the
    // diagonal one from (140, 470) up to (340, 270).
    const CCurve horizontal = Curve({{100, 100}, {300, 100}});
    const CCurve diagonal = Curve({{100, 100}, {300, 300}});
    struct Row {
        const char* name;
        const CCurve& curve;
        ScreenPoint click;
        bool hit;
    };
    const Row rows[] = {
        {"on the line", horizontal, {240, 470}, true},
        {"3 px beside the middle", horizontal, {240, 473}, true},
        {"3 px above the middle", horizontal, {240, 467}, true},
        {"6 px beside the middle", horizontal, {240, 476}, false},
        {"3 px beyond the end point", horizontal, {343, 470}, true},
        {"3 px before the start point", horizontal, {137, 470}, true},
        {"6 px beyond the end point", horizontal, {346, 470}, false},
        {"diagonal, 2.8 px beside the middle", diagonal, {242, 372}, true},
        {"diagonal, 5.7 px beside the middle", diagonal, {244, 374}, false},
        {"diagonal, 3 px beyond the end on its line", diagonal, {342, 268}, true},
    };
    const CSetDisp disp = UnitDisp();
    for (const Row& row : rows)
        EXPECT_EQ(NearSegment(row.curve, disp, row.click), row.hit) << row.name;

    EXPECT_FALSE(NearSegment(Curve({{100, 100}}), disp, {140, 470})) << "one point has no segment";
    EXPECT_FALSE(NearSegment(Curve({}), disp, {140, 470})) << "no points";
    EXPECT_TRUE(NearSegment(Curve({{0, 0}, {5, 5}, {100, 100}, {300, 100}}), disp, {240, 473}))
        << "the last segment of several";
}

TEST(AllPointsInRect, RightAndBottomEdgesAreOutside)
{
    const CSetDisp disp = UnitDisp();
    const CCurve curve = Curve({{100, 100}, {300, 200}}); // (140, 470) and (340, 370)
    EXPECT_TRUE(AllPointsInRect(curve, disp, {140, 370, 341, 471}));
    EXPECT_FALSE(AllPointsInRect(curve, disp, {140, 370, 340, 471}));
    EXPECT_FALSE(AllPointsInRect(curve, disp, {140, 370, 341, 470}));
    EXPECT_FALSE(AllPointsInRect(curve, disp, {141, 370, 341, 471}));
    EXPECT_TRUE(AllPointsInRect(Curve({}), disp, {0, 0, 0, 0}));
}

TEST(SegmentsCross, OnlyCrossingsStrictlyInsideBoth)
{
    struct Row {
        const char* name;
        DoublePoint a1, a2, b1, b2;
        bool cross;
    };
    const Row rows[] = {
        {"an X", {0, 0}, {10, 10}, {0, 10}, {10, 0}, true},
        {"vertical across horizontal", {5, -5}, {5, 5}, {0, 0}, {10, 0}, true},
        {"vertical across a slope", {5, 0}, {5, 10}, {0, 0}, {10, 10}, true},
        {"meeting at an end", {0, 0}, {10, 0}, {10, 0}, {10, 10}, false},
        {"an end on the other's middle", {0, 0}, {10, 0}, {5, 0}, {5, 10}, false},
        {"both vertical", {0, 0}, {0, 10}, {0, 5}, {0, 20}, false},
        {"parallel slopes", {0, 0}, {10, 10}, {0, 1}, {10, 11}, false},
        {"the lines cross outside the segments", {0, 0}, {1, 1}, {5, 0}, {6, -1}, false},
        {"vertical beside a short segment", {20, -5}, {20, 5}, {0, 0}, {10, 0}, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SegmentsCross(row.a1, row.a2, row.b1, row.b2), row.cross) << row.name;
        EXPECT_EQ(SegmentsCross(row.b1, row.b2, row.a1, row.a2), row.cross) << row.name << ", swapped";
        EXPECT_EQ(SegmentsCross(row.a2, row.a1, row.b2, row.b1), row.cross) << row.name << ", reversed";
    }
}

} // namespace
} // namespace qv::test
