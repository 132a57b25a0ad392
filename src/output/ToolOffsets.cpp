#include "output/ToolOffsets.h"

#include "app/AppOptions.h"
#include "app/MachineParams.h"
#include "model/Rounding.h"

namespace qv {

KnifeOffset FullCutKnifeOffset(const MachineSettings& machine, const AppOptions& options)
{
    return {int64_t{machine.fullCutOffsetX} + options.FCXXXX, int64_t{machine.fullCutOffsetY} + options.FCYYYY};
}

KnifeOffset HalfCutKnifeOffset(const MachineSettings& machine, const AppOptions& options)
{
    return {int64_t{machine.halfCutOffsetX} + options.HCXXXX, int64_t{machine.halfCutOffsetY} + options.HCYYYY};
}

int32_t InkjetAccelerationRows(const AdvancedParams& advanced)
{
    if (advanced.inkjetIntervalPulses == 0)
        return 0;
    return TruncToInt32(advanced.inkjetAccelDistance * advanced.yPulsesPerMm / advanced.inkjetIntervalPulses);
}

} // namespace qv
