#pragma once

#include "app/MachineParams.h"

#include <algorithm>
#include <cstdint>

namespace qv {

// Page units (1/40 mm) on the raster: 300 pixels per inch across X, one row every inkjet-interval pulses of Y.
// Both give the unrounded value; callers round with RoundToInt32 where the pixel itself is meant.

constexpr double kPixelPitchMm = 0.08466666666666667;

inline double ColumnsOf(double x)
{
    return x / 40 / kPixelPitchMm;
}

struct RowScale {
    double yPulsesPerMm = 0;
    double intervalPulses = 1;

    // An interval of 0 (a damaged record; the machine's own range starts at 2) counts as 1 rather than
    // dividing by zero; bands that then no longer fit their buffers are refused.
    static RowScale Of(const AdvancedParams& advanced)
    {
        return {advanced.yPulsesPerMm, static_cast<double>(std::max<int>(advanced.inkjetIntervalPulses, 1))};
    }

    double RowsOf(double y) const { return y / 40 * yPulsesPerMm / intervalPulses; }
};

} // namespace qv
