#pragma once

#include "link/Frames.h"
#include "link/LinkState.h"

#include <climits>
#include <cstdint>
#include <mutex>
#include <span>

namespace qv {

// How the one transfer of a job's data ended: every byte went out; the machine abandoned the stream (an
// Ethernet chunk acknowledged with status type 4, ready); or the transfer failed (no device or connection, a
// chunk not sent whole, an acknowledgement missing or malformed).
enum class BulkResult { Sent, Abandoned, Failed };

// One way to the machine (USB or Ethernet) with the four primitives of the link. The exchange rules are the
// same on both channels; each channel supplies how a frame goes out and how a reply comes in.
//
// Results: 0 on success; -1 when the channel cannot be opened, a frame did not go out whole, a read reply had
// the wrong length, or a WriteCmd acknowledgement was not exactly 3 bytes; -2 when a SendCmd acknowledgement
// was not exactly 3 bytes or any acknowledgement did not start with 0x03. A machine that stays silent past
// the channel's bounded wait fails the exchange with -1. Every valid acknowledgement stores its status pair.
class CLinkChannel {
public:
    explicit CLinkChannel(LinkState& state) : state_(state) {}
    virtual ~CLinkChannel() = default;
    CLinkChannel(const CLinkChannel&) = delete;
    CLinkChannel& operator=(const CLinkChannel&) = delete;

    int SendCmd(uint8_t code);
    // Succeeds only when exactly n bytes (at most 64) arrive; the reply lands in `buffer` either way.
    int ReadCmd(uint8_t code, std::size_t n, std::span<uint8_t, kReplyArea> buffer);
    int WriteCmd(uint8_t code, std::span<const uint8_t> payload);
    // The job data as one stream, under the same lock as every other exchange.
    BulkResult SendBulk(std::span<const uint8_t> data);

protected:
    // Makes the channel ready for an exchange (Ethernet: connect); 0 or -1.
    virtual int Begin() = 0;
    // Bytes sent, or negative.
    virtual int SendFrame(std::span<const uint8_t> frame) = 0;
    // Bytes received into the reply area, negative on a transfer error, or kSilent when the machine did not
    // answer within the channel's bounded wait: the exchange then fails with -1 whatever the primitive.
    static constexpr int kSilent = INT_MIN;
    virtual int ReceiveReply(std::span<uint8_t, kReplyArea> reply) = 0;
    // After every exchange, whatever its result; `broken` when the frame did not go out or no reply came
    // (time-out, transfer error, closed connection), as opposed to a reply the protocol refuses.
    virtual void End(bool broken) = 0;
    // The job data stream itself, called with the channel's lock held.
    virtual BulkResult Bulk(std::span<const uint8_t> data) = 0;

    LinkState& state() { return state_; }

private:
    // One frame out and its reply in under the channel's lock; `judge` turns the reply into the result.
    template <typename Judge>
    int Exchange(std::span<const uint8_t> frame, std::span<uint8_t, kReplyArea> reply, Judge judge);

    LinkState& state_;
    std::mutex mutex_;
};

} // namespace qv
