#include "link/Frames.h"

#include <algorithm>

namespace qv {

Frame CommandFrame(uint8_t code)
{
    Frame f;
    f.bytes[0] = 0x02;
    f.bytes[1] = code;
    f.size = 2;
    return f;
}

Frame ReadRequestFrame(uint8_t code)
{
    Frame f;
    f.bytes[0] = 0x03;
    f.bytes[1] = code;
    f.bytes[2] = 0x00;
    f.size = 3;
    return f;
}

std::optional<Frame> WriteFrame(uint8_t code, std::span<const uint8_t> payload)
{
    if (payload.size() > kMaxPayload)
        return std::nullopt;
    Frame f;
    f.size = payload.size() + 2;
    f.bytes[0] = static_cast<uint8_t>(f.size);
    f.bytes[1] = code;
    std::copy(payload.begin(), payload.end(), f.bytes.begin() + 2);
    return f;
}

Ack ParseAck(std::span<const uint8_t, kReplyArea> reply, int received)
{
    if (received != static_cast<int>(kAckSize))
        return {AckFault::WrongLength, {}};
    if (reply[0] != kAckMark)
        return {AckFault::WrongMark, {}};
    return {AckFault::None, {reply[1], reply[2]}};
}

} // namespace qv
