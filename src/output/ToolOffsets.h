#pragma once

#include <cstdint>

namespace qv {

struct AppOptions;
struct AdvancedParams;
struct MachineSettings;

// Where a knife sits relative to the inkjet drawing, in 0.1 mm: the machine's fine offset plus the coarse
// offset of the software options.
struct KnifeOffset {
    int64_t x = 0;
    int64_t y = 0;
};

KnifeOffset FullCutKnifeOffset(const MachineSettings& machine, const AppOptions& options);
KnifeOffset HalfCutKnifeOffset(const MachineSettings& machine, const AppOptions& options);

// 0.1 mm in pulses, before any truncation: tenths x 0.1 x pulses per mm.
inline double TenthsToPulses(int64_t tenths, double pulsesPerMm)
{
    return static_cast<double>(tenths) * 0.1 * pulsesPerMm;
}

// The raster rows the heads need to reach printing speed: trunc(acceleration distance x Y pulses per mm /
// interval pulses). A machine reporting an interval of 0 has no rows to give, so that counts as 0.
int32_t InkjetAccelerationRows(const AdvancedParams& advanced);

} // namespace qv
