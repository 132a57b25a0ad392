#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>

namespace qv {

// The manual commands on their way from the user interface to the thread that talks to the machine: a
// first-in first-out ring of 5 one-byte codes. One producer (the user interface) and one consumer at a time
// (the link monitor, or the job's progress loop while a job runs). The count is the only value both sides
// write; its release/acquire pairs publish a slot to the consumer and hand a taken slot back to the producer.
class ManualCommandQueue {
public:
    static constexpr int kCapacity = 5;

    // Appends a code; -1 (and the code is dropped) when five are already waiting.
    int Append(uint8_t code);
    // Takes the oldest code, if any.
    std::optional<uint8_t> Take();
    // Empties the ring; only while nobody appends (the link monitor's start).
    void Clear();
    int Count() const { return count_.load(std::memory_order_acquire); }

private:
    std::array<std::atomic<uint8_t>, kCapacity> slots_{};
    std::atomic<int> writeIndex_{0}; // producer's
    std::atomic<int> readIndex_{0};  // consumer's
    std::atomic<int> count_{0};
};

} // namespace qv
