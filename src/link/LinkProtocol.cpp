#include "link/LinkProtocol.h"

#include "app/SharedFlags.h"
#include "link/CommandCodes.h"

#include <algorithm>
#include <thread>

namespace qv {

LinkProtocol::LinkProtocol(CMyCommu& commu, LinkState& state, MachineParamsStore& params, const SharedFlags& flags,
                           Notifier& notifier, Sleeper sleep)
    : commu_(commu), state_(state), params_(params), flags_(flags), notifier_(notifier), sleep_(std::move(sleep))
{
}

void LinkProtocol::Tell(Msg id, MsgIcon icon)
{
    notifier_.Show(MessageText(id, flags_.language), "", MsgButtons::Ok, icon);
}

void LinkProtocol::Sleep(std::chrono::milliseconds span)
{
    if (sleep_)
        sleep_(span);
    else
        std::this_thread::sleep_for(span);
}

template <std::size_t N>
std::optional<std::array<uint8_t, N>> LinkProtocol::Read(uint8_t code)
{
    std::array<uint8_t, kReplyArea> buffer{};
    if (commu_.ReadCmd(code, N, buffer) != 0)
        return std::nullopt;
    std::array<uint8_t, N> reply{};
    std::copy_n(buffer.begin(), N, reply.begin());
    return reply;
}

int LinkProtocol::Handshake()
{
    const auto version = Read<kVersionReplySize>(cmd::kReadVersion);
    if (!version)
        return -1;
    const uint32_t firmware = DecodeVersion(*version);
    state_.firmwareVersion = firmware;
    if (firmware != kCompatibleFirmware) {
        const bool family = (firmware & kFirmwareFamilyBits) == kFirmwareFamilyBits;
        if (family && firmware != toldFirmware_)
            Tell(Msg::FirmwareIncompatible, MsgIcon::Warning);
        toldFirmware_ = family ? firmware : 0;
        return -1;
    }
    toldFirmware_ = 0;
    const auto advanced = Read<AdvancedParams::kWireSize>(cmd::kReadAdvanced);
    if (!advanced)
        return -1;
    AdvancedParams advancedRecord;
    advancedRecord.Decode(*advanced);
    params_.Replace(advancedRecord);
    advancedWire_ = *advanced;
    const auto settings = Read<MachineSettings::kWireSize>(cmd::kReadSettings);
    if (!settings)
        return -1;
    MachineSettings settingsRecord;
    settingsRecord.Decode(*settings);
    params_.Replace(settingsRecord);
    settingsWire_ = *settings;
    return 0;
}

int LinkProtocol::SaveRecord(uint8_t code)
{
    int result = -1;
    const MachineParams params = params_.Get();
    if (code == cmd::kSaveAdvanced) {
        auto wire = params.advanced.Encode();
        std::copy(advancedWire_.begin() + AdvancedParams::kUsedBytes, advancedWire_.end(),
                  wire.begin() + AdvancedParams::kUsedBytes);
        result = commu_.WriteCmd(code, wire);
    } else if (code == cmd::kSaveSettings) {
        auto wire = params.settings.Encode();
        std::copy(settingsWire_.begin() + MachineSettings::kUsedBytes, settingsWire_.end(),
                  wire.begin() + MachineSettings::kUsedBytes);
        result = commu_.WriteCmd(code, wire);
    }
    if (result != 0)
        Tell(Msg::SaveParametersFailed, MsgIcon::Error);
    Sleep(std::chrono::milliseconds(300));
    return result;
}

void LinkProtocol::Dispatch(uint8_t code, CommandSender sender)
{
    if (sender == CommandSender::LinkMonitor) {
        if (code <= 31) {
            // The start point is set twice; the operator hears of the first one.
            if (code == cmd::kSetStartPoint && commu_.SendCmd(code) == 0)
                Tell(Msg::SetStartPointOk, MsgIcon::Information);
            commu_.SendCmd(code);
        } else if (code == cmd::kSaveAdvanced || code == cmd::kSaveSettings) {
            SaveRecord(code);
        }
        return;
    }
    if (code <= cmd::kPauseJob)
        commu_.SendCmd(code);
    else if (code == cmd::kSaveSettings)
        SaveRecord(code);
}

std::optional<MachinePoint> LinkProtocol::ReadStartPoint()
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (const auto reply = Read<kPositionReplySize>(cmd::kReadStartPoint)) {
            const MachinePoint point = DecodePosition(*reply);
            state_.startPoint = point;
            return point;
        }
        Sleep(std::chrono::milliseconds(10));
    }
    Tell(Msg::CommunicationFailed, MsgIcon::Error);
    return std::nullopt;
}

int LinkProtocol::StatusPoll()
{
    if (commu_.SendCmd(cmd::kStatusPoll) != 0) {
        if (commu_.ViaNet()) {
            state_.MarkDisconnected();
        } else if (++usbPollFailures_ >= 4) {
            state_.MarkDisconnected();
            usbPollFailures_ = 0;
        }
        return -1;
    }
    Sleep(std::chrono::milliseconds(10));
    if (state_.status.load().type == kStatusReady) {
        if (const auto reply = Read<kPositionReplySize>(cmd::kReadHeadPosition))
            state_.headPosition = DecodePosition(*reply);
    }
    usbPollFailures_ = 0;
    return 0;
}

std::optional<ProgressReply> LinkProtocol::ReadProgress()
{
    const auto reply = Read<ProgressReply::kSize>(cmd::kReadProgress);
    if (!reply)
        return std::nullopt;
    const ProgressReply progress = ProgressReply::Decode(*reply);
    state_.progressCount = progress.segmentsDone;
    state_.status = progress.status;
    return progress;
}

} // namespace qv
