#include "output/PlotDrawing.h"

#include "RasterTestSupport.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::AddCurve;
using test::Canvas;
using test::PageX;
using test::PageY;

PlotPen Pen(int32_t lineWidth)
{
    return {lineWidth, RowScale{test::kOneRowPerMm, 16}};
}

TEST(PlotDrawing, ShortLineByHand)
{
    // Columns 0 to 5 of row 10; x 17 is 5.02 columns. With lw 1 a point lands on its own pixel.
    COnePage page;
    AddCurve(page, {{0, 400}, {17, 400}});
    Canvas canvas(64, 16);
    DrawPlotCurves(page, Pen(1), 0, canvas.Image());
    EXPECT_EQ(canvas.Row(10, 0, 10), "######....");
    EXPECT_EQ(canvas.Ink(), 6);
}

TEST(PlotDrawing, WidePenAndBandOrigin)
{
    // lw 3: the line's centre row is py + lw - 1 = 12 and its first column lw - 1 = 2; round ends reach one
    // more pixel on either side. Band origin 2 moves everything two columns left.
    COnePage page;
    AddCurve(page, {{PageX(0), PageY(10)}, {PageX(5), PageY(10)}});
    Canvas canvas(64, 20);
    DrawPlotCurves(page, Pen(3), 0, canvas.Image());
    EXPECT_EQ(canvas.Row(10, 0, 12), "............");
    EXPECT_EQ(canvas.Row(11, 0, 12), ".########...");
    EXPECT_EQ(canvas.Row(12, 0, 12), ".########...");
    EXPECT_EQ(canvas.Row(13, 0, 12), ".########...");
    EXPECT_EQ(canvas.Row(14, 0, 12), "............");

    Canvas shifted(64, 20);
    DrawPlotCurves(page, Pen(3), 2, shifted.Image());
    EXPECT_EQ(shifted.Row(12, 0, 12), "#######.....");
}

TEST(PlotDrawing, DashedPenHasFlatEndsAndTheUserPattern)
{
    // 100 on, 40 off, 100 on, 40 off along a line of 400 columns.
    COnePage page;
    AddCurve(page, {{PageX(0), PageY(3)}, {PageX(399), PageY(3)}}, 1);
    Canvas canvas(420, 8);
    DrawPlotCurves(page, Pen(1), 0, canvas.Image());
    const std::string expected = std::string(100, '#') + std::string(40, '.') + std::string(100, '#') +
                                 std::string(40, '.') + std::string(100, '#') + std::string(40, '.');
    EXPECT_EQ(canvas.Row(3, 0, 420), expected);
    EXPECT_EQ(canvas.Ink(), 300);
}

TEST(PlotDrawing, DashesRunOnAcrossCornersAndRestartWithEachCurve)
{
    // An L of 60 + 60 pixels: the first dash covers columns 0 to 59, turns the corner (its round join is pixel
    // (60, 0)) and ends 40 pixels down, at row 39. A second curve starts its own pattern.
    COnePage page;
    AddCurve(page, {{PageX(0), PageY(0)}, {PageX(60), PageY(0)}, {PageX(60), PageY(60)}}, 1);
    AddCurve(page, {{PageX(0), PageY(70)}, {PageX(120), PageY(70)}}, 1);
    Canvas canvas(130, 80);
    DrawPlotCurves(page, Pen(1), 0, canvas.Image());
    int vertical = 0;
    for (int y = 1; y < 61; ++y)
        vertical += canvas.Get(60, y);
    EXPECT_EQ(vertical, 39);
    EXPECT_EQ(canvas.Row(0, 0, 62), std::string(61, '#') + ".");
    EXPECT_EQ(canvas.Row(70, 0, 130), std::string(100, '#') + std::string(30, '.'));
}

TEST(PlotDrawing, OnlyPlotCurvesWithPointsAreDrawn)
{
    COnePage page;
    AddCurve(page, {{PageX(1), PageY(1)}, {PageX(9), PageY(1)}}, 0, CurveKind::HalfCut);
    AddCurve(page, {{PageX(1), PageY(2)}, {PageX(9), PageY(2)}}, 0, CurveKind::FullCut);
    AddCurve(page, {});
    AddCurve(page, {{PageX(4), PageY(4)}});
    AddCurve(page, {{PageX(1), PageY(6)}, {PageX(3), PageY(6)}}, 0, CurveKind::PenZero);
    Canvas canvas(16, 8);
    DrawPlotCurves(page, Pen(1), 0, canvas.Image());
    EXPECT_EQ(canvas.Ink(), 3) << "pen 0 draws; cut curves, empty and one-point curves draw nothing";
    EXPECT_EQ(canvas.Row(6, 0, 5), ".###.");
}

TEST(PlotDrawing, FarPointsDrawWhatANearerOneWould)
{
    // A line from 5.6 million columns away looks like the same line from close by, and a dashed one keeps its
    // phase (5.6 million is 20000 periods of 280).
    const int32_t far = -5600000;
    ASSERT_EQ(RoundToInt32(ColumnsOf(PageX(far))), far);
    const struct {
        const char* name;
        int32_t lineStyle;
        int32_t nearStart;
    } rows[] = {{"solid", 0, -50}, {"dashed", 1, 0}};
    for (const auto& r : rows) {
        COnePage farPage;
        AddCurve(farPage, {{PageX(far), PageY(5)}, {PageX(399), PageY(5)}, {PageX(399), PageY(20)}}, r.lineStyle);
        COnePage nearPage;
        AddCurve(nearPage, {{PageX(r.nearStart), PageY(5)}, {PageX(399), PageY(5)}, {PageX(399), PageY(20)}},
                 r.lineStyle);
        Canvas a(420, 24);
        Canvas b(420, 24);
        DrawPlotCurves(farPage, Pen(2), 0, a.Image());
        DrawPlotCurves(nearPage, Pen(2), 0, b.Image());
        EXPECT_GT(a.Ink(), 200) << r.name;
        for (int y = 0; y < 24; ++y)
            EXPECT_EQ(a.Row(y, 0, 420), b.Row(y, 0, 420)) << r.name << ", row " << y;
    }

    // A vertical line from far below the page.
    COnePage farPage;
    AddCurve(farPage, {{PageX(3), -2000000000}, {PageX(3), PageY(10)}});
    Canvas a(8, 16);
    DrawPlotCurves(farPage, Pen(1), 0, a.Image());
    for (int y = 0; y < 16; ++y)
        EXPECT_EQ(a.Row(y, 0, 8), y <= 10 ? "...#...." : "........") << "row " << y;
}

} // namespace
} // namespace qv
