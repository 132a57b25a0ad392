#include "output/KnifeData.h"

#include "app/AppOptions.h"
#include "app/MachineParams.h"
#include "app/MessageCatalog.h"
#include "app/Notifier.h"
#include "model/COnePage.h"
#include "model/Rounding.h"
#include "output/KnifePasses.h"
#include "output/ToolOffsets.h"

namespace qv {
namespace {

// The pulse position of page point (0, 0) for a knife.
struct KnifeBase {
    int32_t x = 0;
    int32_t y = 0;
};

// Y also carries the heads' acceleration run, so the knife meets the drawing where the heads printed it.
KnifeBase BaseOf(const KnifeOffset& offset, const AdvancedParams& advanced)
{
    const int64_t acceleration = int64_t{advanced.inkjetIntervalPulses} * InkjetAccelerationRows(advanced);
    return {TruncToInt32(TenthsToPulses(offset.x, advanced.xPulsesPerMm)),
            TruncToInt32(static_cast<double>(acceleration) + TenthsToPulses(offset.y, advanced.yPulsesPerMm))};
}

void AppendCurves(std::vector<KnifeRecord>& records, const COnePage& page, int32_t kind, char cutCode,
                  const KnifeBase& base, const AdvancedParams& advanced)
{
    for (const auto& curve : page.curves) {
        if (curve->kind != kind)
            continue;
        char code = 'M';
        for (const CPoint& p : curve->points) {
            KnifeRecord r;
            r.x = SaturateToInt32(int64_t{base.x} + TruncToInt32(p.x * advanced.xPulsesPerMm / 40));
            r.y = SaturateToInt32(int64_t{base.y} + TruncToInt32(p.y * advanced.yPulsesPerMm / 40));
            r.code = code;
            records.push_back(r);
            code = cutCode;
        }
    }
}

} // namespace

int BuildKnifeData(KnifeList& list, const COnePage& jobPage, const MachineParams& params, const AppOptions& options,
                   Notifier& notifier)
{
    const AdvancedParams& advanced = params.advanced;
    const MachineSettings& machine = params.settings;
    std::vector<KnifeRecord>& records = list.records;
    records.clear();

    std::size_t points = 0;
    for (const auto& curve : jobPage.curves) {
        if (IsCutWork(curve->kind))
            points += curve->points.size();
    }
    records.reserve(points);

    const KnifeOffset fullCut = FullCutKnifeOffset(machine, options);
    const KnifeOffset halfCut = machine.sameKnife != 0 ? fullCut : HalfCutKnifeOffset(machine, options);
    AppendCurves(records, jobPage, CurveKind::HalfCut, 'H', BaseOf(halfCut, advanced), advanced);
    AppendCurves(records, jobPage, CurveKind::FullCut, 'F', BaseOf(fullCut, advanced), advanced);
    if (records.empty())
        return 0;

    const double px = advanced.xPulsesPerMm;
    const double py = advanced.yPulsesPerMm;
    const bool optimised = options.CutEffectOptmize != 0;
    MeasureKnifeSegments(records, px, py);
    if (!optimised) {
        // A thinning pass re-measures the one record whose predecessor it changes, so the passes need no
        // measuring between them; heading, turn and length are measured again once they are done.
        for (int pass = 0; pass < 4; ++pass)
            ThinKnifeRecords(records);
        MeasureKnifeSegments(records, px, py);
    }

    if (records.size() > KnifeList::kMaxRecords) {
        // Nothing of a refused list may look ready to send.
        list.Clear();
        notifier.Show(MessageText(Msg::KnifeDataTooLarge, options.Language), "", MsgButtons::Ok, MsgIcon::Error);
        return -1;
    }

    ClassifyKnifeSegments(records, optimised, options.FitDistHpgl);
    SetKnifeSpeedsAndSteps(records, optimised, advanced.curveSpeed, advanced.cutSegmentLength);
    ComputeKnifeLookAhead(records, optimised, advanced.curveSpeed);
    return 0;
}

} // namespace qv
