#include "NozzleMap.h"

namespace qv::sim {

namespace {

NozzleMap BuildHp45()
{
    NozzleMap map;
    map.nozzles = 150;
    map.groups = 22;
    for (auto& group : map.nozzleOf)
        group.fill(NozzleMap::kNone);
    for (int g = 0; g < map.groups; ++g) {
        const int base = (3 * g) % 22;
        const int firstBit = base >= 20 ? 1 : 0;
        for (int k = 0; k < 7; ++k) {
            const int nozzle = base + 22 * k;
            if (nozzle < map.nozzles && firstBit + k < 7)
                map.nozzleOf[g][firstBit + k] = static_cast<int16_t>(nozzle);
        }
    }
    return map;
}

NozzleMap BuildIut308()
{
    NozzleMap map;
    map.nozzles = 308;
    map.groups = 44;
    for (auto& group : map.nozzleOf)
        group.fill(NozzleMap::kNone);
    constexpr int kFirstHalf[7] = {3, 2, 1, 0, 6, 5, 4};
    constexpr int kSecondHalf[7] = {4, 5, 6, 0, 1, 2, 3};
    for (int g = 0; g < map.groups; ++g) {
        const int h = g % 22;
        const int r = ((19 - 3 * h) % 22 + 22) % 22;
        for (int k = 0; k < 7; ++k) {
            const int nozzle = g < 22 ? r + 22 * kFirstHalf[k] : 154 + r + 22 * kSecondHalf[k];
            map.nozzleOf[g][k] = static_cast<int16_t>(nozzle);
        }
    }
    return map;
}

} // namespace

const NozzleMap& NozzleMapFor(uint8_t cartridgeType)
{
    static const NozzleMap hp45 = BuildHp45();
    static const NozzleMap iut308 = BuildIut308();
    return cartridgeType == 1 ? iut308 : hp45;
}

} // namespace qv::sim
