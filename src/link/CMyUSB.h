#pragma once

#include "link/CLinkChannel.h"
#include "link/UsbBackend.h"

#include <memory>

namespace qv {

// The USB channel. The device is opened and interface 0 claimed before every single transfer and released
// and closed after it, so an acknowledgement is read in a second open/claim/release/close cycle after the
// frame's own; frames go to endpoint 0x02 (50 ms), replies come from 0x81 (64-byte reads, 1000 ms), job
// data goes to 0x03 in one transfer (1000 ms) with no acknowledgement.
class CMyUSB : public CLinkChannel {
public:
    // Reads the device list once; never fails (no machine simply makes every transfer fail).
    CMyUSB(LinkState& state, UsbBackend& backend);

protected:
    int Begin() override { return 0; }
    int SendFrame(std::span<const uint8_t> frame) override;
    int ReceiveReply(std::span<uint8_t, kReplyArea> reply) override;
    void End(bool) override {}
    // Sent only when the device took every byte.
    BulkResult Bulk(std::span<const uint8_t> data) override;

private:
    // The machine opened with its interface claimed; null when it cannot be.
    std::unique_ptr<UsbDeviceHandle> OpenDevice();
    // Open, claim, `transfer`, release, close; -1 when the device cannot be opened.
    template <typename Transfer>
    int Cycle(Transfer transfer);

    UsbBackend& backend_;
    int lastRefresh_ = 0;
};

} // namespace qv
