#pragma once

#include <array>
#include <cstdint>

namespace qv::sim {

// Which nozzle each bit of a row record fires, per cartridge type. A row record holds one byte per address
// group, head 1's groups first, then head 2's with the same map.
//
// "HP45" (cartridge type 0): 150 nozzles and 22 groups per head, 44-byte rows. Group g has base
// b = 3g mod 22; bit k fires nozzle b + 22k (k = 0..6) while that is below 150. The groups with base 20 and 21
// (groups 14 and 7) carry their six nozzles b, b + 22, .., b + 110 in bits 1..6 and leave bit 0 empty; bit 7
// is always empty.
// "IUT308" (cartridge type 1): 308 nozzles and 44 groups per head, 88-byte rows. For g = 0..21 with
// r = (19 - 3g) mod 22, bits 0..6 fire r + 22m for m = 3, 2, 1, 0, 6, 5, 4; for g = 22..43 with
// r = (19 - 3(g - 22)) mod 22, bits 0..6 fire 154 + r + 22m for m = 4, 5, 6, 0, 1, 2, 3; bit 7 is empty.
struct NozzleMap {
    static constexpr int kMaxGroups = 44;
    static constexpr int kNone = -1;

    int nozzles = 0; // per head
    int groups = 0;  // bytes per head in a row record
    // nozzleOf[group][bit]: the nozzle that bit fires, or kNone.
    std::array<std::array<int16_t, 8>, kMaxGroups> nozzleOf{};

    int RowBytes() const { return 2 * groups; }
};

// The map of cartridge type 0 ("HP45") or 1 ("IUT308"); any other type is taken as "HP45".
const NozzleMap& NozzleMapFor(uint8_t cartridgeType);

} // namespace qv::sim
