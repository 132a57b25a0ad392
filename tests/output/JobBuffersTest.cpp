#include "output/JobBuffers.h"

#include "JobPages.h"

#include "app/MessageCatalog.h"
#include "app/Notifier.h"
#include "output/KnifeList.h"

#include <gtest/gtest.h>

#include <numeric>

namespace qv {
namespace {

using test::AddCurve;
using test::MeasurePlotExtent;

std::string Text(Msg id)
{
    return std::string(MessageText(id, 0));
}

// Knife records as the machine gets them: a move, then full cuts.
KnifeList Knives(std::size_t n)
{
    KnifeList list;
    list.records.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        list.records[i].x = static_cast<int32_t>(i);
        list.records[i].y = static_cast<int32_t>(2 * i);
        list.records[i].code = i == 0 ? 'M' : 'F';
    }
    return list;
}

// Every band of the page built by an engine of its own, in band order.
std::vector<std::vector<uint8_t>> ReferenceBands(const COnePage& page, const MachineParams& params,
                                                 const RasterPlan& plan)
{
    auto engine = std::make_unique<CRasterEngine>();
    std::vector<std::vector<uint8_t>> bands;
    for (int32_t b = 0; b < plan.bands; ++b) {
        const auto bytes = engine->BuildBand(page, params, plan, b);
        bands.emplace_back(bytes.begin(), bytes.end());
    }
    return bands;
}

// Rows of thick plot lines 20 mm apart over `widthMm` x 1700 mm: every nozzle fires on almost every row, so
// each band is about as long as a band gets.
COnePage DenseInkPage(int32_t widthMm)
{
    COnePage page;
    for (int32_t y = 0; y <= 1700; y += 20)
        AddCurve(page, {{0, y * 40}, {widthMm * 40, y * 40}});
    MeasurePlotExtent(page);
    return page;
}

MachineParams ThickPen()
{
    MachineParams params;
    params.settings.plotLineWidth = 200;
    return params;
}

class JobBuffersTest : public ::testing::Test {
protected:
    std::unique_ptr<JobBuffers> buffers = std::make_unique<JobBuffers>();
    std::unique_ptr<CRasterEngine> raster = std::make_unique<CRasterEngine>();
    RecordingNotifier notifier;
    MachineParams params;

    void ExpectEmptyJob() const
    {
        EXPECT_TRUE(buffers->Data().empty());
        EXPECT_TRUE(buffers->Segments().empty());
        EXPECT_EQ(buffers->Header().Encode(), (JobHeader{0, 0}.Encode()));
    }
};

TEST_F(JobBuffersTest, NothingToDoIsAnEmptyJob)
{
    const COnePage page;
    EXPECT_EQ(buffers->Assemble(*raster, page, params, CRasterEngine::Prepare(page, params), KnifeList{}, notifier, 0),
              JobBuffers::Ok);
    ExpectEmptyJob();
    EXPECT_TRUE(notifier.Texts().empty());
}

TEST_F(JobBuffersTest, BandsInOrderThenTheKnifeRecords)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {40 * 60, 40 * 30}, {40 * 45, 40 * 50}});
    AddCurve(page, {{40 * 10, 40 * 40}, {40 * 20, 0}}, 0, CurveKind::PenZero);
    MeasurePlotExtent(page);
    const RasterPlan plan = CRasterEngine::Prepare(page, params);
    ASSERT_EQ(plan.bands, 3);
    const KnifeList knives = Knives(5);

    ASSERT_EQ(buffers->Assemble(*raster, page, params, plan, knives, notifier, 0), JobBuffers::Ok);
    std::vector<uint8_t> expected;
    std::vector<SegmentRecord> table;
    for (const auto& band : ReferenceBands(page, params, plan)) {
        table.push_back({static_cast<uint16_t>(table.size()), static_cast<uint32_t>(band.size()), 'P'});
        expected.insert(expected.end(), band.begin(), band.end());
    }
    std::vector<uint8_t> wire(5 * KnifeList::kWireRecordSize);
    EncodeKnifeData(knives, wire);
    expected.insert(expected.end(), wire.begin(), wire.end());
    table.push_back({3, 60, 'C'});

    EXPECT_EQ(std::vector<uint8_t>(buffers->Data().begin(), buffers->Data().end()), expected);
    ASSERT_EQ(buffers->Segments().size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(buffers->Segments()[i].Encode(), table[i].Encode()) << "segment " << i;
    EXPECT_EQ(buffers->Header().Encode(), (JobHeader{4, 5}.Encode()));

    // The next job starts from nothing: knife data alone is segment 0.
    ASSERT_EQ(buffers->Assemble(*raster, COnePage{}, params, RasterPlan{}, knives, notifier, 0), JobBuffers::Ok);
    EXPECT_EQ(std::vector<uint8_t>(buffers->Data().begin(), buffers->Data().end()), wire);
    ASSERT_EQ(buffers->Segments().size(), 1u);
    EXPECT_EQ(buffers->Segments()[0].Encode(), (SegmentRecord{0, 60, 'C'}.Encode()));
    EXPECT_TRUE(notifier.Texts().empty());
}

