#include "link/ManualCommandQueue.h"

namespace qv {

int ManualCommandQueue::Append(uint8_t code)
{
    if (count_.load(std::memory_order_acquire) >= kCapacity)
        return -1;
    const int index = (writeIndex_.load(std::memory_order_relaxed) + 1) % kCapacity;
    writeIndex_.store(index, std::memory_order_relaxed);
    slots_[static_cast<std::size_t>(index)].store(code, std::memory_order_relaxed);
    count_.fetch_add(1, std::memory_order_release);
    return 0;
}

std::optional<uint8_t> ManualCommandQueue::Take()
{
    if (count_.load(std::memory_order_acquire) <= 0)
        return std::nullopt;
    const int index = (readIndex_.load(std::memory_order_relaxed) + 1) % kCapacity;
    readIndex_.store(index, std::memory_order_relaxed);
    const uint8_t code = slots_[static_cast<std::size_t>(index)].load(std::memory_order_relaxed);
    count_.fetch_sub(1, std::memory_order_release);
    return code;
}

void ManualCommandQueue::Clear()
{
    readIndex_.store(0, std::memory_order_relaxed);
    writeIndex_.store(0, std::memory_order_relaxed);
    count_.store(0, std::memory_order_release);
}

} // namespace qv
