#include "output/JobStart.h"

#include "app/AppOptions.h"
#include "app/MessageCatalog.h"
#include "app/Notifier.h"
#include "app/SharedFlags.h"
#include "link/CommandCodes.h"
#include "model/Rounding.h"
#include "output/KnifeList.h"
#include "output/ToolOffsets.h"

#include <algorithm>

namespace qv {

std::optional<RasterPlan> PlanJobRaster(const COnePage& jobPage, const MachineParams& params, Notifier& notifier,
                                        int32_t language)
{
    const RasterPlan plan = CRasterEngine::Prepare(jobPage, params);
    if (CRasterEngine::FitsBuffers(plan))
        return plan;
    notifier.Show(MessageText(Msg::PlotBandTooLong, language), "", MsgButtons::Ok, MsgIcon::Error);
    return std::nullopt;
}

uint16_t JobSegmentCount(const RasterPlan& plan, const KnifeList& knives)
{
    const int64_t n = std::max<int64_t>(plan.bands, 0) + (knives.records.empty() ? 0 : 1);
    return static_cast<uint16_t>(std::min<int64_t>(n, UINT16_MAX));
}

JobStartRecord MakeJobStartRecord(const COnePage& jobPage, const MachineParams& params, const AppOptions& options,
                                  const RasterPlan& plan, const KnifeList& knives)
{
    const double px = params.advanced.xPulsesPerMm;
    const int32_t knifeOffset = TruncToInt32(TenthsToPulses(FullCutKnifeOffset(params.settings, options).x, px));
    const int32_t xReference = TruncToInt32(knifeOffset + static_cast<double>(jobPage.maxX) / 40 * px);
    return {xReference, plan.rowsPerBand, JobSegmentCount(plan, knives)};
}

uint8_t StartCommandCode(const SharedFlags& flags, const AppOptions& options)
{
    return flags.NeedPanelConfirm != 0 && options.RepeatCut != 1 ? cmd::kStartJobConfirm : cmd::kStartJobNow;
}

void NoteStartWithoutConfirm(SharedFlags& flags, const AppOptions& options, bool onlyPageInList)
{
    flags.NeedPanelConfirm = onlyPageInList && options.FPNoNeedConfirm == 1 ? 0 : 1;
}

} // namespace qv
