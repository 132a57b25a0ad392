#pragma once

#include "model/CPoint.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace qv {

// Curve ends by place, for the joins that look for "the next curve in list order with an end near this point".
// Scanning the list after every join is quadratic; the index answers the same question from the few ends
// around the point. Curves are known by their list position at the start of the join (the id); a join only
// ever removes curves, so ids keep the list order.
//
// The ends sit in square cells at least twice the reach wide, so the box around a point touches at most two
// cells in each direction; their width is a power of two, so a coordinate finds its cell by a shift. Cells are
// found through an open-addressing table over the ends sorted by cell.
class EndPointIndex {
public:
    // `reach`: the largest |dx| and |dy| at which an end can still count as near.
    explicit EndPointIndex(int32_t reach) : reach_(reach)
    {
        while ((int64_t{1} << cellShift_) < 2 * int64_t{reach} + 1)
            ++cellShift_;
    }

    // Registers an end of curve `id` under `group` (the curve kind); ids must not decrease.
    void Add(uint32_t id, int32_t group, CPoint end)
    {
        if (removed_.size() <= id)
            removed_.resize(std::size_t{id} + 1, false);
        entries_.push_back({{group, CellOf(end.x), CellOf(end.y)}, id, end});
        built_ = false;
    }

    // The curve was joined into another and is gone.
    void Remove(uint32_t id) { removed_[id] = true; }

    // The smallest id above `after`, not removed, with an end under `group` within reach of `p` for which
    // accept(end) holds.
    template <class Accept>
    std::optional<uint32_t> FirstAfter(uint32_t after, int32_t group, CPoint p, Accept&& accept)
    {
        if (!built_)
            Build();
        std::optional<uint32_t> best;
        const int32_t xFrom = CellOf(int64_t{p.x} - reach_);
        const int32_t xTo = CellOf(int64_t{p.x} + reach_);
        const int32_t yFrom = CellOf(int64_t{p.y} - reach_);
        const int32_t yTo = CellOf(int64_t{p.y} + reach_);
        // 64-bit counters: with cells one unit wide the last cell of a point at INT32_MAX is INT32_MAX.
        for (int64_t cx = xFrom; cx <= xTo; ++cx) {
            for (int64_t cy = yFrom; cy <= yTo; ++cy) {
                const Slot* slot = Find({group, static_cast<int32_t>(cx), static_cast<int32_t>(cy)});
                if (slot == nullptr)
                    continue;
                const Entry* first = entries_.data() + slot->begin;
                const Entry* end = entries_.data() + slot->end;
                const Entry* it =
                    std::upper_bound(first, end, after, [](uint32_t id, const Entry& e) { return id < e.id; });
                for (; it != end && (!best || it->id < *best); ++it) {
                    if (!removed_[it->id] && accept(it->point)) {
                        best = it->id;
                        break;
                    }
                }
            }
        }
        return best;
    }

    // The smallest id above `after` with an end near the curve's first or last point: near(point, end).
    template <class Near>
    std::optional<uint32_t> FirstAfterEither(uint32_t after, int32_t group, CPoint first, CPoint last, Near near)
    {
        const auto atLast = FirstAfter(after, group, last, [&](CPoint end) { return near(last, end); });
        const auto atFirst = FirstAfter(after, group, first, [&](CPoint end) { return near(first, end); });
        if (!atLast || !atFirst)
            return atLast ? atLast : atFirst;
        return std::min(*atLast, *atFirst);
    }

private:
    struct Cell {
        int32_t group;
        int32_t cx;
        int32_t cy;
        bool operator==(const Cell&) const = default;
        auto operator<=>(const Cell&) const = default;
    };
    struct Entry {
        Cell cell;
        uint32_t id;
        CPoint point;
    };
    struct Slot {
        Cell cell;
        uint32_t begin;
        uint32_t end; // 0 marks a free slot: every used slot holds at least one end
    };

    // The shift of a negative coordinate rounds down, as the cells need.
    int32_t CellOf(int64_t v) const { return static_cast<int32_t>(v >> cellShift_); }

    static std::size_t Hash(const Cell& c)
    {
        uint64_t h = static_cast<uint32_t>(c.cx) * 0x9E3779B97F4A7C15ull;
        h ^= (static_cast<uint64_t>(static_cast<uint32_t>(c.cy)) + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
        h ^= static_cast<uint32_t>(c.group) * 0x165667B19E3779F9ull;
        return static_cast<std::size_t>(h ^ (h >> 31));
    }

    // Sorts the ends by cell, keeping the id order inside a cell, and fills the table of cells.
    void Build()
    {
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return a.cell < b.cell; });
        std::size_t capacity = 16;
        while (capacity < 2 * entries_.size())
            capacity *= 2;
        slots_.assign(capacity, Slot{{0, 0, 0}, 0, 0});
        mask_ = capacity - 1;
        for (std::size_t i = 0; i < entries_.size();) {
            std::size_t j = i + 1;
            while (j < entries_.size() && entries_[j].cell == entries_[i].cell)
                ++j;
            std::size_t s = Hash(entries_[i].cell) & mask_;
            while (slots_[s].end != 0)
                s = (s + 1) & mask_;
            slots_[s] = {entries_[i].cell, static_cast<uint32_t>(i), static_cast<uint32_t>(j)};
            i = j;
        }
        built_ = true;
    }

    const Slot* Find(const Cell& cell) const
    {
        for (std::size_t s = Hash(cell) & mask_; slots_[s].end != 0; s = (s + 1) & mask_) {
            if (slots_[s].cell == cell)
                return &slots_[s];
        }
        return nullptr;
    }

    int32_t reach_;
    int cellShift_ = 0; // cells are 2^cellShift_ wide
    std::vector<Entry> entries_;
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::vector<bool> removed_;
    bool built_ = false;
};

} // namespace qv
