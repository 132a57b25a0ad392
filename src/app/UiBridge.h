#pragma once

#include <cstdint>

namespace qv {

// Messages the background threads send to the main frame. The numbers are the frame's own message numbers.
enum class FrameMessage : uint32_t {
    WM_TRAY_NOTIFY = 1125,
    WM_JOB_FINISHED = 1126, // wParam 1 job completed, 2 job failed
    WM_POLL_DATA_DIR = 1128,
    WM_DISPATCH_JOB = 1129,
    WM_RELOAD_LAST_TASKS = 1130,
    WM_REMOVE_DONE_PAGES = 1131,
    WM_BUTTON_STATE = 9999, // wParam control id, lParam 1 pressed / 0 released
};

// How a background thread reaches the thread that owns the task list: the call returns only once the owner
// has handled the message, so the sender sees its effects. Implementations must be callable from any thread.
class UiBridge {
public:
    virtual ~UiBridge() = default;
    virtual void SendToFrame(FrameMessage message, intptr_t wParam, intptr_t lParam) = 0;
};

} // namespace qv
