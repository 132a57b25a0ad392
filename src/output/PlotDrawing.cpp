#include "output/PlotDrawing.h"

#include "model/Rounding.h"

#include <algorithm>
#include <cmath>

namespace qv {

uint32_t OneBitImage::Word(int32_t y, int32_t k) const
{
    const uint8_t* p = bits + static_cast<std::ptrdiff_t>(y) * stride + 4 * static_cast<std::ptrdiff_t>(k);
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           p[3];
}

namespace {

constexpr double kDashOn = 100;
constexpr double kDashPeriod = 140; // 100 on, 40 off, twice: the pattern repeats every 140 pixels
// Far beyond any image; keeps double-to-integer conversions defined whatever the coordinates.
constexpr double kFar = 1e15;

int64_t Floor(double v)
{
    return static_cast<int64_t>(std::floor(std::clamp(v, -kFar, kFar)));
}
int64_t Ceil(double v)
{
    return static_cast<int64_t>(std::ceil(std::clamp(v, -kFar, kFar)));
}

struct Vertex {
    int64_t x;
    int64_t y;
};

// Sets the pixel spans of the shapes; coordinates relative to a vertex so that every result depends only on the
// geometry, never on where the image happens to start.
class Painter {
public:
    Painter(const OneBitImage& image, int32_t lineWidth)
        : image_(image), lw_(lineWidth), r_(lineWidth / 2.0), reach_(Ceil(lineWidth / 2.0) + 1)
    {
    }

    // How far beyond its vertices the pen can ink, in whole pixels.
    int64_t Reach() const { return reach_; }

    bool Touches(int64_t minX, int64_t maxX, int64_t minY, int64_t maxY) const
    {
        return maxX + reach_ >= 0 && minX - reach_ < image_.width && maxY + reach_ >= 0 &&
               minY - reach_ < image_.height;
    }

    // The disc of diameter lw at v, tested exactly in integers: 4(dx² + dy²) against lw².
    void Disc(Vertex v) const
    {
        if (!Touches(v.x, v.x, v.y, v.y))
            return;
        const int64_t lw2 = static_cast<int64_t>(lw_) * lw_;
        const int64_t rows = reach_;
        for (int64_t dy = std::max(-rows, -v.y); dy <= rows && v.y + dy < image_.height; ++dy) {
            const int64_t q = lw2 - 4 * dy * dy;
            if (q < 0)
                continue;
            int64_t m = static_cast<int64_t>(std::sqrt(static_cast<double>(q) / 4));
            while (4 * m * m > q)
                --m;
            while (4 * (m + 1) * (m + 1) <= q)
                ++m;
            const bool onOutline = 4 * m * m == q;
            // Outline points count on the upper half and at the left end of the middle row.
            const int64_t left = dy > 0 && onOutline ? -(m - 1) : -m;
            const int64_t right = dy >= 0 && onOutline ? m - 1 : m;
            Span(v.y + dy, v.x + left, v.x + right);
        }
    }

    // The stretch [ta, tb] (fractions of the segment) of segment a -> b swept by the pen, flat across at both
    // ends. Four half-planes in coordinates relative to a.
    void Band(Vertex a, Vertex b, double ta, double tb) const
    {
        const double ux = static_cast<double>(b.x - a.x);
        const double uy = static_cast<double>(b.y - a.y);
        const double l2 = ux * ux + uy * uy;
        if (l2 == 0)
            return;
        const double rl = r_ * std::sqrt(l2);
        const HalfPlane sides[4] = {
            {-ux, -uy, -ta * l2}, // not before ta
            {ux, uy, tb * l2},    // not after tb
            {-uy, ux, rl},        // within r on one side
            {uy, -ux, rl},        // and on the other
        };
        const double y0 = std::min(ta * uy, tb * uy) - r_;
        const double y1 = std::max(ta * uy, tb * uy) + r_;
        const int64_t firstRow = std::max(Floor(y0), -a.y);
        const int64_t lastRow = std::min(Ceil(y1), image_.height - 1 - a.y);
        for (int64_t dy = firstRow; dy <= lastRow; ++dy) {
            int64_t lo = -a.x;
            int64_t hi = image_.width - 1 - a.x;
            bool any = true;
            for (const HalfPlane& h : sides)
                any = any && h.Narrow(static_cast<double>(dy), lo, hi);
            if (any)
                Span(a.y + dy, a.x + lo, a.x + hi);
        }
    }

private:
    // nx·dx + ny·dy <= c. Its boundary belongs to the shape where the outward normal (nx, ny) faces up or left.
    struct HalfPlane {
        double nx, ny, c;

        // Narrows the integer range [lo, hi] of dx on row dy; false when nothing is left.
        bool Narrow(double dy, int64_t& lo, int64_t& hi) const
        {
            const bool closed = ny < 0 || (ny == 0 && nx < 0);
            const double e = c - ny * dy;
            if (nx == 0)
                return closed ? e >= 0 : e > 0;
            const double v = e / nx;
            if (nx > 0) {
                const int64_t f = Floor(v);
                hi = std::min(hi, !closed && static_cast<double>(f) == v ? f - 1 : f);
            } else {
                const int64_t f = Ceil(v);
                lo = std::max(lo, !closed && static_cast<double>(f) == v ? f + 1 : f);
            }
            return lo <= hi;
        }
    };

