#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv::sim {

// The knife data ("C" segment): 12-byte records, little-endian, in cutting order:
//   0 i32 X (pulses)   4 i32 Y (pulses)   8 u8 speed   9 u8 look-ahead   10 u8 code   11 u8 0
// code 'M' (0x4D) moves to the point with the knife up, 'F' (0x46) full-cuts and 'H' (0x48) half-cuts to it.
inline constexpr std::size_t kKnifeRecordSize = 12;

struct KnifeRecord {
    int32_t x = 0;
    int32_t y = 0;
    uint8_t speed = 0;
    uint8_t lookAhead = 0;
    char code = 'M';

    bool operator==(const KnifeRecord&) const = default;
};

struct KnifeData {
    std::vector<KnifeRecord> records;
    std::vector<std::string> errors;
};

// Every record of `data`; a length that is not a whole number of records, an unknown code or a non-zero
// last byte is an error (the records that can be read are kept).
KnifeData DecodeKnifeRecords(std::span<const uint8_t> data);

} // namespace qv::sim
