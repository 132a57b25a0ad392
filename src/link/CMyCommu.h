#pragma once

#include "link/CMyEth.h"
#include "link/CMyUSB.h"

namespace qv {

// The facade over the two channels: every call goes over Ethernet when ConnectViaNet is set at that moment
// (its mirror in SharedFlags), over USB otherwise, with no further set-up when the choice changes. It holds no
// lock and no state of its own; each channel locks itself for a whole exchange.
class CMyCommu {
public:
    CMyCommu(const SharedFlags& flags, const MachineParamsStore& params, LinkState& state, Notifier& notifier,
             UsbBackend& usbBackend);

    int SendCmd(uint8_t code) { return Channel().SendCmd(code); }
    int ReadCmd(uint8_t code, std::size_t n, std::span<uint8_t, kReplyArea> buffer)
    {
        return Channel().ReadCmd(code, n, buffer);
    }
    int WriteCmd(uint8_t code, std::span<const uint8_t> payload) { return Channel().WriteCmd(code, payload); }
    BulkResult SendBulk(std::span<const uint8_t> data) { return Channel().SendBulk(data); }

    bool ViaNet() const;
    CMyEth& Eth() { return eth_; }

private:
    CLinkChannel& Channel();

    const SharedFlags& flags_;
    CMyUSB usb_;
    CMyEth eth_;
};

} // namespace qv
