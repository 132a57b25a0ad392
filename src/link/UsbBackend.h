#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace qv {

// The machine's USB identity, interface and endpoints.
inline constexpr uint16_t kMachineVendorId = 0xA728;
inline constexpr uint16_t kMachineProductId = 0x0709;
inline constexpr int kMachineInterface = 0;
inline constexpr uint8_t kEndpointFramesOut = 0x02; // command, read-request and write frames
inline constexpr uint8_t kEndpointRepliesIn = 0x81; // acknowledgements and read replies
inline constexpr uint8_t kEndpointBulkOut = 0x03;   // job data
inline constexpr unsigned kFramesOutTimeoutMs = 50;
inline constexpr unsigned kRepliesInTimeoutMs = 1000;
inline constexpr unsigned kBulkOutTimeoutMs = 1000;

// An opened USB device. Destruction closes it.
class UsbDeviceHandle {
public:
    virtual ~UsbDeviceHandle() = default;
    // 0 on success, a negative error otherwise.
    virtual int ClaimInterface(int number) = 0;
    virtual int ReleaseInterface(int number) = 0;
    // Bytes transferred (possibly fewer than asked when the time-out struck mid-way), or a negative error.
    virtual int BulkWrite(uint8_t endpoint, std::span<const uint8_t> data, unsigned timeoutMs) = 0;
    virtual int BulkRead(uint8_t endpoint, std::span<uint8_t> buffer, unsigned timeoutMs) = 0;
};

// The USB library as the link uses it: a device list that is refreshed on demand and walked in order.
// The real one is LibusbBackend; tests plug in the virtual machine's in-process device.
class UsbBackend {
public:
    virtual ~UsbBackend() = default;
    // Re-reads the device list; returns the number of devices that came or went since the last refresh.
    virtual int RefreshDevices() = 0;
    // Opens the first device of the list with this identity; null when there is none or it cannot be opened.
    virtual std::unique_ptr<UsbDeviceHandle> OpenDevice(uint16_t vendorId, uint16_t productId) = 0;
};

} // namespace qv
