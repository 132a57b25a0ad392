#include "NozzleMap.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv::sim {
namespace {

// Group g, bits 0..7, as written in the formats' telling rows (-1: empty bit).
void ExpectGroup(const NozzleMap& map, int group, std::vector<int> nozzles)
{
    nozzles.resize(8, NozzleMap::kNone);
    for (int bit = 0; bit < 8; ++bit)
        EXPECT_EQ(map.nozzleOf[group][bit], nozzles[static_cast<std::size_t>(bit)])
            << "group " << group << " bit " << bit;
}

TEST(NozzleMap, Hp45TellingRows)
{
    const NozzleMap& m = NozzleMapFor(0);
    EXPECT_EQ(m.nozzles, 150);
    EXPECT_EQ(m.RowBytes(), 44);
    ExpectGroup(m, 0, {0, 22, 44, 66, 88, 110, 132});
    ExpectGroup(m, 1, {3, 25, 47, 69, 91, 113, 135});
    ExpectGroup(m, 7, {-1, 21, 43, 65, 87, 109, 131});
    ExpectGroup(m, 14, {-1, 20, 42, 64, 86, 108, 130});
    ExpectGroup(m, 6, {18, 40, 62, 84, 106, 128});
    ExpectGroup(m, 15, {1, 23, 45, 67, 89, 111, 133});
}

TEST(NozzleMap, Iut308TellingRows)
{
    const NozzleMap& m = NozzleMapFor(1);
    EXPECT_EQ(m.nozzles, 308);
    EXPECT_EQ(m.RowBytes(), 88);
    ExpectGroup(m, 0, {85, 63, 41, 19, 151, 129, 107});
    ExpectGroup(m, 21, {66, 44, 22, 0, 132, 110, 88});
    ExpectGroup(m, 22, {261, 283, 305, 173, 195, 217, 239});
    ExpectGroup(m, 43, {242, 264, 286, 154, 176, 198, 220});
}

TEST(NozzleMap, EveryNozzleHasExactlyOneBit)
{
    for (const uint8_t type : {0, 1}) {
        const NozzleMap& m = NozzleMapFor(type);
        std::vector<int> seen(static_cast<std::size_t>(m.nozzles), 0);
        for (int g = 0; g < m.groups; ++g) {
            EXPECT_EQ(m.nozzleOf[g][7], NozzleMap::kNone);
            for (int bit = 0; bit < 8; ++bit) {
                if (m.nozzleOf[g][bit] != NozzleMap::kNone)
                    ++seen[static_cast<std::size_t>(m.nozzleOf[g][bit])];
            }
        }
        for (int n = 0; n < m.nozzles; ++n)
            EXPECT_EQ(seen[static_cast<std::size_t>(n)], 1) << "type " << int(type) << " nozzle " << n;
    }
}

} // namespace
} // namespace qv::sim
