#include "output/RasterEngine.h"

#include "BandDecoder.h"
#include "RasterTestSupport.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace qv {
namespace {

using test::AddCurve;
using test::Bytes;
using test::PageX;
using test::PageY;

// One row per mm, pen width 1: a point at (column c, row r) inks exactly image pixel (c, r).
MachineParams Machine(uint8_t cartridge, uint8_t headsInUse, uint8_t holder, uint8_t bidir, uint8_t head2 = 3)
{
    MachineParams p;
    p.advanced.yPulsesPerMm = test::kOneRowPerMm;
    p.advanced.inkjetIntervalPulses = 16;
    p.advanced.holderType = holder;
    p.settings.cartridgeType = CartridgeFromByte(cartridge);
    p.settings.headsInUse = headsInUse;
    p.settings.bidirPrinting = bidir;
    p.settings.head2Position = head2;
    p.settings.headOverlap = 10;
    p.settings.plotLineWidth = 1;
    return p;
}

void AddDot(COnePage& page, int32_t column, int32_t row)
{
    AddCurve(page, {{PageX(column), PageY(row)}, {PageX(column), PageY(row)}});
}

// A set bit of a band's row records.
struct Hit {
    int row;
    int byte;
    int mask;
    bool operator==(const Hit&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Hit& h)
{
    return os << "{row " << h.row << ", byte " << h.byte << ", mask 0x" << std::hex << h.mask << std::dec << "}";
}

struct Decoded {
    int rows = 0;
    std::vector<Hit> hits;
};

// Expanded with the virtual machine's decoder, written from the format on its own.
Decoded Decode(std::span<const uint8_t> band, int rowBytes)
{
    Decoded d;
    const auto words = sim::ExpandZeroRuns(band);
    EXPECT_TRUE(words.has_value());
    if (!words)
        return d;
    const std::size_t bytes = 2 * words->size();
    EXPECT_EQ(bytes % static_cast<std::size_t>(rowBytes), 0u);
    d.rows = static_cast<int>(bytes / static_cast<std::size_t>(rowBytes));
    for (std::size_t i = 0; i < bytes; ++i) {
        const auto byte = static_cast<int>(((*words)[i / 2] >> (8 * (i % 2))) & 0xFF);
        if (byte != 0)
            d.hits.push_back({static_cast<int>(i) / rowBytes, static_cast<int>(i) % rowBytes, byte});
    }
    return d;
}

TEST(RasterEngine, TinyBandGoldenBytes)
{
    // One "HP45" head, head 2 position 2: H = 10 + 2 = 12, R = 12 + 2 + 30 = 44, 74 rows of 22 words.
    // The line inks columns 0 to 5 of image row 10: nozzles 0, 1, 2, 3, 4, 5 are group 0, 15, 8, 1, 16, 9, bit 0.
    // Row 10 is bytes 0, 1, 8, 9, 15, 16 = 1: words 0x0101, 0, 0, 0, 0x0101, 0, 0, 0x0100, 0x0001, then 13 zeros.
    COnePage page;
    AddCurve(page, {{0, 400}, {17, 400}});
    test::MeasurePlotExtent(page);
    const MachineParams params = Machine(0, 1, 0, 1, 2);
    const RasterPlan plan = CRasterEngine::Prepare(page, params);
    ASSERT_EQ(plan.rowsPerBand, 44);
    ASSERT_EQ(plan.bands, 1);
    CRasterEngine engine;
    const auto band = engine.BuildBand(page, params, plan, 0);
    const Bytes expected = Bytes{0, 0}
                               .U16(220) // rows 0 to 9
                               .U16(0x0101)
                               .Add({0, 0})
                               .U16(3)
                               .U16(0x0101)
                               .Add({0, 0})
                               .U16(2)
                               .U16(0x0100)
                               .U16(0x0001)
                               .Add({0, 0})
                               .U16(13 + 63 * 22); // the rest of row 10, rows 11 to 73
    EXPECT_EQ(std::vector<uint8_t>(band.begin(), band.end()), expected.vec());
}

TEST(RasterEngine, BlankBandIsOneRunPair)
{
    // A plot extent without ink in this band: (R + 30) x 22 zero words in one pair.
    COnePage page;
    page.plotMaxX = PageX(400);
    page.plotMaxY = PageY(100);
    const MachineParams params = Machine(0, 1, 0, 1, 150);
    const RasterPlan plan = CRasterEngine::Prepare(page, params);
    CRasterEngine engine;
    const auto band = engine.BuildBand(page, params, plan, 1);
    const int words = (plan.rowsPerBand + 30) * 22;
    ASSERT_LE(words, 65000);
    const Bytes expected = Bytes{0, 0}.U16(static_cast<uint16_t>(words));
    EXPECT_EQ(std::vector<uint8_t>(band.begin(), band.end()), expected.vec());
}

struct Placement {
    const char* name;
    MachineParams params;
    int band;
    std::vector<int> columns; // page columns of the dots, all on image row 5
    std::vector<Hit> expected;
};

TEST(RasterEngine, HeadPlacement)
{
    // Head 2 position d = 3, overlap 10. "HP45": n = 150, both heads w = 290; "IUT308": n = 308, w = 606.
    // HP45 nozzle 21 is group 7 bit 1; nozzle 10 group 18 bit 0; nozzle 149 group 13 bit 6; nozzle 145 group 19
    // bit 6. IUT308 nozzle 0 is group 21 bit 3, nozzle 10 group 3 bit 3, nozzle 307 group 36 bit 2.
    const Placement rows[] = {
        {"HP45 both, holder 0: head 2 trails", Machine(0, 0, 0, 1), 0, {21, 150}, {{5, 7, 0x02}, {8, 22 + 18, 0x01}}},
        {"HP45 both, holder 1: head 1 trails", Machine(0, 0, 1, 1), 0, {21, 150}, {{5, 22 + 18, 0x01}, {8, 7, 0x02}}},
        {"HP45 both, odd band printed both ways: one row less",
         Machine(0, 0, 0, 1),
         1,
         {290 + 21, 290 + 150},
         {{5, 7, 0x02}, {7, 22 + 18, 0x01}}},
        {"HP45 both, odd band printed one way",
         Machine(0, 0, 0, 0),
         1,
         {290 + 21, 290 + 150},
         {{5, 7, 0x02}, {8, 22 + 18, 0x01}}},
        {"HP45 both, holder 1, odd band both ways",
         Machine(0, 0, 1, 1),
         1,
         {290 + 21, 290 + 150},
         {{5, 22 + 18, 0x01}, {7, 7, 0x02}}},
        {"HP45 both: the last column of the band is head 2's nozzle 149",
         Machine(0, 0, 0, 1),
         0,
         {289, 290},
         {{8, 22 + 13, 0x40}}},
        {"HP45 both: head 2's first overlap nozzles stay off", Machine(0, 0, 0, 1), 0, {145}, {{5, 19, 0x40}}},
        {"HP45 head 1 alone, whatever the holder", Machine(0, 1, 1, 1), 1, {150 + 21}, {{5, 7, 0x02}}},
        {"HP45 head 2 alone: head 2's map, d rows later", Machine(0, 2, 1, 1), 0, {21}, {{8, 22 + 7, 0x02}}},
        {"HP45 head 2 alone, odd band both ways", Machine(0, 2, 0, 1), 1, {150 + 21}, {{7, 22 + 7, 0x02}}},
        {"IUT308 both, holder 1, odd band both ways: head 2 trails by d",
         Machine(1, 0, 1, 1),
         1,
         {606 + 0, 606 + 308},
         {{5, 21, 0x08}, {8, 44 + 3, 0x08}}},
        {"IUT308 head 2 alone", Machine(1, 2, 0, 1), 0, {307}, {{8, 44 + 36, 0x04}}},
        {"IUT308 head 1 alone", Machine(1, 1, 1, 1), 0, {307}, {{5, 36, 0x04}}},
    };
    CRasterEngine engine;
    for (const Placement& p : rows) {
        COnePage page;
        for (const int c : p.columns)
            AddDot(page, c, 5);
        AddDot(page, 1300, 5); // far right, so that every page has at least the bands asked for
        test::MeasurePlotExtent(page);
        const RasterPlan plan = CRasterEngine::Prepare(page, p.params);
        ASSERT_GT(plan.bands, p.band) << p.name;
        const auto band = engine.BuildBand(page, p.params, plan, p.band);
        const Decoded d = Decode(band, p.params.settings.cartridgeType == Cartridge::IUT308 ? 88 : 44);
        EXPECT_EQ(d.rows, plan.rowsPerBand + 30) << p.name;
        EXPECT_EQ(d.hits, p.expected) << p.name;
    }
}

TEST(RasterEngine, BidirectionalShiftOfOddBands)
{
    // Head 2 position 120: "HP45" band 0 shifts the trailing head by 120 rows, band 1 by 119; "IUT308" never.
    for (const uint8_t cartridge : {0, 1}) {
        const MachineParams params = Machine(cartridge, 0, 0, 1, 120);
        const int n = cartridge == 1 ? 308 : 150;
        const int w = 2 * n - 10;
        COnePage page;
        AddDot(page, n, 0);
        AddDot(page, w + n, 0);
        test::MeasurePlotExtent(page);
        const RasterPlan plan = CRasterEngine::Prepare(page, params);
        CRasterEngine engine;
        const int rowBytes = 2 * (cartridge == 1 ? 44 : 22);
        const Decoded band0 = Decode(engine.BuildBand(page, params, plan, 0), rowBytes);
        const Decoded band1 = Decode(engine.BuildBand(page, params, plan, 1), rowBytes);
        ASSERT_EQ(band0.hits.size(), 1u);
        ASSERT_EQ(band1.hits.size(), 1u);
        EXPECT_EQ(band0.hits[0].row, 120) << "cartridge " << int{cartridge};
        EXPECT_EQ(band1.hits[0].row, cartridge == 1 ? 120 : 119) << "cartridge " << int{cartridge};
    }
}

TEST(RasterEngine, RowsBeyondTheImageAndTheLast30StayBlank)
{
    const MachineParams params = Machine(0, 0, 0, 0, 7);
    COnePage page;
    AddDot(page, 150, 20); // head 2's nozzle 10 on image row 20
    test::MeasurePlotExtent(page);
    RasterPlan plan = CRasterEngine::Prepare(page, params);
    ASSERT_EQ(plan.height, 22);
    CRasterEngine engine;
    Decoded d = Decode(engine.BuildBand(page, params, plan, 0), 44);
    ASSERT_EQ(d.hits.size(), 1u);
    EXPECT_EQ(d.hits[0].row, 20 + 7);
    EXPECT_EQ(d.rows, plan.rowsPerBand + 30);
    EXPECT_EQ(plan.height - 1 + 7, plan.rowsPerBand - 31) << "the last image row lands before the 30 blank rows";

    // Page statistics that stop short of the ink: rows at or beyond H read as blank.
    page.plotMaxY = PageY(17);
    plan = CRasterEngine::Prepare(page, params);
    ASSERT_EQ(plan.height, 19);
    d = Decode(engine.BuildBand(page, params, plan, 0), 44);
    EXPECT_TRUE(d.hits.empty());
    EXPECT_EQ(d.rows, plan.rowsPerBand + 30);
}

TEST(RasterEngine, RefusesWhatDoesNotFit)
{
    const MachineParams hp45 = Machine(0, 0, 0, 1);
    COnePage page;
    AddDot(page, 10, 10);
    test::MeasurePlotExtent(page);
    const RasterPlan plan = CRasterEngine::Prepare(page, hp45);
    CRasterEngine engine;
    ASSERT_FALSE(engine.BuildBand(page, hp45, plan, 0).empty());
    EXPECT_TRUE(engine.BuildBand(page, hp45, plan, -1).empty()) << "band before the first";
    EXPECT_TRUE(engine.BuildBand(page, hp45, plan, plan.bands).empty()) << "band after the last";

    RasterPlan tooLong = plan;
    tooLong.rowsPerBand = CRasterEngine::kMaxBandRows - 29;
    EXPECT_TRUE(engine.BuildBand(page, hp45, tooLong, 0).empty()) << "R + 30 = 11801";
    tooLong.rowsPerBand = CRasterEngine::kMaxBandRows - 30;
    EXPECT_EQ(Decode(engine.BuildBand(page, hp45, tooLong, 0), 44).rows, CRasterEngine::kMaxBandRows);

    const RasterPlan iut = CRasterEngine::Prepare(page, Machine(1, 0, 0, 1));
    EXPECT_TRUE(engine.BuildBand(page, hp45, iut, 0).empty()) << "plan made for the other cartridge";
}

TEST(RasterEngine, StaysInsideItsBuffersWhateverTheRecordsSay)
{
    // Values beyond the dialogs' ranges and a plan that disagrees with itself; run under the sanitizers this
    // shows that no band writes or reads past its buffers.
    COnePage page;
    AddCurve(page, {{-2000000000, -2000000000}, {PageX(700), PageY(60)}, {2000000000, PageY(30)}}, 1);
    AddCurve(page, {{PageX(5), PageY(1)}, {PageX(690), PageY(58)}});
    page.plotMaxX = PageX(700);
    page.plotMaxY = PageY(60);
    CRasterEngine engine;
    for (const uint8_t cartridge : {0, 1, 9}) {
        for (const uint8_t heads : {0, 1, 2, 3}) {
            MachineParams p = Machine(cartridge, heads, 1, 1, 255);
            p.settings.headOverlap = 255;
            p.settings.plotLineWidth = 255;
            RasterPlan plan = CRasterEngine::Prepare(page, p);
            ASSERT_TRUE(CRasterEngine::FitsBuffers(plan));
            plan.height = CRasterEngine::kMaxBandRows + 5; // more image rows than the band has
            const int rowBytes = cartridge == 1 ? 88 : 44;
            for (int32_t b = 0; b < plan.bands; ++b)
                EXPECT_EQ(Decode(engine.BuildBand(page, p, plan, b), rowBytes).rows, plan.rowsPerBand + 30);
        }
    }
}

} // namespace
} // namespace qv
