#include "output/WorkingArea.h"

#include "app/AppOptions.h"
#include "app/MessageCatalog.h"
#include "app/Notifier.h"
#include "model/COnePage.h"
#include "model/Rounding.h"
#include "output/ToolOffsets.h"

namespace qv {
namespace {

// The knife carriage sits this far beside the inkjet heads in X, by cartridge type.
int32_t KnifeXShift(const MachineSettings& machine, double xPulsesPerMm)
{
    return TruncToInt32(xPulsesPerMm * (machine.cartridgeType == Cartridge::IUT308 ? 22 : 12));
}

struct OffsetPulses {
    int32_t x = 0;
    int32_t y = 0;
};

OffsetPulses KnifeOffsetPulses(const KnifeOffset& offset, int32_t xShift, const AdvancedParams& advanced)
{
    return {TruncToInt32(TenthsToPulses(offset.x, advanced.xPulsesPerMm) - xShift),
            TruncToInt32(TenthsToPulses(offset.y, advanced.yPulsesPerMm))};
}

} // namespace

int CheckWorkingArea(const COnePage& jobPage, const MachineParams& params, const AppOptions& options,
                     MachinePoint startPoint, const WorkingAreaLimits& limits, Notifier& notifier)
{
    const AdvancedParams& advanced = params.advanced;
    const MachineSettings& machine = params.settings;
    // A page edge in pulses from the machine's origin.
    auto farX = [&](int32_t v) { return v / 40.0 * advanced.xPulsesPerMm + startPoint.x; };
    auto farY = [&](int32_t v) { return v / 40.0 * advanced.yPulsesPerMm + startPoint.y; };
    auto refuse = [&](Msg message, int result) {
        notifier.Show(MessageText(message, options.Language), "", MsgButtons::Ok, MsgIcon::Warning);
        return result;
    };

    if (farX(jobPage.plotMaxX) > limits.x)
        return refuse(Msg::PlotXOutOfSize, 1);
    // The heads print behind head 2's position and the blank rows, after their acceleration run.
    const int64_t headRows = int64_t{machine.head2Position} + 30 + InkjetAccelerationRows(advanced);
    const double plotY = farY(jobPage.plotMaxY) + static_cast<double>(advanced.inkjetIntervalPulses * headRows);
    if (plotY > limits.yPrint)
        return refuse(Msg::PlotYOutOfSize, 2);

    const int32_t xShift = KnifeXShift(machine, advanced.xPulsesPerMm);
    if (jobPage.hasFullCut) {
        const OffsetPulses offset = KnifeOffsetPulses(FullCutKnifeOffset(machine, options), xShift, advanced);
        if (offset.x + farX(jobPage.fullCutMaxX) > limits.x)
            return refuse(Msg::FullCutXOutOfSize, 1);
        if (offset.y + farY(jobPage.fullCutMaxY) > limits.yFullCut)
            return refuse(Msg::FullCutYOutOfSize, 2);
    }

    // With one knife for both, the full-cut check has already covered the half cuts.
    if (machine.sameKnife == 0 && jobPage.hasHalfCut) {
        const OffsetPulses offset = KnifeOffsetPulses(HalfCutKnifeOffset(machine, options), xShift, advanced);
        if (farY(jobPage.halfCutMinY) + offset.y < 0)
            return refuse(Msg::HalfCutYMinOutOfSize, 1);
        if (offset.x + farX(jobPage.halfCutMaxX) > limits.x)
            return refuse(Msg::HalfCutXMaxOutOfSize, 2);
        // The half cuts' own far edge against the half-cut limit: it is the half-cut knife that travels there.
        if (offset.y + farY(jobPage.halfCutMaxY) > limits.yHalfCut)
            return refuse(Msg::HalfCutYMaxOutOfSize, 3);
    }
    return 0;
}

} // namespace qv
