#include "output/ToolOffsets.h"

#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "model/Rounding.h"

namespace qv {

KnifeOffset FullCutKnifeOffset(const MachineSettings& machine, const CSettings& settings)
{
    return {int64_t{machine.fullCutOffsetX} + settings.FCXXXX, int64_t{machine.fullCutOffsetY} + settings.FCYYYY};
}

KnifeOffset HalfCutKnifeOffset(const MachineSettings& machine, const CSettings& settings)
{
    return {int64_t{machine.halfCutOffsetX} + settings.HCXXXX, int64_t{machine.halfCutOffsetY} + settings.HCYYYY};
}

int32_t InkjetAccelerationRows(const AdvancedParams& advanced)
{
    if (advanced.inkjetIntervalPulses == 0)
        return 0;
    return TruncToInt32(advanced.inkjetAccelDistance * advanced.yPulsesPerMm / advanced.inkjetIntervalPulses);
}

} // namespace qv
