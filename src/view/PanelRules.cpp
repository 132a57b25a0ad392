#include "view/PanelRules.h"

#include "app/MessageCatalog.h"
#include "link/CommandCodes.h"
#include "link/StatusLine.h"

namespace qv {

namespace {

bool ReadyOrPaused(const PanelFacts& f)
{
    return f.status.type == kStatusReady || f.status.type == kStatusPaused;
}

bool Ready(const PanelFacts& f)
{
    return f.status.type == kStatusReady;
}

bool IsImageButton(int control)
{
    switch (control) {
    case kPanelStart:
    case kPanelPause:
    case kPanelCancel:
    case kPanelCleanHeads:
    case kPanelSetStartPoint:
    case kPanelOrigin:
    case kPanelJogUp:
    case kPanelJogDown:
    case kPanelJogLeft:
    case kPanelJogRight:
        return true;
    default:
        return false;
    }
}

std::size_t CharacterCount(std::string_view utf8)
{
    std::size_t count = 0;
    for (const char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

} // namespace

PanelFacts PanelFacts::Of(const LinkState& link)
{
    return {link.Connected.load(), link.status.load(), link.jobThreadExists.load()};
}

bool PanelControlEnabled(int control, const PanelFacts& f)
{
    switch (control) {
    case kPanelStart:
        return f.connected && ReadyOrPaused(f);
    case kPanelPause:
        return f.status.type == kStatusWorking;
    case kPanelCancel:
        return f.connected && f.status.type == kStatusPaused;
    case kPanelCleanHeads:
    case kPanelSetStartPoint:
    case kPanelOrigin:
        return f.connected && Ready(f);
    case kPanelFullCutKnife:
    case kPanelHalfCutKnife:
    case kPanelAirPump:
    case kPanelJogUp:
    case kPanelJogDown:
    case kPanelJogLeft:
    case kPanelJogRight:
        return ReadyOrPaused(f);
    default:
        return true;
    }
}

PanelClick PanelButtonClicked(int control, const PanelFacts& f)
{
    using A = PanelClick::Action;
    switch (control) {
    case kPanelStart:
        return {A::PressStart};
    case kPanelPause:
        return f.status.type == kStatusWorking ? PanelClick{A::Queue, cmd::kPauseJob} : PanelClick{};
    case kPanelCancel:
        return {A::AskCancel};
    case kPanelCleanHeads:
        return Ready(f) ? PanelClick{A::Queue, cmd::kCleanHeads} : PanelClick{};
    case kPanelSetStartPoint:
        return !f.jobRunning && Ready(f) ? PanelClick{A::Queue, cmd::kSetStartPoint} : PanelClick{};
    case kPanelOrigin:
        return !f.jobRunning && Ready(f) ? PanelClick{A::Queue, cmd::kReturnToOrigin} : PanelClick{};
    default:
        return {};
    }
}

DialogMessage PanelCancelQuestion()
{
    // Both texts exist in Chinese only.
    return {std::string(MessageText(Msg::CancelTaskQuestion, 0)), std::string(MessageText(Msg::CaptionAttention, 0)),
            MsgButtons::OkCancel, MsgIcon::Error};
}

std::optional<uint8_t> PanelCancelConfirmed(const PanelFacts& f)
{
    if (f.status.type == kStatusPaused)
        return cmd::kCancelJob;
    return std::nullopt;
}

std::optional<uint8_t> PanelCheckBoxChanged(int control, bool checked, const PanelFacts& f)
{
    if (f.jobRunning || !Ready(f))
        return std::nullopt;
    switch (control) {
    case kPanelFullCutKnife:
        return checked ? cmd::kFullCutKnifeOn : cmd::kFullCutKnifeOff;
    case kPanelHalfCutKnife:
        return checked ? cmd::kHalfCutKnifeOn : cmd::kHalfCutKnifeOff;
    case kPanelAirPump:
        return checked ? cmd::kAirPumpOn : cmd::kAirPumpOff;
    default:
        return std::nullopt;
    }
}

std::optional<uint8_t> PanelButtonState(int control, bool pressed, const PanelFacts& f)
{
    if (f.jobRunning || !f.connected || !IsImageButton(control))
        return std::nullopt;
    if (!pressed)
        return cmd::kStopJog;
    switch (control) {
    case kPanelJogUp:
        return cmd::kJogUp;
    case kPanelJogDown:
        return cmd::kJogDown;
    case kPanelJogLeft:
        return cmd::kJogLeft;
    case kPanelJogRight:
        return cmd::kJogRight;
    default:
        return std::nullopt;
    }
}

std::string NextPanelStatusLine(std::string_view shown, const LinkState& link, const MachineParams& params,
                                int32_t language)
{
    std::string text = StatusLineText(link, params, language).value_or("");
    if (CharacterCount(text) > 2)
        return text;
    return std::string(shown);
}

} // namespace qv