    // Pixels x0 to x1 of row y, both included, clipped to the image.
    void Span(int64_t y, int64_t x0, int64_t x1) const
    {
        if (y < 0 || y >= image_.height)
            return;
        x0 = std::max<int64_t>(x0, 0);
        x1 = std::min<int64_t>(x1, image_.width - 1);
        if (x0 > x1)
            return;
        uint8_t* row = image_.bits + y * image_.stride;
        const int64_t b0 = x0 / 8;
        const int64_t b1 = x1 / 8;
        const auto head = static_cast<uint8_t>(0xFFu >> (x0 % 8));
        const auto tail = static_cast<uint8_t>(0xFFu << (7 - x1 % 8));
        if (b0 == b1) {
            row[b0] |= head & tail;
            return;
        }
        row[b0] |= head;
        std::fill(row + b0 + 1, row + b1, uint8_t{0xFF});
        row[b1] |= tail;
    }

    const OneBitImage& image_;
    int32_t lw_;
    double r_;
    int64_t reach_;
};

class VertexPlacer {
public:
    VertexPlacer(const PlotPen& pen, int64_t originX)
        : rows_(pen.rows), offsetX_(pen.lineWidth - 1 - originX), offsetY_(pen.lineWidth - 1)
    {
    }

    Vertex operator()(const CPoint& p) const
    {
        return {RoundToInt32(ColumnsOf(p.x)) + offsetX_, RoundToInt32(rows_.RowsOf(p.y)) + offsetY_};
    }

private:
    RowScale rows_;
    int64_t offsetX_;
    int64_t offsetY_;
};

// Whether any of the curve can reach the image: its page bounds placed (the row scale may be negative in a
// damaged record, so both corners are placed and ordered).
bool CurveTouches(const CCurve& curve, const VertexPlacer& place, const Painter& paint)
{
    int32_t minX = curve.points[0].x, maxX = minX, minY = curve.points[0].y, maxY = minY;
    for (const CPoint& p : curve.points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const Vertex a = place({minX, minY});
    const Vertex b = place({maxX, maxY});
    return paint.Touches(a.x, b.x, std::min(a.y, b.y), std::max(a.y, b.y));
}

bool SegmentTouches(Vertex a, Vertex b, const Painter& paint)
{
    return paint.Touches(std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y));
}

void DrawSolid(const CCurve& curve, const VertexPlacer& place, const Painter& paint)
{
    Vertex a = place(curve.points[0]);
    paint.Disc(a);
    for (std::size_t i = 1; i < curve.points.size(); ++i) {
        const Vertex b = place(curve.points[i]);
        if (SegmentTouches(a, b, paint))
            paint.Band(a, b, 0, 1);
        paint.Disc(b);
        a = b;
    }
}

// The fractions [t0, t1] of segment a -> b that come within reach of the image (Liang-Barsky against the image
// grown by the pen's reach); false when none. Dashes outside it cannot ink the image.
bool VisiblePart(Vertex a, Vertex b, const Painter& paint, int32_t width, int32_t height, double& t0, double& t1)
{
    t0 = 0;
    t1 = 1;
    const double reach = static_cast<double>(paint.Reach());
    const double from[2] = {static_cast<double>(a.x), static_cast<double>(a.y)};
    const double d[2] = {static_cast<double>(b.x - a.x), static_cast<double>(b.y - a.y)};
    const double upper[2] = {width - 1 + reach, height - 1 + reach};
    for (int axis = 0; axis < 2; ++axis) {
        const double p[2] = {-d[axis], d[axis]};
        const double q[2] = {from[axis] + reach, upper[axis] - from[axis]};
        for (int side = 0; side < 2; ++side) {
            if (p[side] == 0) {
                if (q[side] < 0)
                    return false;
                continue;
            }
            const double t = q[side] / p[side];
            if (p[side] < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
        }
    }
    return t0 <= t1;
}

void DrawDashed(const CCurve& curve, const VertexPlacer& place, const Painter& paint, const OneBitImage& image)
{
    double travelled = 0; // along the curve to a, pixels
    Vertex a = place(curve.points[0]);
    for (std::size_t i = 1; i < curve.points.size(); ++i) {
        const Vertex b = place(curve.points[i]);
        const double dx = static_cast<double>(b.x - a.x);
        const double dy = static_cast<double>(b.y - a.y);
        const double length = std::sqrt(dx * dx + dy * dy);
        if (length == 0)
            continue;
        // The join where this segment leaves a: round inside a dash; a dash that starts or ends exactly at a
        // vertex has a flat end there, like the curve's own ends.
        const double phase = travelled - std::floor(travelled / kDashPeriod) * kDashPeriod;
        if (travelled > 0 && phase > 0 && phase < kDashOn)
            paint.Disc(a);
        double t0 = 0;
        double t1 = 1;
        if (VisiblePart(a, b, paint, image.width, image.height, t0, t1)) {
            const double end = travelled + length;
            for (int64_t dash = Floor((travelled + t0 * length) / kDashPeriod);
                 static_cast<double>(dash) * kDashPeriod <= travelled + t1 * length; ++dash) {
                const double on = std::max(static_cast<double>(dash) * kDashPeriod, travelled);
                const double off = std::min(static_cast<double>(dash) * kDashPeriod + kDashOn, end);
                if (on < off)
                    paint.Band(a, b, (on - travelled) / length, (off - travelled) / length);
            }
        }
        travelled += length;
        a = b;
    }
}

} // namespace

void DrawPlotCurves(const COnePage& page, const PlotPen& pen, int64_t originX, const OneBitImage& image)
{
    if (image.width <= 0 || image.height <= 0 || pen.lineWidth <= 0)
        return;
    const VertexPlacer place(pen, originX);
    const Painter paint(image, pen.lineWidth);
    for (const auto& curve : page.curves) {
        if (!IsPlotWork(curve->kind) || curve->points.size() < 2 || !CurveTouches(*curve, place, paint))
            continue;
        if (curve->lineStyle != 0)
            DrawDashed(*curve, place, paint, image);
        else
            DrawSolid(*curve, place, paint);
    }
}

} // namespace qv
