#include "output/JobBuffers.h"

#include "app/MessageCatalog.h"
#include "app/Notifier.h"
#include "output/KnifeList.h"

#include <algorithm>

namespace qv {

JobBuffers::JobBuffers() : data_(std::make_unique_for_overwrite<uint8_t[]>(kDataCapacity)) {}

JobBuffers::Result JobBuffers::Fail(Result result, Notifier& notifier, int32_t language)
{
    const Msg id = result == TooManyBands ? Msg::TooManyBands
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
    for (std::size_t band = 0; band < bands; ++band) {
        const std::span<const uint8_t> bytes = raster.BuildBand(jobPage, params, plan, static_cast<int32_t>(band));
        segments_[band] = {static_cast<uint16_t>(band), static_cast<uint32_t>(bytes.size()), kSegmentRaster};
        if (used_ + bytes.size() >= kDataCapacity)
            return Fail(PlotOverflow, notifier, language);
        std::copy(bytes.begin(), bytes.end(), data_.get() + used_);
        used_ += bytes.size();
    }
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
