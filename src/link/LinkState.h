#pragma once

#include <atomic>
#include <cstdint>

namespace qv {

// Status types the machine reports in every acknowledgement and progress reply.
enum StatusType : uint8_t {
    kStatusInit = 0,
    kStatusSeekOrigin = 1,
    kStatusReady = 4,
    kStatusCleaning = 10,
    kStatusProcessing = 11,
    kStatusWorking = 12,
    kStatusPaused = 13,
    kStatusMemoryError = 15,
    kStatusStepperLostSteps = 17,
};
// The status value that goes with kStatusWorking while the machine runs the job's data.
inline constexpr uint8_t kWorkingRunning = 18;

// The status pair of the latest acknowledgement.
struct MachineStatus {
    uint8_t type = kStatusInit;
    uint8_t value = 0;

    bool operator==(const MachineStatus&) const = default;
};

// A machine position in pulses (head position, start point).
struct MachinePoint {
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const MachinePoint&) const = default;
};

// The values the link shares between threads: one object for the process, created by the program and
// handed by reference to the transport, the link monitor, the job thread and the panel. Each value is a
// single atomic with one writer at a time, so no lock is needed.
struct LinkState {
    std::atomic<bool> Connected{false};
    std::atomic<MachineStatus> status{};
    // Set exactly while a job thread exists (by the dispatch before it starts the thread, cleared by the
    // job result handler). Keeps the Ethernet connection open and the link monitor silent.
    std::atomic<bool> jobThreadExists{false};
    std::atomic<uint16_t> segmentCount{0};
    std::atomic<uint16_t> progressCount{0};
    std::atomic<MachinePoint> headPosition{};
    std::atomic<MachinePoint> startPoint{};
    std::atomic<uint32_t> firmwareVersion{0};
    // Set while the link monitor is not between a check of jobThreadExists and the end of its pass: a job's
    // first exchange waits for it (WaitUntilMonitorParked), so the monitor's last pass never overlaps the job.
    std::atomic<bool> monitorParked{true};
    // A job's cancel (17) that could not reach the machine: the monitor sends it once the link is up again,
    // so a machine left holding part of a job does not wait for its data for ever.
    std::atomic<bool> cancelOwed{false};

    // The link is down: Connected cleared and the status type back to initialising.
    void MarkDisconnected()
    {
        Connected = false;
        status = MachineStatus{kStatusInit, status.load().value};
    }

    static_assert(std::atomic<MachineStatus>::is_always_lock_free);
    static_assert(std::atomic<MachinePoint>::is_always_lock_free);
};

} // namespace qv
