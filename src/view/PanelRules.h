#pragma once

#include "link/LinkState.h"
#include "view/DialogMessage.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

struct MachineParams;

// CMyDlgBar, the control panel: what its controls may do for the machine's state. The panel never talks to the
// machine; its buttons queue codes in the ManualCommandQueue (or press Start, WorkflowEngine::PressStart).
enum PanelControl : int {
    kPanelStart = 267,
    kPanelPause = 268,
    kPanelCancel = 269,
    kPanelCleanHeads = 265,
    kPanelSetStartPoint = 274,
    kPanelOrigin = 255,
    kPanelFullCutKnife = 211, // check boxes
    kPanelHalfCutKnife = 212,
    kPanelAirPump = 210,
    kPanelJogUp = 276, // image buttons held to jog
    kPanelJogDown = 277,
    kPanelJogLeft = 278,
    kPanelJogRight = 279,
    kPanelStatusText = 1008,
};

// The status line is refreshed this often from the panel's creation; it starts with kPanelStatusInitialText.
inline constexpr std::chrono::milliseconds kPanelStatusInterval{500};
inline constexpr std::string_view kPanelStatusInitialText = "未连接";

// The machine state the rules look at, read once from the link.
struct PanelFacts {
    bool connected = false;
    MachineStatus status{};
    bool jobRunning = false;

    static PanelFacts Of(const LinkState& link);
};

bool PanelControlEnabled(int control, const PanelFacts& facts);

// What a click on one of the six buttons asks for (the release before it has queued its stop code already).
struct PanelClick {
    enum class Action : uint8_t { None, Queue, PressStart, AskCancel };
    Action action = Action::None;
    uint8_t code = 0; // with Queue

    bool operator==(const PanelClick&) const = default;
};
PanelClick PanelButtonClicked(int control, const PanelFacts& facts);

// "是否取消？", asked for AskCancel; on OK, PanelCancelConfirmed with the state after the answer.
DialogMessage PanelCancelQuestion();
std::optional<uint8_t> PanelCancelConfirmed(const PanelFacts& facts);

// A check box changed its mark to `checked` (it keeps the mark even when no code can be sent).
std::optional<uint8_t> PanelCheckBoxChanged(int control, bool checked, const PanelFacts& facts);

// WM_BUTTON_STATE from an image button: while no job runs on a connected machine, a jog button pressed jogs and
// any image button released stops.
std::optional<uint8_t> PanelButtonState(int control, bool pressed, const PanelFacts& facts);

// The status line after a tick: the link's text when it is longer than two characters, else `shown` as it was.
std::string NextPanelStatusLine(std::string_view shown, const LinkState& link, const MachineParams& params,
                                int32_t language);

} // namespace qv
