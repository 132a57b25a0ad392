#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace qv {

// The drawing view's context menu, in menu order: command number (a ViewCommand) and label in both
// languages, a tab separating the shortcut shown.
struct ViewMenuEntry {
    int32_t command;
    std::string_view zh;
    std::string_view en;
};
std::span<const ViewMenuEntry> ViewContextMenu();

// The window's accelerators that reach the view: Ctrl+M merge, Ctrl+F full cut, Ctrl+H half cut, and Ctrl+D
// reverse, the key its menu label shows. `letter` is the upper-case key; nothing for any other.
std::optional<int32_t> CtrlKeyCommand(char letter);

} // namespace qv
