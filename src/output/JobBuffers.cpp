#include "output/JobBuffers.h"

#include "app/MessageCatalog.h"
#include "app/Notifier.h"
#include "output/KnifeList.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>

namespace qv {

JobBuffers::JobBuffers()
    : data_(std::make_unique_for_overwrite<uint8_t[]>(kDataCapacity)), oddRaster_(std::make_unique<CRasterEngine>()),
      oddData_(std::make_unique_for_overwrite<uint8_t[]>(kDataCapacity))
{
}

bool JobBuffers::BuildBands(CRasterEngine& raster, const COnePage& jobPage, const MachineParams& params,
                            const RasterPlan& plan, std::size_t first, uint8_t* out, std::size_t& used,
                            std::span<uint32_t> sizes)
{
    used = 0;
    for (std::size_t band = first; band < sizes.size(); band += 2) {
        const std::span<const uint8_t> bytes = raster.BuildBand(jobPage, params, plan, static_cast<int32_t>(band));
        if (used + bytes.size() >= kDataCapacity)
            return false;
        std::copy(bytes.begin(), bytes.end(), out + used);
        used += bytes.size();
        sizes[band] = static_cast<uint32_t>(bytes.size());
    }
    return true;
}

JobBuffers::Result JobBuffers::Fail(Result result, Notifier& notifier, int32_t language)
{
    const Msg id = result == TooManyBands   ? Msg::TooManyBands
                   : result == PlotOverflow ? Msg::PlotDataOverflow
                                            : Msg::CutDataOverflow;
    used_ = 0;
    segmentCount_ = 0;
    knifeRecords_ = 0;
    notifier.Show(MessageText(id, language), "", MsgButtons::Ok, MsgIcon::Error);
    return result;
}

JobBuffers::Result JobBuffers::Assemble(CRasterEngine& raster, const COnePage& jobPage, const MachineParams& params,
                                        const RasterPlan& plan, const KnifeList& knives, Notifier& notifier,
                                        int32_t language)
{
    used_ = 0;
    segmentCount_ = 0;
    knifeRecords_ = 0;
    if (plan.bands < 0 || static_cast<std::size_t>(plan.bands) + 1 > kMaxSegments)
        return Fail(TooManyBands, notifier, language);

    const auto bands = static_cast<std::size_t>(plan.bands);
    std::array<uint32_t, kMaxSegments> sizes{};
    const std::span<uint32_t> bandSizes(sizes.data(), bands);
    std::size_t evenUsed = 0;
    std::size_t oddUsed = 0;
    bool oddFit = true;
    {
        const auto odd = [&] {
            oddFit = BuildBands(*oddRaster_, jobPage, params, plan, 1, oddData_.get(), oddUsed, bandSizes);
        };
        std::jthread helper;
        if (bands > 1) {
            try {
                helper = std::jthread(odd);
            } catch (const std::system_error&) {
                odd(); // no thread to be had: the same bands, one after the other
            }
        }
        const bool evenFit = BuildBands(raster, jobPage, params, plan, 0, data_.get(), evenUsed, bandSizes);
        if (helper.joinable())
            helper.join();
        if (!evenFit || !oddFit || evenUsed + oddUsed >= kDataCapacity)
            return Fail(PlotOverflow, notifier, language);
    }
    // The even bands lie packed at the front of the data; from the last band back each moves to its place
    // (never before where it lies, so nothing still to move is overwritten) and the odd ones are copied in.
    std::size_t end = evenUsed + oddUsed;
    std::size_t evenEnd = evenUsed;
    std::size_t oddEnd = oddUsed;
    for (std::size_t band = bands; band-- > 0;) {
        const std::size_t size = sizes[band];
        end -= size;
        if (band % 2 == 0) {
            evenEnd -= size;
            std::memmove(data_.get() + end, data_.get() + evenEnd, size);
        } else {
            oddEnd -= size;
            std::memcpy(data_.get() + end, oddData_.get() + oddEnd, size);
        }
        segments_[band] = {static_cast<uint16_t>(band), static_cast<uint32_t>(size), kSegmentRaster};
    }
    used_ = evenUsed + oddUsed;
    std::size_t count = bands;

    const std::size_t records = knives.records.size();
    if (records > 0) {
        const std::size_t length = records * KnifeList::kWireRecordSize;
        segments_[count] = {static_cast<uint16_t>(count), static_cast<uint32_t>(length), kSegmentKnife};
        ++count;
        if (used_ + length >= kDataCapacity)
            return Fail(CutOverflow, notifier, language);
        EncodeKnifeData(knives, std::span<uint8_t>(data_.get() + used_, length));
        used_ += length;
    }
    segmentCount_ = count;
    knifeRecords_ = static_cast<uint32_t>(records);
    return Ok;
}

JobHeader JobBuffers::Header() const
{
    return {static_cast<uint16_t>(segmentCount_), static_cast<uint16_t>(knifeRecords_)};
}

} // namespace qv
