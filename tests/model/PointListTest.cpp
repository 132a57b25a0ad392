#include "model/PointList.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace qv {
namespace {

TEST(PointList, TwoPointsStayInPlaceAndAPointOfTheListSurvivesTheMoveToTheHeap)
{
    PointList p{{1, 2}, {3, 4}};
    EXPECT_EQ(p.capacity(), PointList::kInlineCapacity);
    p.push_back(p[0]); // the third point leaves the place the argument lies in
    p.insert(p.begin(), p.back());
    EXPECT_EQ(p, (std::vector<CPoint>{{1, 2}, {1, 2}, {3, 4}, {1, 2}}));

    PointList moved = std::move(p);
    EXPECT_TRUE(p.empty());
    p.push_back({7, 7});
    EXPECT_EQ(p, (std::vector<CPoint>{{7, 7}}));
    EXPECT_EQ(moved.size(), 4u);
}

// Every operation, on lists that cross between two points in place and a heap block both ways, against a
// vector doing the same.
TEST(PointList, RandomOperationsMatchAVector)
{
    std::mt19937 rng(15);
    const auto below = [&rng](std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(rng() % n); };
    for (int round = 0; round < 200; ++round) {
        PointList list;
        std::vector<CPoint> ref;
        for (int step = 0; step < 40; ++step) {
            const CPoint q{static_cast<int32_t>(rng() % 100), static_cast<int32_t>(rng() % 100) - 50};
            const std::vector<CPoint> range(below(5), q);
            const std::size_t at = below(ref.size() + 1);
            switch (rng() % 10) {
            case 0:
                list.push_back(q);
                ref.push_back(q);
                break;
            case 1:
                list.insert(list.begin() + at, q);
                ref.insert(ref.begin() + static_cast<std::ptrdiff_t>(at), q);
                break;
            case 2:
                list.insert(list.begin() + at, range.rbegin(), range.rend());
                ref.insert(ref.begin() + static_cast<std::ptrdiff_t>(at), range.rbegin(), range.rend());
                break;
            case 3:
                if (at < ref.size()) {
                    const std::size_t to = at + below(ref.size() - at + 1);
                    list.erase(list.begin() + at, list.begin() + to);
                    ref.erase(ref.begin() + static_cast<std::ptrdiff_t>(at),
                              ref.begin() + static_cast<std::ptrdiff_t>(to));
                }
                break;
            case 4: {
                const std::size_t n = below(8);
                list.resize(n);
                ref.resize(n);
                break;
            }
            case 5:
                list.reserve(below(12));
                break;
            case 6:
                list = range;
                ref = range;
                break;
            case 7: {
                PointList copy(list);
                list = std::move(copy);
                break;
            }
            case 8: {
                PointList other(range.begin(), range.end());
                other = list;
                list = other;
                break;
            }
            default:
                if (!ref.empty()) {
                    list.pop_back();
                    ref.pop_back();
                }
                break;
            }
            ASSERT_EQ(list, ref) << "round " << round << ", step " << step;
            ASSERT_GE(list.capacity(), list.size());
        }
    }
}

} // namespace
} // namespace qv
