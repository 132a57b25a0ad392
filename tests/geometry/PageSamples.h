#pragma once

#include "model/COnePage.h"
#include "model/CurveKind.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace qv {

// Points in failure messages as (x,y).
inline void PrintTo(const CPoint& p, std::ostream* out)
{
    *out << "(" << p.x << "," << p.y << ")";
}

} // namespace qv

namespace qv::test {

inline CCurve& AddCurve(COnePage& page, std::initializer_list<CPoint> points, int32_t kind = CurveKind::FullCut)
{
    CCurve& c = page.AddCurve();
    c.points = points;
    c.kind = kind;
    return c;
}

inline std::vector<std::vector<CPoint>> PointsOf(const COnePage& page)
{
    std::vector<std::vector<CPoint>> all;
    for (const auto& c : page.curves)
        all.emplace_back(c->points.begin(), c->points.end());
    return all;
}

inline std::vector<int32_t> KindsOf(const COnePage& page)
{
    std::vector<int32_t> kinds;
    for (const auto& c : page.curves)
        kinds.push_back(c->kind);
    return kinds;
}

// Every member of every curve and the page bounds, one curve a line, for comparisons and failure messages.
inline std::string Dump(const COnePage& page)
{
    std::ostringstream out;
    out << "page bounds x " << page.minX << ".." << page.maxX << " y " << page.minY << ".." << page.maxY << ", number "
        << page.pageNumber << ", state " << page.state << "\n";
    for (std::size_t i = 0; i < page.curves.size(); ++i) {
        const CCurve& c = *page.curves[i];
        out << "  [" << i << "] kind " << c.kind << " sel " << c.selected << " style " << c.lineStyle << " notch "
            << c.notch << " box " << c.minX << "," << c.minY << ".." << c.maxX << "," << c.maxY << " :";
        for (const CPoint& p : c.points)
            out << " (" << p.x << "," << p.y << ")";
        out << "\n";
    }
    return out.str();
}

inline std::string DumpPages(const std::vector<std::unique_ptr<COnePage>>& pages)
{
    std::string all;
    for (const auto& page : pages)
        all += Dump(*page);
    return all;
}

inline std::unique_ptr<COnePage> Clone(const COnePage& page)
{
    auto copy = std::make_unique<COnePage>();
    copy->CopyFrom(page);
    copy->pageNumber = page.pageNumber;
    copy->state = page.state;
    for (std::size_t i = 0; i < page.curves.size(); ++i) {
        copy->curves[i]->notch = page.curves[i]->notch;
        copy->curves[i]->length = page.curves[i]->length;
    }
    return copy;
}

// Pages of random curves whose ends often meet exactly or nearly: points come from a coarse lattice with a
// small jitter, so the joins, paging and nesting tests meet their borderline cases.
class RandomPages {
public:
    explicit RandomPages(uint32_t seed) : rng_(seed) {}

    int32_t Int(int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng_); }
    bool Chance(int percent) { return Int(0, 99) < percent; }

    CPoint Point(int32_t lattice, int32_t cells, int32_t jitter)
    {
        return {Int(0, cells) * lattice + Int(-jitter, jitter), Int(0, cells) * lattice + Int(-jitter, jitter)};
    }

    // `curves` curves of 1 to `maxPoints` points; kinds 0 to 3, some selected, some closed, a few notches.
    COnePage Page(int curves, int maxPoints, int32_t lattice = 50, int32_t cells = 6, int32_t jitter = 12)
    {
        COnePage page;
        for (int i = 0; i < curves; ++i) {
            CCurve& c = page.AddCurve();
            c.kind = Int(0, 3);
            c.selected = Chance(50) ? 1 : 0;
            c.notch = Chance(5) ? 1 : 0;
            c.lineStyle = Int(0, 1);
            const int n = Chance(10) ? 1 : Int(2, maxPoints);
            for (int k = 0; k < n; ++k)
                c.points.push_back(Point(lattice, cells, jitter));
            if (n > 2 && Chance(15))
                c.points.push_back(c.points.front());
        }
        return page;
    }

private:
    std::mt19937 rng_;
};

// Compares two pages member by member; the message shows both when they differ.
inline ::testing::AssertionResult SamePages(const COnePage& expected, const COnePage& actual)
{
    const std::string a = Dump(expected);
    const std::string b = Dump(actual);
    if (a == b)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "reference:\n" << a << "indexed:\n" << b;
}

} // namespace qv::test
