#include "link/CMyUSB.h"

namespace qv {

CMyUSB::CMyUSB(LinkState& state, UsbBackend& backend) : CLinkChannel(state), backend_(backend)
{
    lastRefresh_ = backend_.RefreshDevices();
}

CMyUSB::~CMyUSB()
{
    CloseDevice();
}

int CMyUSB::OpenDevice()
{
    if (device_)
        return 0;
    // A refresh that found exactly one change is taken to have found the machine: the list is kept and not
    // read again before every transfer.
    if (lastRefresh_ != 1)
        lastRefresh_ = backend_.RefreshDevices();
    device_ = backend_.OpenDevice(kMachineVendorId, kMachineProductId);
    if (!device_) {
        // The kept list may name a machine that has since been unplugged: read it afresh next time, so a
        // machine plugged in again is found without restarting the program.
        lastRefresh_ = 0;
        return -1;
    }
    if (device_->ClaimInterface(kMachineInterface) != 0) {
        device_.reset();
        lastRefresh_ = 0;
        return -1;
    }
    return 0;
}

void CMyUSB::CloseDevice()
{
    if (!device_)
        return;
    device_->ReleaseInterface(kMachineInterface);
    device_.reset();
}

template <typename Transfer>
int CMyUSB::Cycle(Transfer transfer)
{
    if (OpenDevice() != 0)
        return -1;
    const int result = transfer(*device_);
    CloseDevice();
    return result;
}

int CMyUSB::SendFrame(std::span<const uint8_t> frame)
{
    return Cycle([&](UsbDeviceHandle& d) { return d.BulkWrite(kEndpointFramesOut, frame, kFramesOutTimeoutMs); });
}

int CMyUSB::ReceiveReply(std::span<uint8_t, kReplyArea> reply)
{
    return Cycle([&](UsbDeviceHandle& d) { return d.BulkRead(kEndpointRepliesIn, reply, kRepliesInTimeoutMs); });
}

int CMyUSB::SendBulk(std::span<const uint8_t> data)
{
    const std::lock_guard lock(mutex());
    return Cycle([&](UsbDeviceHandle& d) { return d.BulkWrite(kEndpointBulkOut, data, kBulkOutTimeoutMs); });
}

} // namespace qv
