#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

// One knife record of the job being output. X, Y, speed, look-ahead and code go to the machine; the rest are
// working fields of the passes that compute them.
struct KnifeRecord {
    int32_t x = 0;   // pulses
    int32_t y = 0;   // pulses
    char code = 'M'; // 'M' move with the knife up, 'F' full cut, 'H' half cut
    int32_t dx = 0;
    int32_t dy = 0;
    uint32_t major = 0;       // max(|dx|, |dy|), pulses
    uint32_t length = 0;      // page units
    double heading = 0;       // radians
    double turn = 0;          // radians, (-pi, pi]
    int32_t segmentClass = 0; // 0 normal, 1 curve, 2 tight, 3 corner
    int32_t speed = 0;
    int32_t steps = 0;
    int32_t lookAhead = 0;
};

// The knife records of the page being output; one object for the process, emptied by every job preparation.
struct KnifeList {
    static constexpr std::size_t kMaxRecords = 131070;
    static constexpr std::size_t kWireRecordSize = 12;

    std::vector<KnifeRecord> records;

    void Clear()
    {
        records.clear();
        records.shrink_to_fit();
    }
};

// The 12-byte wire records, little-endian: i32 X, i32 Y, u8 speed, u8 look-ahead, u8 code, u8 0.
// `out` must hold records.size() * 12 bytes.
void EncodeKnifeData(const KnifeList& list, std::span<uint8_t> out);

} // namespace qv
