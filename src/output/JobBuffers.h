#pragma once

#include "link/JobRecords.h"
#include "output/RasterEngine.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace qv {

class Notifier;
struct KnifeList;

// The job data buffer and the segment table: one object for the process, allocated once and reused by every
// job. The job data is what the one bulk transfer of a job sends: the compressed bands in band order, then the
// knife records in wire form; the table gives each segment's length and kind, 'P' for a band, 'C' for the
// knife data. Bands do not depend on each other: the odd ones are built on a second thread with an engine and a
// staging buffer of the job buffers' own, and the data is the same bytes a single engine gives.
class JobBuffers {
public:
    static constexpr std::size_t kDataCapacity = 7340032; // 7 MiB; the data must stay below it
    static constexpr std::size_t kMaxSegments = 200;

    enum Result : int {
        Ok = 0,
        TooManyBands = -1, // B + 1 > 200: refused before any band is built
        PlotOverflow = -2, // a band does not fit
        CutOverflow = -3,  // the knife records do not fit
    };

    JobBuffers();
    JobBuffers(const JobBuffers&) = delete;
    JobBuffers& operator=(const JobBuffers&) = delete;

    // Builds every band of `plan` and the knife records of `knives` into the buffers. On any failure the
    // operator has been told (in `language`) and the buffers hold an empty job, so a segment table never
    // disagrees with the data.
    Result Assemble(CRasterEngine& raster, const COnePage& jobPage, const MachineParams& params, const RasterPlan& plan,
                    const KnifeList& knives, Notifier& notifier, int32_t language);

    std::span<const uint8_t> Data() const { return {data_.get(), used_}; }
    // The N entries of the assembled job, numbered from 0.
    std::span<const SegmentRecord> Segments() const { return {segments_.data(), segmentCount_}; }
    uint32_t KnifeRecords() const { return knifeRecords_; }
    // (0, N, knife records): the knife record count travels in 16 bits.
    JobHeader Header() const;

private:
    // The bands first, first + 2, ... of `plan` one after the other into `out` (at most kDataCapacity bytes);
    // `sizes[band]` receives each length. False once the bands would reach the capacity.
    static bool BuildBands(CRasterEngine& raster, const COnePage& jobPage, const MachineParams& params,
                           const RasterPlan& plan, std::size_t first, uint8_t* out, std::size_t& used,
                           std::span<uint32_t> sizes);
    Result Fail(Result result, Notifier& notifier, int32_t language);

    std::unique_ptr<uint8_t[]> data_;
    std::unique_ptr<CRasterEngine> oddRaster_;
    std::unique_ptr<uint8_t[]> oddData_;
    std::size_t used_ = 0;
    std::array<SegmentRecord, kMaxSegments> segments_{};
    std::size_t segmentCount_ = 0;
    uint32_t knifeRecords_ = 0;
};

} // namespace qv
