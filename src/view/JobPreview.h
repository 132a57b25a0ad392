#pragma once

#include "app/AppOptions.h"
#include "app/CSetDisp.h"
#include "app/MachineParams.h"
#include "model/COnePage.h"
#include "model/CPoint.h"
#include "view/DisplayList.h"

#include <cstdint>
#include <vector>

namespace qv {

// What the machine will do with a page, in plotter units: the page prepared as a job prepares it (calibrated,
// joined, cleaned, optimised, compensated), its cut paths in output order and the extent the inkjet raster
// covers. Built from a copy; the page itself is never changed.
struct JobPreview {
    struct Cut {
        uint32_t first = 0; // into points
        uint32_t count = 0;
        int32_t kind = 0;
    };
    std::vector<CPoint> points;
    std::vector<Cut> cuts; // in output order
    // The raster covers (0, 0) .. plotExtent; nothing when the page has no plot work.
    bool hasPlot = false;
    CPoint plotExtent;
};
JobPreview BuildJobPreview(const COnePage& page, const MachineParams& params, const AppOptions& options);

// The preview's colours: the raster extent, the cut paths, the moves with the knife up between them, and the
// mark at the start of each cut.
inline constexpr Rgb kPreviewPlotExtent{0, 160, 255};
inline constexpr Rgb kPreviewFullCut{255, 0, 255};
inline constexpr Rgb kPreviewHalfCut{0, 255, 255};
inline constexpr Rgb kPreviewTravel{128, 128, 128};
inline constexpr Rgb kPreviewCutStart{255, 255, 255};

// Appends the preview as `disp` maps it: the raster extent as a dashed outline, then from the origin a dotted
// grey move to each cut's start, a 5-pixel square on that start and the cut's path, in output order.
void PaintJobPreview(const CSetDisp& disp, const JobPreview& preview, DisplayList& out);

} // namespace qv
