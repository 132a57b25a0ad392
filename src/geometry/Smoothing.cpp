#include "geometry/Smoothing.h"

#include "geometry/PointMath.h"

#include <array>
#include <cstddef>

namespace qv {

namespace {

constexpr std::array<double, 6> kThresholds{4, 8, 12, 20, 26, 32};

} // namespace

template <class Points>
bool MergeCloseNeighbours(Points& points, double distance)
{
    const std::size_t n = points.size();
    if (n < 3)
        return false;
    std::size_t write = 1;
    std::size_t read = 1;
    while (read < n) {
        if (read + 1 < n && Distance(points[read], points[read + 1]) < distance) {
            points[write++] = Midpoint(points[read], points[read + 1]);
            read += 2;
        } else {
            points[write++] = points[read++];
        }
    }
    points.resize(write);
    return write != n;
}

template bool MergeCloseNeighbours(PointList& points, double distance);
template bool MergeCloseNeighbours(std::vector<CPoint>& points, double distance);

void MergeClosePoints(CCurve& curve)
{
    for (const double threshold : kThresholds) {
        // Up to as many passes as there are points; a pass that merges nothing leaves the next ones idle too.
        for (std::size_t pass = 0; pass < curve.points.size(); ++pass) {
            if (!MergeCloseNeighbours(curve.points, threshold))
                break;
        }
    }
}

void SmoothCutCurves(COnePage& page)
{
    for (auto& curve : page.curves) {
        if (IsCutWork(curve->kind))
            MergeClosePoints(*curve);
    }
}

} // namespace qv
