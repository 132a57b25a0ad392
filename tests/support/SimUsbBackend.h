#pragma once

#include "SimUsbDevice.h"
#include "link/UsbBackend.h"

#include <memory>

namespace qv::test {

// Plugs the virtual machine's in-process USB device into the link's USB backend: the device list holds the
// machine while it is plugged in, and every open, claim, release and close is counted on the device.
class SimUsbBackend : public UsbBackend {
public:
    explicit SimUsbBackend(sim::SimUsbDevice& device) : device_(device) {}

    int RefreshDevices() override
    {
        const bool now = device_.Plugged();
        const int changes = now != listed_ ? 1 : 0;
        listed_ = now;
        ++refreshes;
        return changes;
    }

    std::unique_ptr<UsbDeviceHandle> OpenDevice(uint16_t vendorId, uint16_t productId) override
    {
        if (!listed_ || vendorId != kMachineVendorId || productId != kMachineProductId || !device_.Plugged())
            return nullptr;
        ++device_.opens;
        return std::make_unique<Handle>(device_);
    }

    int refreshes = 0;

private:
    class Handle : public UsbDeviceHandle {
    public:
        explicit Handle(sim::SimUsbDevice& device) : device_(device) {}
        ~Handle() override { ++device_.closes; }
        Handle(const Handle&) = delete;
        Handle& operator=(const Handle&) = delete;

        int ClaimInterface(int number) override
        {
            if (number != kMachineInterface)
                return sim::SimUsbDevice::kNoDevice;
            ++device_.claims;
            claimed_ = true;
            return 0;
        }
        int ReleaseInterface(int) override
        {
            ++device_.releases;
            claimed_ = false;
            return 0;
        }
        int BulkWrite(uint8_t endpoint, std::span<const uint8_t> data, unsigned) override
        {
            return claimed_ ? device_.Write(endpoint, data) : sim::SimUsbDevice::kPipe;
        }
        int BulkRead(uint8_t endpoint, std::span<uint8_t> buffer, unsigned) override
        {
            return claimed_ ? device_.Read(endpoint, buffer) : sim::SimUsbDevice::kPipe;
        }

    private:
        sim::SimUsbDevice& device_;
        bool claimed_ = false;
    };

    sim::SimUsbDevice& device_;
    bool listed_ = false;
};

} // namespace qv::test
