#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace qv::sim {

class SimMachine;

// The virtual machine as an in-process USB device: frames written to endpoint 0x02 are answered on 0x81,
// job data written to 0x03 is taken without an answer. Results follow the USB library: the bytes moved, or
// kTimeout when no answer waits, kNoDevice while unplugged, kPipe for an endpoint the machine does not have.
// A fault that drops the connection makes the device vanish (unplugged) until it is plugged in again.
class SimUsbDevice {
public:
    static constexpr int kNoDevice = -4;
    static constexpr int kPipe = -9;
    static constexpr int kTimeout = -7;

    explicit SimUsbDevice(SimMachine& machine) : machine_(machine) {}

    int Write(uint8_t endpoint, std::span<const uint8_t> data);
    int Read(uint8_t endpoint, std::span<uint8_t> buffer);

    void SetPlugged(bool plugged) { plugged_ = plugged; }
    bool Plugged() const { return plugged_; }

    // How the host treated the device: every transfer is to come between an open/claim and a release/close.
    std::atomic<int> opens{0};
    std::atomic<int> claims{0};
    std::atomic<int> releases{0};
    std::atomic<int> closes{0};

private:
    SimMachine& machine_;
    std::atomic<bool> plugged_{true};
    std::mutex mutex_;
    std::vector<uint8_t> pending_; // the answer waiting on 0x81
};

} // namespace qv::sim
