#pragma once

#include "app/MachineParams.h"
#include "link/LinkState.h"

namespace qv {

class COnePage;
struct AppOptions;
class Notifier;

// The three working-area checks of a job, run in order (plot, full cut, half cut when the knives differ)
// against the start point just read. 0 when the page fits; otherwise the first failing check has told the
// operator and its result number (1, 2 or 3) is returned.
int CheckWorkingArea(const COnePage& jobPage, const MachineParams& params, const AppOptions& options,
                     MachinePoint startPoint, const WorkingAreaLimits& limits, Notifier& notifier);

} // namespace qv
