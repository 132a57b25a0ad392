#include "link/LibusbBackend.h"

#include <libusb.h>

#include <algorithm>
#include <climits>

namespace qv {

namespace {

class LibusbDeviceHandle : public UsbDeviceHandle {
public:
    explicit LibusbDeviceHandle(libusb_device_handle* handle) : handle_(handle) {}
    ~LibusbDeviceHandle() override { libusb_close(handle_); }
    LibusbDeviceHandle(const LibusbDeviceHandle&) = delete;
    LibusbDeviceHandle& operator=(const LibusbDeviceHandle&) = delete;

    int ClaimInterface(int number) override { return libusb_claim_interface(handle_, number); }
    int ReleaseInterface(int number) override { return libusb_release_interface(handle_, number); }

    int BulkWrite(uint8_t endpoint, std::span<const uint8_t> data, unsigned timeoutMs) override
    {
        // libusb takes a non-const buffer for both directions; it does not write to an OUT buffer.
        return Transfer(endpoint, const_cast<uint8_t*>(data.data()), data.size(), timeoutMs);
    }
    int BulkRead(uint8_t endpoint, std::span<uint8_t> buffer, unsigned timeoutMs) override
    {
        return Transfer(endpoint, buffer.data(), buffer.size(), timeoutMs);
    }

private:
    // Like the classic bulk calls: the bytes moved when any moved before a time-out, else the error.
    int Transfer(uint8_t endpoint, uint8_t* data, std::size_t size, unsigned timeoutMs)
    {
        if (size > static_cast<std::size_t>(INT_MAX))
            return LIBUSB_ERROR_INVALID_PARAM;
        int moved = 0;
        const int r = libusb_bulk_transfer(handle_, endpoint, data, static_cast<int>(size), &moved, timeoutMs);
        if (r == 0 || (r == LIBUSB_ERROR_TIMEOUT && moved > 0))
            return moved;
        return r;
    }

    libusb_device_handle* handle_;
};

} // namespace

LibusbBackend::LibusbBackend()
{
    if (libusb_init(&context_) != 0)
        context_ = nullptr;
}

LibusbBackend::~LibusbBackend()
{
    ReleaseList();
    if (context_)
        libusb_exit(context_);
}

void LibusbBackend::ReleaseList()
{
    if (list_)
        libusb_free_device_list(list_, 1);
    list_ = nullptr;
    count_ = 0;
}

int LibusbBackend::RefreshDevices()
{
    if (!context_)
        return 0;
    ReleaseList();
    const ssize_t n = libusb_get_device_list(context_, &list_);
    if (n < 0) {
        list_ = nullptr;
        return static_cast<int>(n);
    }
    count_ = static_cast<long>(n);
    std::vector<std::pair<uint8_t, uint8_t>> now;
    for (long i = 0; i < count_; ++i)
        now.emplace_back(libusb_get_bus_number(list_[i]), libusb_get_device_address(list_[i]));
    std::sort(now.begin(), now.end());
    std::vector<std::pair<uint8_t, uint8_t>> changed;
    std::set_symmetric_difference(now.begin(), now.end(), seen_.begin(), seen_.end(), std::back_inserter(changed));
    seen_ = std::move(now);
    return static_cast<int>(changed.size());
}

std::unique_ptr<UsbDeviceHandle> LibusbBackend::OpenDevice(uint16_t vendorId, uint16_t productId)
{
    for (long i = 0; i < count_; ++i) {
        libusb_device_descriptor d{};
        if (libusb_get_device_descriptor(list_[i], &d) != 0 || d.idVendor != vendorId || d.idProduct != productId)
            continue;
        libusb_device_handle* handle = nullptr;
        if (libusb_open(list_[i], &handle) != 0)
            return nullptr;
        return std::make_unique<LibusbDeviceHandle>(handle);
    }
    return nullptr;
}

} // namespace qv
