#include "SimUsbDevice.h"

#include "SimMachine.h"

#include <algorithm>

namespace qv::sim {

int SimUsbDevice::Write(uint8_t endpoint, std::span<const uint8_t> data)
{
    if (!plugged_)
        return kNoDevice;
    if (endpoint == 0x02) {
        SimReply reply = machine_.HandleFrame(data);
        const std::lock_guard lock(mutex_);
        // A new frame supersedes an answer nobody fetched.
        pending_ = std::move(reply.bytes);
        if (reply.close)
            plugged_ = false;
        return static_cast<int>(data.size());
    }
    if (endpoint == 0x03) {
        switch (machine_.HandleBulk(data)) {
        case BulkOutcome::Taken:
            return static_cast<int>(data.size());
        case BulkOutcome::TimedOut:
            return kTimeout;
        case BulkOutcome::Short:
            return static_cast<int>(data.size()) - 1;
        case BulkOutcome::Vanished:
            plugged_ = false;
            return kNoDevice;
        }
    }
    return kPipe;
}

int SimUsbDevice::Read(uint8_t endpoint, std::span<uint8_t> buffer)
{
    if (!plugged_)
        return kNoDevice;
    if (endpoint != 0x81)
        return kPipe;
    const std::lock_guard lock(mutex_);
    if (pending_.empty())
        return kTimeout;
    const std::size_t n = std::min(buffer.size(), pending_.size());
    std::copy_n(pending_.begin(), n, buffer.begin());
    pending_.clear();
    return static_cast<int>(n);
}

} // namespace qv::sim
