#include "Simplify.h"

#include <cmath>
#include <vector>

namespace qv::fontgen {

namespace {

double DistanceToSegment(Vec2 p, Vec2 a, Vec2 b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

void Keep(const std::vector<Vec2>& points, std::size_t first, std::size_t last, double tolerance,
          std::vector<bool>& kept)
{
    double worst = -1;
    std::size_t worstAt = first;
    for (std::size_t i = first + 1; i < last; ++i) {
        const double d = DistanceToSegment(points[i], points[first], points[last]);
        if (d > worst) {
            worst = d;
            worstAt = i;
        }
    }
    if (worst <= tolerance)
        return;
    kept[worstAt] = true;
    Keep(points, first, worstAt, tolerance, kept);
    Keep(points, worstAt, last, tolerance, kept);
}

} // namespace

GlyphPolyline ToGridPolyline(const Contour& contour, const std::function<Vec2(Vec2)>& toGrid, double tolerance)
{
    std::vector<Vec2> points;
    for (const Vec2& p : contour)
        points.push_back(toGrid(p));
    if (points.size() < 2)
        return {};
    std::vector<bool> kept(points.size(), false);
    kept.front() = kept.back() = true;
    Keep(points, 0, points.size() - 1, tolerance, kept);

    GlyphPolyline out;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!kept[i])
            continue;
        const GlyphPoint g{static_cast<int32_t>(std::lround(points[i].x)),
                           static_cast<int32_t>(std::lround(points[i].y))};
        if (out.empty() || out.back() != g)
            out.push_back(g);
    }
    return out;
}

} // namespace qv::fontgen
