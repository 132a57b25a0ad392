#include "MachineLink.h"

#include <arpa/inet.h>

#include <cstdio>

namespace qv::cli {

bool MachineLink::Choose(const Args& args)
{
    settings.ConnectViaNet = args.Flag("usb") ? 0 : 1;
    const auto net = args.Value("net");
    if (!net)
        return true;
    const auto colon = net->find(':');
    const std::string host = net->substr(0, colon);
    bool ok = ::inet_pton(AF_INET, host.c_str(), params.settings.machineIp.data()) == 1;
    if (ok && colon != std::string::npos) {
        const auto port = ParseInt(net->substr(colon + 1));
        ok = port && *port > 0 && *port <= 65535;
        if (ok)
            commu.Eth().SetPort(static_cast<uint16_t>(*port));
    }
    if (!ok)
        std::fprintf(stderr, "quorvane-cli: bad machine address %s\n", net->c_str());
    return ok;
}

} // namespace qv::cli
