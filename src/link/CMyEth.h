#pragma once

#include "link/CLinkChannel.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace qv {

class MachineParamsStore;
class Notifier;
struct SharedFlags;

inline constexpr uint16_t kMachineTcpPort = 5169;
inline constexpr int kEthSendTimeoutMs = 3000;
// How long a reply or a connection may take before the exchange fails: a machine that accepts the
// connection and never answers must not hang the calling thread.
inline constexpr int kEthReplyTimeoutMs = 3000;
inline constexpr std::size_t kEthBulkChunk = 400;

// The Ethernet channel: a TCP client to the machine's IPv4 address (bytes 0..3 of MachineSettings, read at
// every connect) on port 5169. Every primitive connects first; afterwards the connection is closed unless a
// job thread exists, so each exchange outside a job has its own connection and a job keeps one throughout.
// Job data goes in 400-byte chunks, each acknowledged; an acknowledgement with status type 4 (ready)
// abandons the stream.
class CMyEth : public CLinkChannel {
public:
    CMyEth(LinkState& state, const MachineParamsStore& params, const SharedFlags& flags, Notifier& notifier);
    ~CMyEth() override;

    // The machine's port; the virtual machine may listen elsewhere.
    void SetPort(uint16_t port) { port_ = port; }
    uint16_t Port() const { return port_; }
    bool IsConnected() const { return socket_ >= 0; }

protected:
    int Begin() override;
    int SendFrame(std::span<const uint8_t> frame) override;
    int ReceiveReply(std::span<uint8_t, kReplyArea> reply) override;
    void End(bool broken) override;
    BulkResult Bulk(std::span<const uint8_t> data) override;

private:
    int Connect();
    void Disconnect();

    const MachineParamsStore& params_;
    const SharedFlags& flags_;
    Notifier& notifier_;
    std::atomic<uint16_t> port_{kMachineTcpPort};
    int socket_ = -1;
};

} // namespace qv
