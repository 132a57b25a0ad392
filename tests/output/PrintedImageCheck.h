#pragma once

#include "RasterTestSupport.h"

#include "PrintedImage.h"

#include "output/RasterEngine.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qv::test {

// Compares what the virtual machine printed of a page with the page's plot curves drawn whole with the
// raster's pen, as wide as the bands reach: the first few differing pixels described, and how many differ.
struct PrintDifference {
    int64_t pixels = 0;
    std::vector<std::string> first; // at most five
    int64_t drawnInk = 0;
};

inline PrintDifference ComparePrinted(const sim::PrintedImage& printed, const COnePage& page,
                                      const MachineParams& params, const RasterPlan& plan)
{
    const int32_t width = plan.bands * plan.bandWidth;
    Canvas whole(width, plan.height);
    DrawPlotCurves(page, {plan.lineWidth, RowScale::Of(params.advanced)}, 0, whole.Image());
    PrintDifference d;
    d.drawnInk = whole.Ink();
    for (int32_t y = 0; y < std::max(printed.Height(), plan.height); ++y) {
        for (int32_t x = 0; x < std::max(printed.Width(), width); ++x) {
            const bool drawn = x < width && y < plan.height && whole.Get(x, y);
            if (printed.Get(x, y) != drawn && ++d.pixels <= 5)
                d.first.push_back("pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") " +
                                  (drawn ? "drawn but not printed" : "printed but not drawn"));
        }
    }
    return d;
}

} // namespace qv::test
