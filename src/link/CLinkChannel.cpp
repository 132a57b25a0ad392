#include "link/CLinkChannel.h"

namespace qv {

template <typename Judge>
int CLinkChannel::Exchange(std::span<const uint8_t> frame, std::span<uint8_t, kReplyArea> reply, Judge judge)
{
    const std::lock_guard lock(mutex_);
    int result = Begin();
    bool broken = result != 0;
    if (result == 0) {
        if (SendFrame(frame) != static_cast<int>(frame.size())) {
            result = -1;
            broken = true;
        } else if (const int received = ReceiveReply(reply); received == kSilent) {
            result = -1;
            broken = true;
        } else {
            result = judge(received);
            broken = received <= 0;
        }
    }
    End(broken);
    return result;
}

BulkResult CLinkChannel::SendBulk(std::span<const uint8_t> data)
{
    const std::lock_guard lock(mutex_);
    return Bulk(data);
}

int CLinkChannel::SendCmd(uint8_t code)
{
    std::array<uint8_t, kReplyArea> reply{};
    return Exchange(CommandFrame(code).View(), reply, [&](int received) {
        const Ack ack = ParseAck(reply, received);
        if (ack.fault != AckFault::None)
            return -2;
        state_.status = ack.status;
        return 0;
    });
}

int CLinkChannel::ReadCmd(uint8_t code, std::size_t n, std::span<uint8_t, kReplyArea> buffer)
{
    if (n > kReplyArea)
        return -1;
    return Exchange(ReadRequestFrame(code).View(), buffer,
                    [&](int received) { return received == static_cast<int>(n) ? 0 : -1; });
}

int CLinkChannel::WriteCmd(uint8_t code, std::span<const uint8_t> payload)
{
    const std::optional<Frame> frame = WriteFrame(code, payload);
    if (!frame)
        return -1;
    std::array<uint8_t, kReplyArea> reply{};
    return Exchange(frame->View(), reply, [&](int received) {
        const Ack ack = ParseAck(reply, received);
        if (ack.fault == AckFault::WrongLength)
            return -1;
        if (ack.fault == AckFault::WrongMark)
            return -2;
        state_.status = ack.status;
        return 0;
    });
}

} // namespace qv
