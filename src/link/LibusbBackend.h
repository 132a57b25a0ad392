#pragma once

#include "link/UsbBackend.h"

#include <utility>
#include <vector>

struct libusb_context;
struct libusb_device;

namespace qv {

// UsbBackend over libusb-1.0. A library that fails to start leaves an empty device list, so every open fails
// the way an unplugged machine does.
class LibusbBackend : public UsbBackend {
public:
    LibusbBackend();
    ~LibusbBackend() override;
    LibusbBackend(const LibusbBackend&) = delete;
    LibusbBackend& operator=(const LibusbBackend&) = delete;

    int RefreshDevices() override;
    std::unique_ptr<UsbDeviceHandle> OpenDevice(uint16_t vendorId, uint16_t productId) override;

private:
    void ReleaseList();

    libusb_context* context_ = nullptr;
    libusb_device** list_ = nullptr;
    long count_ = 0;
    std::vector<std::pair<uint8_t, uint8_t>> seen_; // bus and address of every listed device
};

} // namespace qv
