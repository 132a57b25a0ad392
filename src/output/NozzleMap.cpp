#include "output/NozzleMap.h"

namespace qv {

namespace {

void Place(NozzleMap& map, int32_t nozzle, int32_t group, int32_t bit)
{
    map.slot[static_cast<std::size_t>(nozzle)] = {static_cast<uint8_t>(group), static_cast<uint8_t>(1u << bit)};
}

NozzleMap BuildHp45()
{
    NozzleMap map;
    map.nozzles = 150;
    map.groups = 22;
    for (int32_t g = 0; g < map.groups; ++g) {
        const int32_t base = 3 * g % 22;
        const int32_t firstBit = base >= 20 ? 1 : 0;
        for (int32_t nozzle = base, bit = firstBit; nozzle < map.nozzles; nozzle += 22, ++bit)
            Place(map, nozzle, g, bit);
    }
    return map;
}

NozzleMap BuildIut308()
{
    NozzleMap map;
    map.nozzles = 308;
    map.groups = 44;
    constexpr int32_t kFirstHalf[7] = {3, 2, 1, 0, 6, 5, 4};
    constexpr int32_t kSecondHalf[7] = {4, 5, 6, 0, 1, 2, 3};
    for (int32_t g = 0; g < map.groups; ++g) {
        const int32_t r = ((19 - 3 * (g % 22)) % 22 + 22) % 22;
        for (int32_t bit = 0; bit < 7; ++bit)
            Place(map, g < 22 ? r + 22 * kFirstHalf[bit] : 154 + r + 22 * kSecondHalf[bit], g, bit);
    }
    return map;
}

} // namespace

const NozzleMap& NozzleMapOf(Cartridge cartridge)
{
    static const NozzleMap hp45 = BuildHp45();
    static const NozzleMap iut308 = BuildIut308();
    return cartridge == Cartridge::IUT308 ? iut308 : hp45;
}

} // namespace qv
