#pragma once

#include "model/Archive.h"
#include "model/CPoint.h"
#include "model/CurveKind.h"
#include "model/PointList.h"

#include <cstddef>
#include <cstdint>

namespace qv {

// One open or closed polyline in plotter units of 1/40 mm, tagged with the work the machine does along it.
// Bounds are valid after ComputeBounds (and kept by Translate); length after ComputeLength.
class CCurve {
public:
    static constexpr ArchiveClass kArchiveClass{"CCurve", 1};
    // The smallest record with its reference: reference 2, tag length 1, six int32, count 2.
    static constexpr std::size_t kMinArchiveBytes = 2 + 1 + 6 * 4 + 2;

    // The vertices in drawing order. Algorithms may work on the list directly; the checked accessors
    // below are for callers whose indices come from outside.
    PointList points;
    // Line style and kind come from files as any int32 and are kept as read; the two flags are only ever
    // set to 0 or 1 here. In this order a curve takes 56 bytes, one heap block of 64.
    int32_t lineStyle = 0; // 0 solid, 1 dashed
    int32_t kind = CurveKind::Plot;
    int32_t minX = 0;
    int32_t maxX = 0;
    int32_t minY = 0;
    int32_t maxY = 0;
    uint8_t selected = 0;
    uint8_t notch = 0;
    double length = 0;

    // Copies selection, kind, line style and bounds, and replaces the points; notch and length stay.
    void CopyFrom(const CCurve& other);

    void AddPoint(int32_t x, int32_t y) { points.push_back({x, y}); }
    // Inserts before `index`; at or past the end appends, filling any gap with (0, 0).
    void InsertPoint(std::size_t index, int32_t x, int32_t y);
    void RemovePoint(std::size_t index);
    void ClearPoints() { points.clear(); }
    std::size_t PointCount() const { return points.size(); }
    const CPoint& GetPoint(std::size_t index) const;
    CPoint& GetPoint(std::size_t index);

    // Throws InvalidArgument on a curve without points and changes nothing then.
    void ComputeBounds();
    void ComputeLength();
    // Every point becomes (x - dx, y - dy); the bounds follow.
    void Translate(int32_t dx, int32_t dy);
    // Every point becomes (trunc(x * sx), trunc(y * sy)); bounds and length go stale.
    void Scale(double sx, double sy);
    void Reverse();
    // Drops inner points whose incoming and outgoing directions are exactly equal.
    void RemoveCollinear();

    // Record: tag string "QVTG" (read as any string), kind, maxX, maxY, minX, minY, lineStyle, point count,
    // then the points as one block of (int32 x, int32 y).
    void Serialize(ArchiveWriter& ar) const;
    void Serialize(ArchiveReader& ar);
};

} // namespace qv
