#include "MachineAddress.h"

#include "Args.h"

#include <arpa/inet.h>

namespace qv::cli {

bool TakeMachineAddress(const std::string& text, MachineSettings& machine, CMyEth& eth)
{
    const auto colon = text.find(':');
    const std::string host = text.substr(0, colon);
    if (::inet_pton(AF_INET, host.c_str(), machine.machineIp.data()) != 1)
        return false;
    if (colon != std::string::npos) {
        const auto port = ParseInt(text.substr(colon + 1));
        if (!port || *port <= 0 || *port > 65535)
            return false;
        eth.SetPort(static_cast<uint16_t>(*port));
    }
    return true;
}

} // namespace qv::cli
