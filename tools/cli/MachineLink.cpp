#include "MachineLink.h"

#include "link/StatusLine.h"

#include <arpa/inet.h>

#include <cstdio>

namespace qv::cli {

bool TakeMachineAddress(const std::string& text, MachineSettings& machine, CMyEth& eth)
{
    const auto colon = text.find(':');
    const std::string host = text.substr(0, colon);
    bool ok = ::inet_pton(AF_INET, host.c_str(), machine.machineIp.data()) == 1;
    if (ok && colon != std::string::npos) {
        const auto port = ParseInt(text.substr(colon + 1));
        ok = port && *port > 0 && *port <= 65535;
        if (ok)
            eth.SetPort(static_cast<uint16_t>(*port));
    }
    if (!ok)
        std::fprintf(stderr, "quorvane-cli: bad machine address %s\n", text.c_str());
    return ok;
}

bool MachineLink::Choose(const Args& args)
{
    settings.ConnectViaNet = args.Flag("usb") ? 0 : 1;
    const auto net = args.Value("net");
    return !net || TakeMachineAddress(*net, params.settings, commu.Eth());
}

std::optional<std::string> StatusLineChanges::Next()
{
    auto line = StatusLineText(link_, params_, settings_.Language);
    if (!line || *line == last_)
        return std::nullopt;
    last_ = *line;
    return line;
}

} // namespace qv::cli
