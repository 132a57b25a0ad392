#pragma once

#include "app/MachineParams.h"

#include <array>
#include <cstdint>
#include <mutex>

namespace qv {

// The process-wide MachineParams. The thread that owns the task list changes them (the machine dialogs) and
// copies them for a job; the link monitor replaces them at every handshake and a save sends them; the
// Ethernet channel reads the address at every connect. Each access is one whole copy under one lock, so no
// thread ever sees a record half replaced.
class MachineParamsStore {
public:
    MachineParamsStore() = default;
    explicit MachineParamsStore(const MachineParams& params) : params_(params) {}
    MachineParamsStore(const MachineParamsStore&) = delete;
    MachineParamsStore& operator=(const MachineParamsStore&) = delete;

    MachineParams Get() const
    {
        const std::lock_guard lock(mutex_);
        return params_;
    }
    void Set(const MachineParams& params)
    {
        const std::lock_guard lock(mutex_);
        params_ = params;
    }
    std::array<uint8_t, 4> Address() const
    {
        const std::lock_guard lock(mutex_);
        return params_.settings.machineIp;
    }
    void SetAddress(const std::array<uint8_t, 4>& address)
    {
        const std::lock_guard lock(mutex_);
        params_.settings.machineIp = address;
    }
    // One record as the machine sent it, leaving the other as it is.
    void Replace(const AdvancedParams& advanced)
    {
        const std::lock_guard lock(mutex_);
        params_.advanced = advanced;
    }
    void Replace(const MachineSettings& settings)
    {
        const std::lock_guard lock(mutex_);
        params_.settings = settings;
    }

private:
    mutable std::mutex mutex_;
    MachineParams params_;
};

} // namespace qv
