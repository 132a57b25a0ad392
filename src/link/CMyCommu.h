#pragma once

#include "link/CMyEth.h"
#include "link/CMyUSB.h"

namespace qv {

// The facade over the two channels: every call goes over Ethernet when ConnectViaNet is set at that moment,
// over USB otherwise, with no further set-up when the choice changes. It holds no lock and no state of its
// own; each channel locks itself for a whole exchange.
class CMyCommu {
public:
    CMyCommu(const CSettings& settings, const MachineParams& params, LinkState& state, Notifier& notifier,
             UsbBackend& usbBackend);

    int SendCmd(uint8_t code) { return Channel().SendCmd(code); }
    int ReadCmd(uint8_t code, std::size_t n, std::span<uint8_t, kReplyArea> buffer)
    {
        return Channel().ReadCmd(code, n, buffer);
    }
    int WriteCmd(uint8_t code, std::span<const uint8_t> payload) { return Channel().WriteCmd(code, payload); }
    // Callers compare the result with data.size(); anything else is a failed transfer.
    int SendBulk(std::span<const uint8_t> data) { return Channel().SendBulk(data); }

    bool ViaNet() const;
    CMyEth& Eth() { return eth_; }

private:
    CLinkChannel& Channel();

    const CSettings& settings_;
    CMyUSB usb_;
    CMyEth eth_;
};

} // namespace qv
