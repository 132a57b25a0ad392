#pragma once

#include "link/JobRecords.h"
#include "output/RasterEngine.h"

#include <cstdint>
#include <optional>

namespace qv {

class Notifier;
struct AppOptions;
struct KnifeList;
struct SharedFlags;

// The raster geometry of the prepared page, or empty after telling the operator (in `language`) that its
// bands would be longer than the band buffers hold, before anything of the job is sent.
std::optional<RasterPlan> PlanJobRaster(const COnePage& jobPage, const MachineParams& params, Notifier& notifier,
                                        int32_t language);

// N: one segment per raster band, and one more for the knife data when there is any.
uint16_t JobSegmentCount(const RasterPlan& plan, const KnifeList& knives);

// The job start record of the prepared page: X reference in pulses (the page's far X edge plus the full-cut
// knife's X offset), rows per band R of `plan` (0 for a page without plot extent), and N.
JobStartRecord MakeJobStartRecord(const COnePage& jobPage, const MachineParams& params, const AppOptions& options,
                                  const RasterPlan& plan, const KnifeList& knives);

// The start command of the next job: 52 (the machine waits for its confirm key) while NeedPanelConfirm is set,
// unless RepeatCut is 1; otherwise 53 (at once).
uint8_t StartCommandCode(const SharedFlags& flags, const AppOptions& options);

// After a start with 53: only the task list's single page started with FPNoNeedConfirm 1 leaves
// NeedPanelConfirm clear; otherwise the next page waits for the confirm key.
void NoteStartWithoutConfirm(SharedFlags& flags, const AppOptions& options, bool onlyPageInList);

} // namespace qv
