#pragma once

#include "model/CPoint.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace qv {

// Curve ends by place, for the joins that look for "the next curve in list order with an end near this point".
// Scanning the list after every join is quadratic; the index answers the same question from the few ends
// around the point. Curves are known by their list position at the start of the join (the id); a join only
// ever removes curves, so ids keep the list order.
class EndPointIndex {
public:
    // `reach`: the largest |dx| and |dy| at which an end can still count as near.
    explicit EndPointIndex(int32_t reach) : reach_(reach), cell_(int64_t{reach} + 1) {}

    // Registers an end of curve `id` under `group` (the curve kind); ids must not decrease.
    void Add(uint32_t id, int32_t group, CPoint end)
    {
        if (removed_.size() <= id)
            removed_.resize(std::size_t{id} + 1, false);
        cells_[{group, CellOf(end.x), CellOf(end.y)}].push_back({id, end});
    }

    // The curve was joined into another and is gone.
    void Remove(uint32_t id) { removed_[id] = true; }

    // The smallest id above `after`, not removed, with an end under `group` within reach of `p` for which
    // accept(end) holds.
    template <class Accept>
    std::optional<uint32_t> FirstAfter(uint32_t after, int32_t group, CPoint p, Accept&& accept) const
    {
        std::optional<uint32_t> best;
        for (int64_t cx = CellOf(int64_t{p.x} - reach_); cx <= CellOf(int64_t{p.x} + reach_); ++cx) {
            for (int64_t cy = CellOf(int64_t{p.y} - reach_); cy <= CellOf(int64_t{p.y} + reach_); ++cy) {
                const auto cell = cells_.find({group, cx, cy});
                if (cell == cells_.end())
                    continue;
                const auto& entries = cell->second;
                auto it = std::upper_bound(entries.begin(), entries.end(), after,
                                           [](uint32_t id, const Entry& e) { return id < e.id; });
                for (; it != entries.end() && (!best || it->id < *best); ++it) {
                    if (!removed_[it->id] && accept(it->end)) {
                        best = it->id;
                        break;
                    }
                }
            }
        }
        return best;
    }

private:
    struct Entry {
        uint32_t id;
        CPoint end;
    };
    struct CellKey {
        int32_t group;
        int64_t cx;
        int64_t cy;
        bool operator==(const CellKey&) const = default;
    };
    struct CellKeyHash {
        std::size_t operator()(const CellKey& k) const
        {
            uint64_t h = static_cast<uint64_t>(k.cx) * 0x9E3779B97F4A7C15ull;
            h ^= static_cast<uint64_t>(k.cy) + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
            h ^= static_cast<uint64_t>(static_cast<uint32_t>(k.group)) * 0xC2B2AE3D27D4EB4Full;
            return static_cast<std::size_t>(h ^ (h >> 29));
        }
    };

    int64_t CellOf(int64_t v) const { return v >= 0 ? v / cell_ : -((-v + cell_ - 1) / cell_); }

    int32_t reach_;
    int64_t cell_;
    std::unordered_map<CellKey, std::vector<Entry>, CellKeyHash> cells_;
    std::vector<bool> removed_;
};

} // namespace qv
