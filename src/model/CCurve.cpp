#include "model/CCurve.h"

#include "app/InvalidArgument.h"
#include "app/LittleEndian.h"
#include "model/Archive.h"
#include "model/Rounding.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace qv {

namespace {

constexpr std::string_view kRecordTag = "QVTG";

// A drawing holds millions of curves: with the allocator's 8 bytes a curve is one heap block of 64.
static_assert(sizeof(CCurve) <= 56);

[[noreturn]] void ThrowBadPointIndex(std::size_t index, std::size_t count)
{
    throw InvalidArgument("point index " + std::to_string(index) + " outside a curve of " + std::to_string(count) +
                          " points");
}

// The direction of a segment, as the collinear test compares it: the exact atan2 of its differences.
double Direction(const CPoint& from, const CPoint& to)
{
    return std::atan2(static_cast<double>(to.y) - from.y, static_cast<double>(to.x) - from.x);
}

// Whether two segments' directions compare unequal, with atan2 only where the answer is close. Two segments
// of non-zero length that turn by more than 1e-9 rad (or point apart) have directions far more than atan2's
// rounding apart, so they differ without it; zero lengths and near-parallels take the exact comparison.
bool DirectionsDiffer(const CPoint& a0, const CPoint& a1, const CPoint& b0, const CPoint& b1)
{
    const double ax = static_cast<double>(a1.x) - a0.x;
    const double ay = static_cast<double>(a1.y) - a0.y;
    const double bx = static_cast<double>(b1.x) - b0.x;
    const double by = static_cast<double>(b1.y) - b0.y;
    const double aa = ax * ax + ay * ay;
    const double bb = bx * bx + by * by;
    if (aa > 0 && bb > 0) {
        const double cross = ax * by - ay * bx;
        if (ax * bx + ay * by < 0 || cross * cross > 1e-18 * aa * bb)
            return true;
    }
    return Direction(a0, a1) != Direction(b0, b1);
}

} // namespace

void CCurve::CopyFrom(const CCurve& other)
{
    selected = other.selected;
    kind = other.kind;
    lineStyle = other.lineStyle;
    minX = other.minX;
    maxX = other.maxX;
    minY = other.minY;
    maxY = other.maxY;
    points = other.points;
}

void CCurve::InsertPoint(std::size_t index, int32_t x, int32_t y)
{
    if (index >= points.size()) {
        points.resize(index);
        points.push_back({x, y});
        return;
    }
    points.insert(points.begin() + static_cast<std::ptrdiff_t>(index), CPoint{x, y});
}

void CCurve::RemovePoint(std::size_t index)
{
    if (index >= points.size())
        ThrowBadPointIndex(index, points.size());
    points.erase(points.begin() + static_cast<std::ptrdiff_t>(index));
}

const CPoint& CCurve::GetPoint(std::size_t index) const
{
    if (index >= points.size())
        ThrowBadPointIndex(index, points.size());
    return points[index];
}

CPoint& CCurve::GetPoint(std::size_t index)
{
    if (index >= points.size())
        ThrowBadPointIndex(index, points.size());
    return points[index];
}

void CCurve::ComputeBounds()
{
    if (points.empty())
        throw InvalidArgument("bounds of a curve without points");
    const auto [xMin, xMax] =
        std::minmax_element(points.begin(), points.end(), [](const CPoint& a, const CPoint& b) { return a.x < b.x; });
    const auto [yMin, yMax] =
        std::minmax_element(points.begin(), points.end(), [](const CPoint& a, const CPoint& b) { return a.y < b.y; });
    minX = xMin->x;
    maxX = xMax->x;
    minY = yMin->y;
    maxY = yMax->y;
}

void CCurve::ComputeLength()
{
    length = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const double dx = static_cast<double>(points[i].x) - points[i - 1].x;
        const double dy = static_cast<double>(points[i].y) - points[i - 1].y;
        length += std::sqrt(dx * dx + dy * dy);
    }
}

void CCurve::Translate(int32_t dx, int32_t dy)
{
    const auto shift = [](int32_t v, int32_t d) { return SaturateToInt32(int64_t{v} - d); };
    for (CPoint& p : points) {
        p.x = shift(p.x, dx);
        p.y = shift(p.y, dy);
    }
    minX = shift(minX, dx);
    maxX = shift(maxX, dx);
    minY = shift(minY, dy);
    maxY = shift(maxY, dy);
}

void CCurve::Scale(double sx, double sy)
{
    for (CPoint& p : points) {
        p.x = TruncToInt32(p.x * sx);
        p.y = TruncToInt32(p.y * sy);
    }
}

void CCurve::Reverse()
{
    std::reverse(points.begin(), points.end());
}

void CCurve::RemoveCollinear()
{
    if (points.size() < 3)
        return;
    // Compaction in one sweep, so a long straight run costs no more than a bent one: points[0, last] are kept,
    // and each interior point is kept when the direction from the last one kept to it differs from the next
    // segment's. points[k] and beyond are still the input's, as last < k.
    std::size_t last = 0;
    for (std::size_t k = 1; k + 1 < points.size(); ++k) {
        if (DirectionsDiffer(points[last], points[k], points[k], points[k + 1]))
            points[++last] = points[k];
    }
    points[++last] = points.back();
    points.resize(last + 1);
}

void CCurve::Serialize(ArchiveWriter& ar) const
{
    ar.WriteString(kRecordTag);
    ar.WriteInt32(kind);
    ar.WriteInt32(maxX);
    ar.WriteInt32(maxY);
    ar.WriteInt32(minX);
    ar.WriteInt32(minY);
    ar.WriteInt32(lineStyle);
    ar.WriteCount(static_cast<uint32_t>(points.size()));
    const auto block = ar.Extend(points.size() * 8);
    for (std::size_t i = 0; i < points.size(); ++i) {
        StoreLE(block.data() + 8 * i, points[i].x);
        StoreLE(block.data() + 8 * i + 4, points[i].y);
    }
}

void CCurve::Serialize(ArchiveReader& ar)
{
    ar.ReadString(); // the tag is not compared: files of other runs carry other tags
    kind = ar.ReadInt32();
    maxX = ar.ReadInt32();
    maxY = ar.ReadInt32();
    minX = ar.ReadInt32();
    minY = ar.ReadInt32();
    lineStyle = ar.ReadInt32();
    const uint32_t n = ar.ReadCount(8);
    const auto block = ar.ReadBytes(std::size_t{n} * 8);
    points.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        points[i] = {LoadLE<int32_t>(block.data() + 8 * i), LoadLE<int32_t>(block.data() + 8 * i + 4)};
}

} // namespace qv
