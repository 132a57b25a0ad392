#include "output/RasterEngine.h"

#include "model/Rounding.h"
#include "output/BandCompressor.h"
#include "output/NozzleMap.h"
#include "output/PlotDrawing.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

namespace qv {

namespace {

constexpr int32_t kImageWidth = 640;
constexpr int32_t kImageStride = kImageWidth / 8;
constexpr std::size_t kMaxRows = CRasterEngine::kMaxBandRows;
constexpr std::size_t kImageBytes = kMaxRows * kImageStride; // 944000
constexpr std::size_t kRowBytes = kMaxRows * 88;             // 1038400: IUT308 rows, the wider of the two
constexpr std::size_t kOutputBytes = 2 * kRowBytes;          // 2076800: one word can become two

bool IsIut308(const MachineSettings& s)
{
    return s.cartridgeType == Cartridge::IUT308;
}

// One head's share of a band: image columns [firstPixel, endPixel) fire nozzles firstNozzle onwards, into the
// head's part of the row record `rowShift` rows after the image row.
struct HeadFeed {
    int32_t firstPixel = 0;
    int32_t endPixel = 0;
    int32_t firstNozzle = 0;
    int32_t byteOffset = 0;
    int32_t rowShift = 0;
};

struct BandLayout {
    std::array<HeadFeed, 2> heads;
    int32_t headCount = 0;
    int32_t imageWidth = 0; // columns any head reads
};

// Heads in use: 0 both; 2 head 2 alone; any other value head 1 alone.
BandLayout LayoutOf(const MachineParams& params, const NozzleMap& map, int32_t band)
{
    const MachineSettings& s = params.settings;
    const int32_t n = map.nozzles;
    int32_t d = s.head2Position;
    // "HP45" heads printing bidirectionally sit one row closer on the way back.
    if (!IsIut308(s) && s.bidirPrinting != 0 && band % 2 == 1)
        d -= 1;

    BandLayout layout;
    if (s.headsInUse == 0) {
        const int32_t end = std::max(n, 2 * n - s.headOverlap);
        const bool head1Trails = !IsIut308(s) && params.advanced.holderType == 1;
        layout.heads[0] = {0, n, 0, 0, head1Trails ? d : 0};
        // Head 2's first `overlap` nozzles print columns head 1 already covers, so they stay off.
        layout.heads[1] = {n, end, s.headOverlap, map.groups, head1Trails ? 0 : d};
        layout.headCount = 2;
        layout.imageWidth = end;
    } else {
        const bool head2 = s.headsInUse == 2;
        layout.heads[0] = {0, n, 0, head2 ? map.groups : 0, head2 ? d : 0};
        layout.headCount = 1;
        layout.imageWidth = n;
    }
    return layout;
}

// Sets the nozzle bits of image row `row` for one head. Target rows outside the band are dropped, whatever
// the head distance says.
void FeedRow(const OneBitImage& image, int32_t row, const HeadFeed& head, const NozzleMap& map, uint8_t* rows,
             int32_t rowCount, int32_t rowBytes)
{
    const int64_t target = static_cast<int64_t>(row) + head.rowShift;
    if (target < 0 || target >= rowCount)
        return;
    uint8_t* out = rows + target * rowBytes + head.byteOffset;
    for (int32_t k = head.firstPixel / 32; 32 * k < head.endPixel; ++k) {
        // Pixel 32k + j is bit 31 - j.
        uint32_t bits = image.Word(row, k);
        if (32 * k < head.firstPixel)
            bits &= ~0u >> (head.firstPixel - 32 * k);
        if (32 * k + 32 > head.endPixel)
            bits &= ~(~0u >> (head.endPixel - 32 * k));
        while (bits != 0) {
            const int32_t j = std::countl_zero(bits);
            bits &= ~(0x80000000u >> j);
            const NozzleMap::Slot slot =
                map.slot[static_cast<std::size_t>(32 * k + j - head.firstPixel + head.firstNozzle)];
            out[slot.group] |= slot.mask;
        }
    }
}

} // namespace

struct CRasterEngine::Buffers {
    std::vector<uint8_t> image = std::vector<uint8_t>(kImageBytes);
    std::vector<uint8_t> rows = std::vector<uint8_t>(kRowBytes);
    std::vector<uint8_t> output = std::vector<uint8_t>(kOutputBytes);
};

CRasterEngine::CRasterEngine() : buffers_(std::make_unique<Buffers>()) {}

CRasterEngine::~CRasterEngine() = default;

RasterPlan CRasterEngine::Prepare(const COnePage& jobPage, const MachineParams& params)
{
    const MachineSettings& s = params.settings;
    RasterPlan plan;
    plan.headPixels = NozzleMapOf(s.cartridgeType).nozzles;
    plan.bandWidth = s.headsInUse == 0 ? 2 * plan.headPixels - s.headOverlap : plan.headPixels;
    plan.lineWidth = std::max<int32_t>(s.plotLineWidth, 1);
    if (jobPage.plotMaxX == 0 && jobPage.plotMaxY == 0)
        return plan;
    const double margin = 2.0 * plan.lineWidth;
    plan.width = RoundToInt32(ColumnsOf(jobPage.plotMaxX) + margin);
    plan.height = RoundToInt32(RowScale::Of(params.advanced).RowsOf(jobPage.plotMaxY) + margin);
    plan.rowsPerBand = SaturateToInt32(static_cast<int64_t>(plan.height) + s.head2Position + 30);
    plan.bands =
        plan.width > 0 ? SaturateToInt32((static_cast<int64_t>(plan.width) + plan.bandWidth - 1) / plan.bandWidth) : 0;
    return plan;
}

std::span<const uint8_t> CRasterEngine::BuildBand(const COnePage& jobPage, const MachineParams& params,
                                                  const RasterPlan& plan, int32_t band)
{
    const NozzleMap& map = NozzleMapOf(params.settings.cartridgeType);
    if (!FitsBuffers(plan) || band < 0 || band >= plan.bands || plan.headPixels != map.nozzles)
        return {};

    const int32_t rowCount = plan.rowsPerBand + 30;
    const int32_t rowBytes = map.RowBytes();
    uint8_t* rows = buffers_->rows.data();
    std::fill_n(rows, static_cast<std::size_t>(rowCount) * rowBytes, uint8_t{0});

    const BandLayout layout = LayoutOf(params, map, band);
    const int32_t imageRows = std::clamp(plan.height, 0, CRasterEngine::kMaxBandRows);
    const OneBitImage image{buffers_->image.data(), layout.imageWidth, imageRows, kImageStride};
    std::fill_n(image.bits, static_cast<std::size_t>(imageRows) * kImageStride, uint8_t{0});
    const PlotPen pen{plan.lineWidth, RowScale::Of(params.advanced)};
    DrawPlotCurves(jobPage, pen, static_cast<int64_t>(band) * plan.bandWidth, image);

    // Rows at or beyond H stay blank, and so do the last 30 of the band.
    const int32_t scanRows = std::min(imageRows, plan.rowsPerBand);
    for (int32_t i = 0; i < scanRows; ++i) {
        for (int32_t h = 0; h < layout.headCount; ++h)
            FeedRow(image, i, layout.heads[static_cast<std::size_t>(h)], map, rows, rowCount, rowBytes);
    }

    const auto length = CompressZeroRuns({rows, static_cast<std::size_t>(rowCount) * rowBytes}, buffers_->output);
    if (!length)
        return {};
    return {buffers_->output.data(), *length};
}

} // namespace qv
