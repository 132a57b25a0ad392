// Seeded random pages through the raster engine and back through the virtual machine's band decoder, which was
// written from the band format on its own: what the machine prints must be the page's plot curves drawn whole,
// pixel for pixel, once the decoder has undone the head shifts.
#include "output/RasterEngine.h"

#include "BandDecoder.h"
#include "PrintedImageCheck.h"

#include <gtest/gtest.h>

#include <random>

namespace qv {
namespace {

MachineParams RandomMachine(std::mt19937& rng)
{
    MachineParams p;
    p.settings.cartridgeType = CartridgeFromByte(static_cast<uint8_t>(rng() % 2));
    p.settings.headsInUse = static_cast<uint8_t>(rng() % 3);
    p.advanced.holderType = static_cast<uint8_t>(rng() % 2);
    p.settings.bidirPrinting = static_cast<uint8_t>(rng() % 2);
    p.settings.headOverlap = static_cast<uint8_t>(rng() % 21);
    p.settings.head2Position = static_cast<uint8_t>(100 + rng() % 151);
    p.settings.plotLineWidth = static_cast<uint8_t>(1 + rng() % 5);
    p.advanced.inkjetIntervalPulses = static_cast<uint8_t>(std::array{8, 16, 30}[rng() % 3]);
    p.advanced.yPulsesPerMm = std::array{104.25, 80.0}[rng() % 2];
    return p;
}

// Up to four bands across and a few hundred rows along, some curves reaching past the page's edges.
COnePage RandomPage(std::mt19937& rng, const MachineParams& p)
{
    const int32_t bandWidth = p.settings.headsInUse == 0
                                  ? 2 * (p.settings.cartridgeType == Cartridge::IUT308 ? 308 : 150) - 20
                                  : (p.settings.cartridgeType == Cartridge::IUT308 ? 308 : 150);
    const auto maxX = static_cast<int32_t>(test::PageX(static_cast<int32_t>(bandWidth * (1 + rng() % 35) / 10)));
    const auto maxY = static_cast<int32_t>(40 + rng() % 4000);
    COnePage page;
    const int curves = 3 + static_cast<int>(rng() % 20);
    for (int c = 0; c < curves; ++c) {
        CCurve& curve = page.AddCurve();
        curve.kind = static_cast<int32_t>(rng() % 4); // cut curves must not print
        curve.lineStyle = rng() % 3 == 0 ? 1 : 0;
        const std::size_t points = rng() % 12;
        for (std::size_t i = 0; i < points; ++i)
            curve.AddPoint(static_cast<int32_t>(rng() % (maxX + 200)) - 100,
                           static_cast<int32_t>(rng() % (maxY + 80)) - 40);
    }
    test::MeasurePlotExtent(page);
    return page;
}

TEST(RasterCrossCheck, PrintedImageIsThePageDrawnWhole)
{
    CRasterEngine engine; // one engine for all jobs, as in the process: nothing may carry over
    int checkedBands = 0;
    for (uint32_t seed = 1; seed <= 120; ++seed) {
        std::mt19937 rng(seed);
        const MachineParams params = RandomMachine(rng);
        const COnePage page = RandomPage(rng, params);
        const RasterPlan plan = CRasterEngine::Prepare(page, params);
        if (plan.bands == 0)
            continue;
        ASSERT_TRUE(CRasterEngine::FitsBuffers(plan));

        const sim::RasterSetup setup{static_cast<uint8_t>(params.settings.cartridgeType),
                                     params.settings.headsInUse,
                                     params.settings.headOverlap,
                                     params.settings.head2Position,
                                     params.settings.bidirPrinting,
                                     params.advanced.holderType};
        sim::PrintedImage printed;
        for (int32_t b = 0; b < plan.bands; ++b) {
            const auto band = engine.BuildBand(page, params, plan, b);
            const sim::BandResult r = sim::DecodeBand(setup, b, plan.rowsPerBand, band, printed);
            for (const std::string& e : r.errors)
                ADD_FAILURE() << "seed " << seed << ": " << e;
            EXPECT_EQ(r.offMaterial, 0) << "seed " << seed << ", band " << b;
            ++checkedBands;
        }

        const test::PrintDifference d = test::ComparePrinted(printed, page, params, plan);
        for (const std::string& pixel : d.first)
            ADD_FAILURE() << "seed " << seed << " (cartridge " << int{setup.cartridgeType} << ", heads "
                          << int{setup.headsInUse} << ", holder " << int{setup.holderType} << ", both ways "
                          << int{setup.bidirPrinting} << "): " << pixel;
        EXPECT_EQ(d.pixels, 0) << "seed " << seed;
        EXPECT_EQ(printed.InkPixels(), d.drawnInk) << "seed " << seed;
    }
    EXPECT_GT(checkedBands, 150);
}

} // namespace
} // namespace qv
