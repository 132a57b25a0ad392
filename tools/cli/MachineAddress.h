#pragma once

#include "app/MachineParams.h"
#include "link/CMyEth.h"

#include <string>

namespace qv::cli {

// "ADDR" or "ADDR:PORT" of --net into the machine address of the settings record and the Ethernet channel's
// port; false for anything else.
bool TakeMachineAddress(const std::string& text, MachineSettings& machine, CMyEth& eth);

} // namespace qv::cli
