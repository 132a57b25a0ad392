#include "output/RasterEngine.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

COnePage PageWithExtent(int32_t plotMaxX, int32_t plotMaxY)
{
    COnePage page;
    page.plotMaxX = plotMaxX;
    page.plotMaxY = plotMaxY;
    return page;
}

MachineParams Params(uint8_t cartridge, uint8_t headsInUse, uint8_t overlap = 1, uint8_t lineWidth = 1)
{
    MachineParams p;
    p.settings.cartridgeType = CartridgeFromByte(cartridge);
    p.settings.headsInUse = headsInUse;
    p.settings.headOverlap = overlap;
    p.settings.plotLineWidth = lineWidth;
    return p;
}

struct PlanCase {
    const char* name;
    int32_t plotMaxX;
    int32_t plotMaxY;
    MachineParams params;
    RasterPlan expected; // n, w, lw, W, H, R, B
};

TEST(RasterPlan, Geometry)
{
    MachineParams wide = Params(0, 1, 1, 3);
    wide.advanced.inkjetIntervalPulses = 10;
    wide.settings.head2Position = 100;
    const PlanCase cases[] = {
        // 500 / 40 / 0.0846667 = 147.64 columns, + 2 = 149.64 -> 150; 503 -> 148.52 + 2 -> 151.
        {"one HP45 head, W = 150: one band", 500, 0, Params(0, 1), {150, 150, 1, 150, 2, 182, 1}},
        {"one HP45 head, W = 151: two bands", 503, 0, Params(0, 2), {150, 150, 1, 151, 2, 182, 2}},
        {"both HP45 heads, overlap 10: w = 290", 503, 0, Params(0, 0, 10), {150, 290, 1, 151, 2, 182, 1}},
        {"both IUT308 heads, overlap 8: w = 608", 4000, 0, Params(1, 0, 8), {308, 608, 1, 1183, 2, 182, 2}},
        {"one IUT308 head", 4000, 0, Params(1, 1), {308, 308, 1, 1183, 2, 182, 4}},
        // Y: 40000 / 40 * 104.25 / 16 = 6515.625, + 2 = 6517.625 -> 6518 rows.
        {"a metre along Y", 0, 40000, Params(0, 0), {150, 299, 1, 2, 6518, 6698, 1}},
        // 1000 / 40 * 104.25 / 10 = 260.625, + 6 -> 267; 100 / 40 / 0.0846667 = 29.53, + 6 -> 36.
        {"line width 3, interval 10, head 2 at 100", 100, 1000, wide, {150, 150, 3, 36, 267, 397, 1}},
        {"line width 0 is drawn as 1", 500, 0, Params(0, 1, 1, 0), {150, 150, 1, 150, 2, 182, 1}},
    };
    for (const PlanCase& c : cases) {
        const RasterPlan p = CRasterEngine::Prepare(PageWithExtent(c.plotMaxX, c.plotMaxY), c.params);
        const RasterPlan& e = c.expected;
        EXPECT_EQ(p.headPixels, e.headPixels) << c.name;
        EXPECT_EQ(p.bandWidth, e.bandWidth) << c.name;
        EXPECT_EQ(p.lineWidth, e.lineWidth) << c.name;
        EXPECT_EQ(p.width, e.width) << c.name;
        EXPECT_EQ(p.height, e.height) << c.name;
        EXPECT_EQ(p.rowsPerBand, e.rowsPerBand) << c.name;
        EXPECT_EQ(p.bands, e.bands) << c.name;
    }
}

TEST(RasterPlan, HalvesRoundUp)
{
    // 1 row per mm: plotMaxY 20 is half a row, + 2 = 2.5 -> 3.
    MachineParams p = Params(0, 1);
    p.advanced.yPulsesPerMm = 16;
    EXPECT_EQ(CRasterEngine::Prepare(PageWithExtent(500, 20), p).height, 3);
    EXPECT_EQ(CRasterEngine::Prepare(PageWithExtent(500, 19), p).height, 2);
}

TEST(RasterPlan, NoPlotExtentGivesNoBandsAndNoRows)
{
    // A page with cut curves only: the start record's R must not be a value from the previous job.
    const RasterPlan before = CRasterEngine::Prepare(PageWithExtent(40000, 40000), Params(0, 0));
    ASSERT_GT(before.rowsPerBand, 0);
    const RasterPlan p = CRasterEngine::Prepare(PageWithExtent(0, 0), Params(0, 0));
    EXPECT_EQ(p.bands, 0);
    EXPECT_EQ(p.rowsPerBand, 0);
    EXPECT_EQ(p.width, 0);
    EXPECT_EQ(p.height, 0);
    EXPECT_TRUE(CRasterEngine::FitsBuffers(p));
    // A vertical line at X 0 still has an extent and one band.
    EXPECT_EQ(CRasterEngine::Prepare(PageWithExtent(0, 400), Params(0, 0)).bands, 1);
}

TEST(RasterPlan, BandsLongerThanTheBuffersAreRefused)
{
    RasterPlan plan;
    const struct {
        const char* name;
        int32_t rowsPerBand;
        bool fits;
    } rows[] = {
        {"R + 30 = 11800", 11770, true},
        {"R + 30 = 11801", 11771, false},
        {"no rows", 0, true},
        {"negative R from a damaged record", -1, false},
        {"saturated R does not overflow", INT32_MAX, false},
    };
    for (const auto& r : rows) {
        plan.rowsPerBand = r.rowsPerBand;
        EXPECT_EQ(CRasterEngine::FitsBuffers(plan), r.fits) << r.name;
    }

    // Head 2 at 150 and twice 30 rows leave 11590 image rows (H) for a band of 11800 rows.
    MachineParams p = Params(0, 0);
    p.advanced.yPulsesPerMm = 16; // one row per mm at interval 16
    EXPECT_TRUE(CRasterEngine::FitsBuffers(CRasterEngine::Prepare(PageWithExtent(400, 11588 * 40), p)));
    EXPECT_FALSE(CRasterEngine::FitsBuffers(CRasterEngine::Prepare(PageWithExtent(400, 11589 * 40), p)));

    // An interval of 0 counts as 1 pulse: 16 rows per mm, refused instead of dividing by zero.
    p.advanced.inkjetIntervalPulses = 0;
    const RasterPlan zero = CRasterEngine::Prepare(PageWithExtent(400, 1000 * 40), p);
    EXPECT_EQ(zero.height, 16002);
    EXPECT_FALSE(CRasterEngine::FitsBuffers(zero));
}

} // namespace
} // namespace qv
