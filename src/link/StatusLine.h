#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

struct LinkState;
struct MachineParams;

// The machine status line for the link's current state in the given language: "Disconnected..." while the
// link is down, otherwise the text of the status type (READY with the head position in mm, Working with the
// progress and segment counts). Empty when the line is to stay as it was: an unknown status type, or
// "working" with a status value other than 18.
std::optional<std::string> StatusLineText(const LinkState& state, const MachineParams& params, int32_t language);

} // namespace qv
