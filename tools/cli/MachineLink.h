#pragma once

#include "Args.h"
#include "StderrNotifier.h"

#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/MachineParamsStore.h"
#include "link/CMyCommu.h"
#include "link/LibusbBackend.h"
#include "link/LinkProtocol.h"
#include "link/LinkState.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace qv::cli {

// A machine address of --net: "ADDR" or "ADDR:PORT".
struct NetAddress {
    std::array<uint8_t, 4> ip{};
    uint16_t port = kMachineTcpPort;
};

// The address of --net, or empty after saying why on stderr.
std::optional<NetAddress> ParseMachineAddress(const std::string& text);

// The host's side of the link for a subcommand that talks to the machine without the output centre's
// threads, messages on stderr.
struct MachineLink {
    MachineLink(CSettings& settings, const MachineParams& start)
        : settings(settings), params(start), commu(settings, params, state, notifier, usb),
          protocol(commu, state, params, settings, notifier)
    {
    }

    // The channel the words ask for: "--net ADDR[:PORT]" (the machine address and the Ethernet port) or
    // "--usb". False after saying why on stderr when the address is bad.
    bool Choose(const Args& args);

    CSettings& settings;
    MachineParamsStore params;
    LinkState state;
    StderrNotifier notifier;
    LibusbBackend usb;
    CMyCommu commu;
    LinkProtocol protocol;
};

// The machine's status line as the panel shows it, handed out only when its text has changed since.
class StatusLineChanges {
public:
    explicit StatusLineChanges(std::function<std::optional<std::string>()> line) : line_(std::move(line)) {}

    std::optional<std::string> Next();

private:
    std::function<std::optional<std::string>()> line_;
    std::string last_;
};

} // namespace qv::cli
