#include "view/HitTest.h"

#include "view/ViewMapping.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace qv {

namespace {

constexpr double kReach = 4;
constexpr double kEpsilon = 1e-6;

struct Corner {
    int64_t x;
    int64_t y;
};

// Even-odd test at the pixel (x, y); points on a left or top edge are inside, on a right or bottom edge not.
bool InsidePolygon(const std::array<Corner, 4>& poly, ScreenPoint p)
{
    bool inside = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Corner& a = poly[i];
        const Corner& b = poly[j];
        if ((a.y > p.y) != (b.y > p.y)) {
            const double x =
                static_cast<double>(b.x - a.x) * static_cast<double>(p.y - a.y) / static_cast<double>(b.y - a.y) +
                static_cast<double>(a.x);
            if (p.x < x)
                inside = !inside;
        }
    }
    return inside;
}

// The quadrilateral around the segment a-b, reaching 4 pixels beyond its ends and to its sides.
std::array<Corner, 4> SegmentBand(ScreenPoint a, ScreenPoint b)
{
    const double t = std::atan2(static_cast<double>(b.y) - a.y, static_cast<double>(b.x) - a.x);
    const double e = kReach * std::cos(t);
    const double f = kReach * std::sin(t);
    const auto corner = [](double x, double y) { return Corner{static_cast<int64_t>(x), static_cast<int64_t>(y)}; };
    return {corner(a.x - e - f, a.y - f + e), corner(a.x - e + f, a.y - f - e), corner(b.x + e + f, b.y + f - e),
            corner(b.x + e - f, b.y + f + e)};
}

// The band never reaches further than 4 * sqrt(2) pixels from an end: a cheap test before the exact one.
bool Beyond(ScreenPoint a, ScreenPoint b, ScreenPoint p)
{
    constexpr int64_t kMargin = 6;
    const auto outside = [](int64_t v, int64_t e1, int64_t e2) {
        return v < std::min(e1, e2) - kMargin || v > std::max(e1, e2) + kMargin;
    };
    return outside(p.x, a.x, b.x) || outside(p.y, a.y, b.y);
}

bool Between(double v, double a, double b)
{
    return a < b ? a < v && v < b : b < v && v < a;
}

} // namespace

bool NearSegment(const CCurve& curve, const CSetDisp& disp, ScreenPoint p)
{
    if (curve.points.size() < 2)
        return false;
    ScreenPoint a = ToScreen(disp, curve.points[0]);
    for (std::size_t i = 1; i < curve.points.size(); ++i) {
        const ScreenPoint b = ToScreen(disp, curve.points[i]);
        if (!Beyond(a, b, p) && InsidePolygon(SegmentBand(a, b), p))
            return true;
        a = b;
    }
    return false;
}

bool AllPointsInRect(const CCurve& curve, const CSetDisp& disp, const ScreenRect& r)
{
    for (const CPoint& point : curve.points) {
        const ScreenPoint s = ToScreen(disp, point);
        if (s.x < r.left || s.x >= r.right || s.y < r.top || s.y >= r.bottom)
            return false;
    }
    return true;
}

bool SegmentsCross(DoublePoint a1, DoublePoint a2, DoublePoint b1, DoublePoint b2)
{
    if (std::abs(a1.x - a2.x) < kEpsilon) {
        if (std::abs(b1.x - b2.x) < kEpsilon || !Between(a1.x, b1.x, b2.x))
            return false;
        const double y = (b2.y - b1.y) / (b2.x - b1.x) * (a1.x - b1.x) + b1.y;
        return Between(y, a1.y, a2.y);
    }
    if (std::abs(b1.x - b2.x) < kEpsilon) {
        if (!Between(b1.x, a1.x, a2.x))
            return false;
        const double y = (a2.y - a1.y) / (a2.x - a1.x) * (b1.x - a2.x) + a2.y;
        return Between(y, b1.y, b2.y);
    }
    const double k1 = (a2.y - a1.y) / (a2.x - a1.x);
    const double k2 = (b2.y - b1.y) / (b2.x - b1.x);
    if (std::abs(k1 - k2) < kEpsilon)
        return false;
    const double x = (b1.y - a1.y - (k2 * b1.x - k1 * a1.x)) / (k1 - k2);
    return Between(x, a1.x, a2.x) && Between(x, b1.x, b2.x);
}

} // namespace qv
