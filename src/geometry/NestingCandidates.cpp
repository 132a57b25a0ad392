#include "geometry/NestingCandidates.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qv {

namespace {

// The first points by cell, every cell's points together (counting sort).
class HeadGrid {
public:
    explicit HeadGrid(std::span<const CCurve* const> contours) : contours_(contours)
    {
        int64_t x1 = INT32_MIN;
        int64_t y1 = INT32_MIN;
        for (const CCurve* c : contours) {
            const CPoint h = c->points.front();
            minX_ = std::min<int64_t>(minX_, h.x);
            minY_ = std::min<int64_t>(minY_, h.y);
            x1 = std::max<int64_t>(x1, h.x);
            y1 = std::max<int64_t>(y1, h.y);
        }
        if (contours.empty())
            return;
        side_ = std::max<int64_t>(1, static_cast<int64_t>(std::ceil(std::sqrt(static_cast<double>(contours.size())))));
        cellW_ = (x1 - minX_) / side_ + 1;
        cellH_ = (y1 - minY_) / side_ + 1;
        start_.assign(static_cast<std::size_t>(side_ * side_) + 1, 0);
        for (const CCurve* c : contours)
            ++start_[Cell(c->points.front()) + 1];
        for (std::size_t i = 1; i < start_.size(); ++i)
            start_[i] += start_[i - 1];
        ids_.resize(contours.size());
        std::vector<uint32_t> fill(start_.begin(), start_.end() - 1);
        for (uint32_t id = 0; id < contours.size(); ++id)
            ids_[fill[Cell(contours[id]->points.front())]++] = id;
    }

    // Every contour whose first point lies in [x0, x1] x [y0, y1].
    template <class Visit>
    void ForEachIn(int64_t x0, int64_t x1, int64_t y0, int64_t y1, Visit visit) const
    {
        if (ids_.empty() || x0 > x1 || y0 > y1)
            return;
        const int64_t c0 = Clamp((x0 - minX_) / cellW_, x0 < minX_);
        const int64_t c1 = Clamp((x1 - minX_) / cellW_, x1 < minX_);
        const int64_t r0 = Clamp((y0 - minY_) / cellH_, y0 < minY_);
        const int64_t r1 = Clamp((y1 - minY_) / cellH_, y1 < minY_);
        if (x1 < minX_ || y1 < minY_)
            return;
        for (int64_t r = r0; r <= r1; ++r) {
            for (int64_t c = c0; c <= c1; ++c) {
                const auto cell = static_cast<std::size_t>(r * side_ + c);
                for (uint32_t k = start_[cell]; k < start_[cell + 1]; ++k) {
                    const CPoint h = contours_[ids_[k]]->points.front();
                    if (h.x >= x0 && h.x <= x1 && h.y >= y0 && h.y <= y1)
                        visit(ids_[k]);
                }
            }
        }
    }

private:
    int64_t Clamp(int64_t cell, bool below) const { return below ? 0 : std::min(cell, side_ - 1); }
    std::size_t Cell(CPoint h) const
    {
        return static_cast<std::size_t>(((h.y - minY_) / cellH_) * side_ + (h.x - minX_) / cellW_);
    }

    std::span<const CCurve* const> contours_;
    int64_t minX_ = INT32_MAX;
    int64_t minY_ = INT32_MAX;
    int64_t side_ = 1;
    int64_t cellW_ = 1;
    int64_t cellH_ = 1;
    std::vector<uint32_t> start_;
    std::vector<uint32_t> ids_;
};

} // namespace

std::optional<std::vector<std::vector<uint32_t>>> NestingCandidates(std::span<const CCurve* const> contours)
{
    const HeadGrid grid(contours);
    std::vector<std::vector<uint32_t>> candidates(contours.size());
    std::size_t entries = 0;
    for (uint32_t id = 0; id < contours.size(); ++id) {
        const CCurve& c = *contours[id];
        const auto pair = [&](uint32_t other) {
            if (other == id || entries > kMaxNestingCandidates)
                return;
            candidates[id].push_back(other);
            candidates[other].push_back(id);
            entries += 2;
        };
        grid.ForEachIn(c.minX, c.maxX, c.minY, c.maxY, pair);
        // Left of the box a point is inside exactly when it lies in a row from the lower end up to, not
        // including, the higher one.
        const int64_t lo = std::max<int64_t>(std::min(c.points.front().y, c.points.back().y), c.minY);
        const int64_t hi = std::min<int64_t>(std::max(c.points.front().y, c.points.back().y), c.maxY) - 1;
        grid.ForEachIn(INT32_MIN, int64_t{c.minX} - 1, lo, hi, pair);
        if (entries > kMaxNestingCandidates)
            return std::nullopt;
    }
    for (auto& list : candidates) {
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
    }
    return candidates;
}

} // namespace qv
