#pragma once

#include "app/CSettings.h"
#include "app/MachineParams.h"

namespace qv::test {

// 80 pulses per mm on both axes, so one page unit is exactly 2 pulses, and every knife offset and the
// heads' acceleration run at 0: a page point (x, y) becomes the knife position (2x, 2y).
inline MachineParams PlainKnifeParams()
{
    MachineParams p;
    p.advanced.xPulsesPerMm = 80;
    p.advanced.yPulsesPerMm = 80;
    p.advanced.inkjetAccelDistance = 0;
    p.settings.fullCutOffsetX = 0;
    p.settings.fullCutOffsetY = 0;
    p.settings.halfCutOffsetX = 0;
    p.settings.halfCutOffsetY = 0;
    return p;
}

inline void ZeroCoarseOffsets(CSettings& s)
{
    s.FCXXXX = 0;
    s.FCYYYY = 0;
    s.HCXXXX = 0;
    s.HCYYYY = 0;
}

} // namespace qv::test
