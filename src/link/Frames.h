#pragma once

#include "link/LinkState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace qv {

// Frames of the link.
//
// Host to machine; byte 0 is the frame's total length including itself:
//   command frame (SendCmd)        02 cc
//   read-request frame (ReadCmd)   03 cc 00
//   write frame (WriteCmd)         (n+2) cc p0 .. p(n-1)      n payload bytes, at most 62 (a 64-byte area)
// Machine to host:
//   acknowledgement                03 tt vv                   tt status type, vv status value
//   read reply                     exactly n payload bytes, no header; received into a 64-byte area
// Multi-byte values inside payloads are little-endian (JobRecords.h and the parameter records).
inline constexpr std::size_t kFrameArea = 64;
inline constexpr std::size_t kMaxPayload = kFrameArea - 2;
inline constexpr std::size_t kReplyArea = 64;
inline constexpr std::size_t kAckSize = 3;
inline constexpr uint8_t kAckMark = 0x03;

struct Frame {
    std::array<uint8_t, kFrameArea> bytes{};
    std::size_t size = 0;

    std::span<const uint8_t> View() const { return {bytes.data(), size}; }
};

Frame CommandFrame(uint8_t code);
Frame ReadRequestFrame(uint8_t code);
// Empty when the payload exceeds kMaxPayload.
std::optional<Frame> WriteFrame(uint8_t code, std::span<const uint8_t> payload);

enum class AckFault { None, WrongLength, WrongMark };

struct Ack {
    AckFault fault = AckFault::None;
    MachineStatus status{};
};

// Checks `received` bytes of a reply area as an acknowledgement; `received` may be a negative transfer result.
Ack ParseAck(std::span<const uint8_t, kReplyArea> reply, int received);

} // namespace qv
