#pragma once

#include "link/LinkState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace qv {

// Payload records of the job commands, little-endian:
//   job start record (52, 53), 10 bytes:  i32 X reference (pulses)  i32 rows per band  u16 segment count
//   segment record (54), 7 bytes:         u16 index (from 0)  u32 length in bytes  u8 kind ('P' 0x50 raster
//                                         band, 'C' 0x43 knife data)
//   job header (55), 6 bytes:             u16 0  u16 segment count  u16 knife record count
//   progress reply (40), 4 bytes:         u16 segments done  u8 status type  u8 status value
//   position reply (35, 36), 8 bytes:     i32 X  i32 Y (pulses)
//   version reply (32), 4 bytes:          u32 firmware version
inline constexpr uint8_t kSegmentRaster = 'P';
inline constexpr uint8_t kSegmentKnife = 'C';

struct JobStartRecord {
    static constexpr std::size_t kSize = 10;
    int32_t xReference = 0;
    int32_t rowsPerBand = 0;
    uint16_t segmentCount = 0;

    std::array<uint8_t, kSize> Encode() const;
};

struct SegmentRecord {
    static constexpr std::size_t kSize = 7;
    uint16_t index = 0;
    uint32_t length = 0;
    uint8_t kind = kSegmentRaster;

    std::array<uint8_t, kSize> Encode() const;
};

struct JobHeader {
    static constexpr std::size_t kSize = 6;
    uint16_t segmentCount = 0;
    uint16_t knifeRecordCount = 0;

    std::array<uint8_t, kSize> Encode() const;
};

struct ProgressReply {
    static constexpr std::size_t kSize = 4;
    uint16_t segmentsDone = 0;
    MachineStatus status{};

    static ProgressReply Decode(std::span<const uint8_t, kSize> wire);
};

inline constexpr std::size_t kPositionReplySize = 8;
MachinePoint DecodePosition(std::span<const uint8_t, kPositionReplySize> wire);

inline constexpr std::size_t kVersionReplySize = 4;
uint32_t DecodeVersion(std::span<const uint8_t, kVersionReplySize> wire);

} // namespace qv
