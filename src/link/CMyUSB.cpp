#include "link/CMyUSB.h"

namespace qv {

CMyUSB::CMyUSB(LinkState& state, UsbBackend& backend) : CLinkChannel(state), backend_(backend)
{
    lastRefresh_ = backend_.RefreshDevices();
}

std::unique_ptr<UsbDeviceHandle> CMyUSB::OpenDevice()
{
    // A refresh that found exactly one change is taken to have found the machine: the list is kept and not
    // read again before every transfer.
    if (lastRefresh_ != 1)
        lastRefresh_ = backend_.RefreshDevices();
    auto device = backend_.OpenDevice(kMachineVendorId, kMachineProductId);
    if (!device || device->ClaimInterface(kMachineInterface) != 0) {
        // The kept list may name a machine that has since been unplugged: read it afresh next time, so a
        // machine plugged in again is found without restarting the program.
        lastRefresh_ = 0;
        return nullptr;
    }
    return device;
}

template <typename Transfer>
int CMyUSB::Cycle(Transfer transfer)
{
    const auto device = OpenDevice();
    if (!device)
        return -1;
    const int result = transfer(*device);
    device->ReleaseInterface(kMachineInterface);
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

BulkResult CMyUSB::Bulk(std::span<const uint8_t> data)
{
    if (data.size() > static_cast<std::size_t>(INT32_MAX))
        return BulkResult::Failed;
    const int written =
        Cycle([&](UsbDeviceHandle& d) { return d.BulkWrite(kEndpointBulkOut, data, kBulkOutTimeoutMs); });
    return written == static_cast<int>(data.size()) ? BulkResult::Sent : BulkResult::Failed;
}

} // namespace qv
