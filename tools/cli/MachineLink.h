#pragma once

#include "Args.h"
#include "StderrNotifier.h"

#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "link/CMyCommu.h"
#include "link/LibusbBackend.h"
#include "link/LinkProtocol.h"
#include "link/LinkState.h"

#include <optional>
#include <string>

namespace qv::cli {

// "ADDR" or "ADDR:PORT" of --net into the machine address of the settings record and the Ethernet channel's
// port; false after saying why on stderr for anything else.
bool TakeMachineAddress(const std::string& text, MachineSettings& machine, CMyEth& eth);

// The host's side of the link for a subcommand that talks to the machine, messages on stderr.
struct MachineLink {
    MachineLink(CSettings& settings, MachineParams& params)
        : settings(settings), params(params), commu(settings, params, state, notifier, usb),
          protocol(commu, state, params, settings, notifier)
    {
    }

    // The channel the words ask for: "--net ADDR[:PORT]" (the machine address of the settings record and the
    // Ethernet port) or "--usb". False after saying why on stderr when the address is bad.
    bool Choose(const Args& args);

    CSettings& settings;
    MachineParams& params;
    LinkState state;
    StderrNotifier notifier;
    LibusbBackend usb;
    CMyCommu commu;
    LinkProtocol protocol;
};

// The machine's status line as the panel shows it, handed out only when its text has changed since.
class StatusLineChanges {
public:
    StatusLineChanges(const LinkState& link, const MachineParams& params, const CSettings& settings)
        : link_(link), params_(params), settings_(settings)
    {
    }

    std::optional<std::string> Next();

private:
    const LinkState& link_;
    const MachineParams& params_;
    const CSettings& settings_;
    std::string last_;
};

} // namespace qv::cli
