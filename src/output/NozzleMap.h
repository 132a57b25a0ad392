#pragma once

#include "app/MachineParams.h"

#include <array>
#include <cstdint>

namespace qv {

// Where each nozzle of a head sits in the head's part of a row record: the address group (byte) and the bit.
// Both heads of a cartridge use the same map.
//
// "HP45": 150 nozzles, 22 groups. Group g has base b = 3g mod 22 and fires nozzle b + 22k with bit k while that
// is below 150; the groups with base 20 and 21 (14 and 7) hold their six nozzles in bits 1 to 6, bit 0 empty.
// "IUT308": 308 nozzles, 44 groups. Group g < 22 with r = (19 - 3g) mod 22 fires r + 22m with bits 0 to 6 for
// m = 3, 2, 1, 0, 6, 5, 4; group g >= 22 with r = (19 - 3(g - 22)) mod 22 fires 154 + r + 22m for
// m = 4, 5, 6, 0, 1, 2, 3. Bit 7 never fires anything.
struct NozzleMap {
    static constexpr int32_t kMaxNozzles = 308;

    struct Slot {
        uint8_t group = 0;
        uint8_t mask = 0; // the group's bit for this nozzle
    };

    int32_t nozzles = 0; // n, per head
    int32_t groups = 0;  // bytes per head in a row record
    std::array<Slot, kMaxNozzles> slot{};

    int32_t RowBytes() const { return 2 * groups; }
};

// Cartridge type 1 is "IUT308"; every other value is taken as "HP45", the machine's default.
const NozzleMap& NozzleMapOf(Cartridge cartridge);

} // namespace qv
