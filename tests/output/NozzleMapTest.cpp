#include "output/NozzleMap.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace qv {
namespace {

// The nozzles a group fires, bit 0 first; -1 for an empty bit.
std::vector<int> GroupNozzles(const NozzleMap& map, int group)
{
    std::vector<int> bits(8, -1);
    for (int q = 0; q < map.nozzles; ++q) {
        const NozzleMap::Slot s = map.slot[static_cast<std::size_t>(q)];
        if (s.group == group)
            bits[static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(s.mask)))] = q;
    }
    return bits;
}

struct GroupRow {
    const char* name;
    Cartridge cartridge;
    int group;
    std::vector<int> nozzles; // bits 0 to 7
};

TEST(NozzleMap, TellingGroups)
{
    const GroupRow rows[] = {
        {"HP45 group 0", Cartridge::HP45, 0, {0, 22, 44, 66, 88, 110, 132, -1}},
        {"HP45 group 1", Cartridge::HP45, 1, {3, 25, 47, 69, 91, 113, 135, -1}},
        {"HP45 group 7, base 21: bit 0 empty", Cartridge::HP45, 7, {-1, 21, 43, 65, 87, 109, 131, -1}},
        {"HP45 group 14, base 20: bit 0 empty", Cartridge::HP45, 14, {-1, 20, 42, 64, 86, 108, 130, -1}},
        {"HP45 group 15", Cartridge::HP45, 15, {1, 23, 45, 67, 89, 111, 133, -1}},
        {"HP45 group 6, base 18: six nozzles from bit 0", Cartridge::HP45, 6, {18, 40, 62, 84, 106, 128, -1, -1}},
        {"HP45 group 21, base 19: six nozzles from bit 0", Cartridge::HP45, 21, {19, 41, 63, 85, 107, 129, -1, -1}},
        {"IUT308 group 0", Cartridge::IUT308, 0, {85, 63, 41, 19, 151, 129, 107, -1}},
        {"IUT308 group 21", Cartridge::IUT308, 21, {66, 44, 22, 0, 132, 110, 88, -1}},
        {"IUT308 group 22", Cartridge::IUT308, 22, {261, 283, 305, 173, 195, 217, 239, -1}},
        {"IUT308 group 43", Cartridge::IUT308, 43, {242, 264, 286, 154, 176, 198, 220, -1}},
    };
    for (const GroupRow& row : rows)
        EXPECT_EQ(GroupNozzles(NozzleMapOf(row.cartridge), row.group), row.nozzles) << row.name;
}

struct PixelRow {
    const char* name;
    Cartridge cartridge;
    int nozzle;
    int byte;
    int bit;
};

TEST(NozzleMap, TellingPixels)
{
    const PixelRow rows[] = {
        {"HP45 pixel 21", Cartridge::HP45, 21, 7, 1},
        {"HP45 pixel 132", Cartridge::HP45, 132, 0, 6},
        {"HP45 last pixel", Cartridge::HP45, 149, 13, 6}, // base 149 - 132 = 17 = 3 * 13 mod 22
        {"IUT308 pixel 0", Cartridge::IUT308, 0, 21, 3},
        {"IUT308 pixel 307", Cartridge::IUT308, 307, 36, 2},
        {"IUT308 pixel 154, first of the second half", Cartridge::IUT308, 154, 43, 3},
    };
    for (const PixelRow& row : rows) {
        const NozzleMap::Slot s = NozzleMapOf(row.cartridge).slot[static_cast<std::size_t>(row.nozzle)];
        EXPECT_EQ(s.group, row.byte) << row.name;
        EXPECT_EQ(s.mask, 1 << row.bit) << row.name;
    }
}

TEST(NozzleMap, EveryNozzleHasItsOwnBitAndBitSevenNone)
{
    for (const Cartridge cartridge : {Cartridge::HP45, Cartridge::IUT308}) {
        const NozzleMap& map = NozzleMapOf(cartridge);
        std::set<std::pair<int, int>> seen;
        for (int q = 0; q < map.nozzles; ++q) {
            const NozzleMap::Slot s = map.slot[static_cast<std::size_t>(q)];
            EXPECT_LT(s.group, map.groups);
            EXPECT_TRUE(s.mask != 0 && s.mask < 0x80 && std::has_single_bit(static_cast<unsigned>(s.mask)));
            seen.insert({s.group, s.mask});
        }
        EXPECT_EQ(seen.size(), static_cast<std::size_t>(map.nozzles)) << "cartridge " << static_cast<int>(cartridge);
    }
    EXPECT_EQ(NozzleMapOf(Cartridge::HP45).nozzles, 150);
    EXPECT_EQ(NozzleMapOf(Cartridge::HP45).RowBytes(), 44);
    EXPECT_EQ(NozzleMapOf(Cartridge::IUT308).nozzles, 308);
    EXPECT_EQ(NozzleMapOf(Cartridge::IUT308).RowBytes(), 88);
}

} // namespace
} // namespace qv
