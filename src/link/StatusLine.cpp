#include "link/StatusLine.h"

#include "app/MachineParams.h"
#include "app/MessageCatalog.h"
#include "link/LinkState.h"

namespace qv {

namespace {

double ToMillimetres(int32_t pulses, double pulsesPerMm)
{
    return pulsesPerMm > 0 ? pulses / pulsesPerMm : 0.0;
}

} // namespace

std::optional<std::string> StatusLineText(const LinkState& state, const MachineParams& params, int32_t language)
{
    if (!state.Connected)
        return std::string(MessageText(Msg::StatusDisconnected, language));
    const MachineStatus status = state.status;
    switch (status.type) {
    case kStatusInit:
        return std::string(MessageText(Msg::StatusInit, language));
    case kStatusSeekOrigin:
        return std::string(MessageText(Msg::StatusSeekOrigin, language));
    case kStatusReady: {
        const MachinePoint head = state.headPosition;
        return FormatMessage(
            Msg::StatusReady, language,
            {ToMillimetres(head.x, params.advanced.xPulsesPerMm), ToMillimetres(head.y, params.advanced.yPulsesPerMm)});
    }
    case kStatusCleaning:
        return std::string(MessageText(Msg::StatusCleaning, language));
    case kStatusProcessing:
        return std::string(MessageText(Msg::StatusProcessing, language));
    case kStatusWorking:
        if (status.value != kWorkingRunning)
            return std::nullopt;
        return FormatMessage(Msg::StatusWorking, language, {state.progressCount.load(), state.segmentCount.load()});
    case kStatusPaused:
        return std::string(MessageText(Msg::StatusPaused, language));
    case kStatusMemoryError:
        return std::string(MessageText(Msg::StatusMemoryError, language));
    case kStatusStepperLostSteps:
        return std::string(MessageText(Msg::StatusStepperLostSteps, language));
    default:
        return std::nullopt;
    }
}

} // namespace qv
