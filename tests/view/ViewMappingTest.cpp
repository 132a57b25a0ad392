#include "ViewSamples.h"

#include "view/Grid.h"
#include "view/ViewMapping.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

TEST(ViewMapping, FitOfTheDefaultDisplayArea)
{
    CSetDisp disp;
    disp.DispSizeX = 1200;
    disp.DispSizeY = 900;
    disp.viewWidth = 1040;
    disp.viewHeight = 780;
    disp.panX = 55;
    disp.panY = -7;
    FitToWindow(disp);
    // sx = 1000 / 48000, sy = 700 / 36000: the height decides.
    EXPECT_DOUBLE_EQ(disp.pixelsPerUnit, 700.0 / 36000);
    EXPECT_EQ(disp.panX, -20);
    EXPECT_EQ(disp.panY, 0);
    EXPECT_EQ(GridStepMm(disp.pixelsPerUnit), 50);
    EXPECT_EQ(ToScreen(disp, 0, 0), (ScreenPoint{40, 750}));
    EXPECT_EQ(ToModel(disp, {40, 750}), (CPoint{0, 0}));
}

TEST(ViewMapping, FitStaysUsableWithOddSizes)
{
    struct Row {
        const char* name;
        int32_t dispX, dispY, width, height;
        double zoom;
    };
    const Row rows[] = {
        {"a display area of 0 mm from the file counts as 40 mm", 0, 0, 1640, 1680, 1.0},
        {"a huge display area counts as 4000 x 3000 mm", 100000, 100000, 160040, 240080, 1.0},
        {"a window narrower than its margins keeps the smallest zoom", 1200, 900, 20, 20, kMinPixelsPerUnit},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CSetDisp disp;
        disp.DispSizeX = row.dispX;
        disp.DispSizeY = row.dispY;
        disp.viewWidth = row.width;
        disp.viewHeight = row.height;
        FitToWindow(disp);
        EXPECT_DOUBLE_EQ(disp.pixelsPerUnit, row.zoom);
    }
}

TEST(ViewMapping, GridStepByZoom)
{
    const std::pair<double, int32_t> rows[] = {
        {0.0049, 200}, {0.005, 100}, {0.0099, 100}, {0.01, 50}, {0.0199, 50},
        {0.02, 20},    {0.05, 10},   {0.0999, 10},  {0.1, 5},   {3.0, 5},
    };
    for (const auto& [zoom, step] : rows)
        EXPECT_EQ(GridStepMm(zoom), step) << zoom;
}

TEST(ViewMapping, WheelZoomKeepsThePointUnderTheCursor)
{
    CSetDisp disp = UnitDisp();
    disp.pixelsPerUnit = 0.02;
    const ScreenPoint cursor{300, 200};
    const CPoint under = ToModel(disp, cursor);

    ASSERT_TRUE(ZoomAt(disp, cursor, 120));
    EXPECT_DOUBLE_EQ(disp.pixelsPerUnit, 0.025);
    ScreenPoint now = ToScreen(disp, under);
    EXPECT_NEAR(now.x, cursor.x, 1);
    EXPECT_NEAR(now.y, cursor.y, 1);

    ASSERT_TRUE(ZoomAt(disp, cursor, -120));
    EXPECT_DOUBLE_EQ(disp.pixelsPerUnit, 0.02);
    now = ToScreen(disp, under);
    EXPECT_NEAR(now.x, cursor.x, 1);
    EXPECT_NEAR(now.y, cursor.y, 1);

    const CSetDisp before = disp;
    EXPECT_FALSE(ZoomAt(disp, cursor, 0)) << "a horizontal wheel";
    disp.pixelsPerUnit = kMaxPixelsPerUnit;
    EXPECT_FALSE(ZoomAt(disp, cursor, 1)) << "beyond the largest zoom";
    disp.pixelsPerUnit = kMinPixelsPerUnit;
    EXPECT_FALSE(ZoomAt(disp, cursor, -1)) << "beyond the smallest zoom";
    disp.pixelsPerUnit = before.pixelsPerUnit;
    EXPECT_EQ(disp, before);
}

TEST(ViewMapping, FarPointsSaturateInsteadOfOverflowing)
{
    CSetDisp disp = UnitDisp();
    disp.pixelsPerUnit = kMaxPixelsPerUnit;
    EXPECT_EQ(ToScreen(disp, INT32_MAX, INT32_MIN), (ScreenPoint{INT32_MAX, INT32_MAX}));
    EXPECT_EQ(ToScreen(disp, INT32_MIN, INT32_MAX), (ScreenPoint{INT32_MIN, INT32_MIN}));
    disp.panX = INT32_MAX;
    PanBy(disp, {0, 0}, {-10, 0});
    EXPECT_EQ(disp.panX, INT32_MAX);
}

} // namespace
} // namespace qv::test
