#include "MachineLink.h"

#include <arpa/inet.h>

#include <cstdio>

namespace qv::cli {

std::optional<NetAddress> ParseMachineAddress(const std::string& text)
{
    NetAddress address;
    const auto colon = text.find(':');
    const std::string host = text.substr(0, colon);
    bool ok = ::inet_pton(AF_INET, host.c_str(), address.ip.data()) == 1;
    if (ok && colon != std::string::npos) {
        const auto port = ParseInt(text.substr(colon + 1));
        ok = port && *port > 0 && *port <= 65535;
        if (ok)
            address.port = static_cast<uint16_t>(*port);
    }
    if (!ok) {
        std::fprintf(stderr, "quorvane-cli: bad machine address %s\n", text.c_str());
        return std::nullopt;
    }
    return address;
}

bool MachineLink::Choose(const Args& args)
{
    AppOptions options = settings.Options();
    options.ConnectViaNet = args.Flag("usb") ? 0 : 1;
    settings.SetOptions(options);
    const auto net = args.Value("net");
    if (!net)
        return true;
    const auto address = ParseMachineAddress(*net);
    if (!address)
        return false;
    params.SetAddress(address->ip);
    commu.Eth().SetPort(address->port);
    return true;
}

std::optional<std::string> StatusLineChanges::Next()
{
    auto line = line_();
    if (!line || *line == last_)
        return std::nullopt;
    last_ = *line;
    return line;
}

} // namespace qv::cli
