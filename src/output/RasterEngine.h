#pragma once

#include "app/MachineParams.h"
#include "model/COnePage.h"

#include <cstdint>
#include <memory>
#include <span>

namespace qv {

// Raster geometry of one job, from the prepared page's plot extent and the machine parameters.
struct RasterPlan {
    int32_t headPixels = 0;  // n: nozzle pixels per head, 150 "HP45" / 308 "IUT308"
    int32_t bandWidth = 0;   // w: pixels per band
    int32_t lineWidth = 0;   // lw: pen width in pixels
    int32_t width = 0;       // W: pixels along X
    int32_t height = 0;      // H: image rows along Y
    int32_t rowsPerBand = 0; // R: H + head 2 position + 30; 0 when the page has no plot extent
    int32_t bands = 0;       // B: 0 when the page has no plot extent
};

// Turns the plot curves (kind <= 1) of the prepared job page into compressed nozzle data, one band at a time.
// Owns the working buffers for the whole process: allocated once at their maximum sizes, reused by every band
// of every job, so building a band allocates nothing else.
class CRasterEngine {
public:
    // Most rows a band may hold, its 30 blank rows included.
    static constexpr int32_t kMaxBandRows = 11800;

    CRasterEngine();
    CRasterEngine(const CRasterEngine&) = delete;
    CRasterEngine& operator=(const CRasterEngine&) = delete;
    ~CRasterEngine();

    // W, H, R and B of the page's plot extent (plotMaxX, plotMaxY). A page without plot extent gets B = 0 and
    // R = 0, so its job start record carries nothing from an earlier job. A plot line width below 1 (a damaged
    // record) is drawn as 1.
    static RasterPlan Prepare(const COnePage& jobPage, const MachineParams& params);
    // R + 30 beyond kMaxBandRows (or R below 0): the job must be refused before anything is sent.
    static bool FitsBuffers(const RasterPlan& plan)
    {
        return plan.rowsPerBand >= 0 && plan.rowsPerBand <= kMaxBandRows - 30;
    }

    // Renders, maps, shifts and compresses band `band` (0 <= band < plan.bands). The result views the
    // engine's output buffer and stays valid until the next call. It is empty when nothing was built: a plan
    // that does not fit the buffers or was made for another cartridge type, or a band outside the plan. A built
    // band is never empty (it holds at least the 30 blank rows).
    std::span<const uint8_t> BuildBand(const COnePage& jobPage, const MachineParams& params, const RasterPlan& plan,
                                       int32_t band);

private:
    struct Buffers;
    std::unique_ptr<Buffers> buffers_;
};

} // namespace qv