// The odd bands come from a second thread; the data must still be what one engine gives band after band. Bands
// of very different lengths (a fan of lines from one corner, a dashed zigzag over part of the page) with an odd
// and an even band count, both cartridges, bidirectional printing shifting the odd bands.
TEST_F(JobBuffersTest, SecondThreadGivesTheBytesOfOneEngine)
{
    for (const int32_t widthMm : {400, 433}) {
        COnePage page;
        for (int32_t k = 0; k <= 12; ++k)
            AddCurve(page, {{0, 0}, {40 * widthMm * k / 12, 40 * (300 - 25 * k)}});
        AddCurve(page, {{40 * 50, 40 * 200}, {40 * 120, 40 * 20}, {40 * 190, 40 * 210}, {40 * 260, 40 * 30}}, 1);
        MeasurePlotExtent(page);
        for (const uint8_t cartridge : {0, 1}) {
            params.settings.cartridgeType = CartridgeFromByte(cartridge);
            params.settings.bidirPrinting = 1;
            params.settings.plotLineWidth = 4;
            const RasterPlan plan = CRasterEngine::Prepare(page, params);
            ASSERT_GT(plan.bands, 4);
            ASSERT_EQ(buffers->Assemble(*raster, page, params, plan, Knives(7), notifier, 0), JobBuffers::Ok);
            std::vector<uint8_t> expected;
            const auto reference = ReferenceBands(page, params, plan);
            for (std::size_t b = 0; b < reference.size(); ++b) {
                EXPECT_EQ(buffers->Segments()[b].length, reference[b].size()) << widthMm << " mm, band " << b;
                expected.insert(expected.end(), reference[b].begin(), reference[b].end());
            }
            std::vector<uint8_t> wire(7 * KnifeList::kWireRecordSize);
            EncodeKnifeData(Knives(7), wire);
            expected.insert(expected.end(), wire.begin(), wire.end());
            EXPECT_EQ(std::vector<uint8_t>(buffers->Data().begin(), buffers->Data().end()), expected)
                << widthMm << " mm, " << plan.bands << " bands, cartridge " << int{cartridge};
        }
    }
}

TEST_F(JobBuffersTest, SegmentTableHoldsTwoHundredEntries)
{
    struct Row {
        const char* name;
        int32_t bands;
        std::size_t knifeRecords;
        JobBuffers::Result result;
        std::size_t segments;
    };
    const Row rows[] = {
        {"199 bands and knife data: 200 entries", 199, 2, JobBuffers::Ok, 200},
        {"199 bands alone", 199, 0, JobBuffers::Ok, 199},
        {"200 bands even without knife data", 200, 0, JobBuffers::TooManyBands, 0},
    };
    for (const Row& row : rows) {
        notifier.Clear();
        const COnePage page = test::PageOfBands(row.bands);
        const RasterPlan plan = CRasterEngine::Prepare(page, params);
        ASSERT_EQ(plan.bands, row.bands) << row.name;
        EXPECT_EQ(buffers->Assemble(*raster, page, params, plan, Knives(row.knifeRecords), notifier, 0), row.result)
            << row.name;
        EXPECT_EQ(buffers->Segments().size(), row.segments) << row.name;
        if (row.result == JobBuffers::TooManyBands) {
            ExpectEmptyJob();
            EXPECT_EQ(notifier.Texts(), std::vector<std::string>{Text(Msg::TooManyBands)}) << row.name;
        } else {
            EXPECT_EQ(buffers->Segments().back().kind, row.knifeRecords ? 'C' : 'P') << row.name;
            EXPECT_TRUE(notifier.Texts().empty()) << row.name;
        }
    }
}

TEST_F(JobBuffersTest, BandsBeyondTheJobBufferFailTheJob)
{
    params = ThickPen();
    const COnePage page = DenseInkPage(400);
    const RasterPlan plan = CRasterEngine::Prepare(page, params);
    ASSERT_TRUE(CRasterEngine::FitsBuffers(plan));
    std::size_t total = 0;
    for (const auto& band : ReferenceBands(page, params, plan))
        total += band.size();
    ASSERT_GE(total, JobBuffers::kDataCapacity) << "the page is meant to overflow the job buffer";

    EXPECT_EQ(buffers->Assemble(*raster, page, params, plan, Knives(3), notifier, 1), JobBuffers::PlotOverflow);
    ExpectEmptyJob();
    EXPECT_EQ(notifier.Texts(), std::vector<std::string>{"Out of memeory"});
}

TEST_F(JobBuffersTest, KnifeDataMustStayBelowTheCapacity)
{
    params = ThickPen();
    const COnePage page = DenseInkPage(300);
    const RasterPlan plan = CRasterEngine::Prepare(page, params);
    std::size_t bands = 0;
    for (const auto& band : ReferenceBands(page, params, plan))
        bands += band.size();
    ASSERT_LT(bands, JobBuffers::kDataCapacity);
    // The most records that keep the data below 7340032 bytes, and one more.
    const std::size_t fit = (JobBuffers::kDataCapacity - 1 - bands) / KnifeList::kWireRecordSize;

    ASSERT_EQ(buffers->Assemble(*raster, page, params, plan, Knives(fit), notifier, 0), JobBuffers::Ok);
    EXPECT_EQ(buffers->Data().size(), bands + fit * KnifeList::kWireRecordSize);
    EXPECT_LT(buffers->Data().size(), JobBuffers::kDataCapacity);
    EXPECT_EQ(buffers->Segments().back().Encode(),
              (SegmentRecord{static_cast<uint16_t>(plan.bands), static_cast<uint32_t>(fit * 12), 'C'}.Encode()));
    EXPECT_TRUE(notifier.Texts().empty());

    EXPECT_EQ(buffers->Assemble(*raster, page, params, plan, Knives(fit + 1), notifier, 0), JobBuffers::CutOverflow);
    ExpectEmptyJob();
    EXPECT_EQ(notifier.Texts(), std::vector<std::string>{Text(Msg::CutDataOverflow)});
}

} // namespace
} // namespace qv
