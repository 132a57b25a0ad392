// The drawing layer against Cairo on seeded random polylines, both pen styles, several widths. Cairo draws into a
// surface that holds every curve whole: its A1 output is not to be trusted where it clips (stray pixels along
// the surface's edges, dashes dropped). Where the two disagree, the pixel's centre must lie within a hair of the
// ideal pen outline, which a slow reference computes from the geometry.
#include "output/PlotDrawing.h"

#include "RasterTestSupport.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace qv {
namespace {

using test::Canvas;

struct Vec {
    double x;
    double y;
};

// How deep a pixel centre lies inside the ideal pen shape (negative outside): the largest depth over convex
// pieces (swept stretches and discs), each piece's depth being its smallest margin to one of its sides.
class IdealPen {
public:
    IdealPen(double radius) : r_(radius) {}

    void Stretch(Vec a, Vec b, double ta, double tb)
    {
        const Vec u{b.x - a.x, b.y - a.y};
        const double len = std::hypot(u.x, u.y);
        stretches_.push_back({{a.x + ta * u.x, a.y + ta * u.y}, {u.x / len, u.y / len}, (tb - ta) * len});
    }
    void Disc(Vec c) { discs_.push_back(c); }

    double Depth(Vec p) const
    {
        double best = -1e9;
        for (const auto& s : stretches_) {
            const double along = (p.x - s.from.x) * s.dir.x + (p.y - s.from.y) * s.dir.y;
            const double across = -(p.x - s.from.x) * s.dir.y + (p.y - s.from.y) * s.dir.x;
            best = std::max(best, std::min({along, s.length - along, r_ - std::abs(across)}));
        }
        for (const Vec& c : discs_)
            best = std::max(best, r_ - std::hypot(p.x - c.x, p.y - c.y));
        return best;
    }

private:
    struct Piece {
        Vec from;
        Vec dir;
        double length;
    };
    double r_;
    std::vector<Piece> stretches_;
    std::vector<Vec> discs_;
};

// The ideal shape of one polyline: all of it for a solid pen, the dashes (100 on, 40 off) with flat ends and
// round joins inside them for a dashed one.
void AddIdealCurve(IdealPen& ideal, const std::vector<Vec>& v, bool dashed)
{
    if (!dashed) {
        for (std::size_t i = 0; i < v.size(); ++i) {
            ideal.Disc(v[i]);
            if (i > 0 && std::hypot(v[i].x - v[i - 1].x, v[i].y - v[i - 1].y) > 0)
                ideal.Stretch(v[i - 1], v[i], 0, 1);
        }
        return;
    }
    double s = 0;
    for (std::size_t i = 1; i < v.size(); ++i) {
        const double len = std::hypot(v[i].x - v[i - 1].x, v[i].y - v[i - 1].y);
        if (len == 0)
            continue;
        const double phase = std::fmod(s, 140);
        if (s > 0 && phase > 0 && phase < 100)
            ideal.Disc(v[i - 1]);
        for (double on = std::floor(s / 140) * 140; on < s + len; on += 140) {
            const double from = std::max(on, s);
            const double to = std::min(on + 100, s + len);
            if (from < to)
                ideal.Stretch(v[i - 1], v[i], (from - s) / len, (to - s) / len);
        }
        s += len;
    }
}

// Cairo strokes each segment on its own: whole polylines with sharp turns leave stray pixels along their
// segments in its A1 output, and a join right after a very short dash can go missing. Solid segments get round
// ends (together the round joins); dashed ones flat ends with the dash phase carried over, and a disc where a
// dash turns a corner.
void CairoDraw(cairo_t* cr, const std::vector<Vec>& v, bool dashed, double lw)
{
    static constexpr double kDashes[4] = {100, 40, 100, 40};
    cairo_set_line_cap(cr, dashed ? CAIRO_LINE_CAP_BUTT : CAIRO_LINE_CAP_ROUND);
    cairo_set_dash(cr, nullptr, 0, 0);
    double s = 0;
    for (std::size_t i = 1; i < v.size(); ++i) {
        const double len = std::hypot(v[i].x - v[i - 1].x, v[i].y - v[i - 1].y);
        if (dashed && len == 0)
            continue;
        if (dashed) {
            const double phase = std::fmod(s, 140);
            if (s > 0 && phase > 0 && phase < 100) {
                cairo_arc(cr, v[i - 1].x + 0.5, v[i - 1].y + 0.5, lw / 2, 0, 2 * std::numbers::pi);
                cairo_fill(cr);
            }
            cairo_set_dash(cr, kDashes, 4, s);
        }
        // Cairo's pixel (i, j) has its centre at (i + 0.5, j + 0.5).
        cairo_move_to(cr, v[i - 1].x + 0.5, v[i - 1].y + 0.5);
        cairo_line_to(cr, v[i].x + 0.5, v[i].y + 0.5);
        cairo_stroke(cr);
        s += len;
    }
}

TEST(PlotDrawingCairo, AgreesWithCairoUpToTheOutline)
{
    constexpr int32_t kWidth = 480;
    constexpr int32_t kHeight = 360;
    constexpr int32_t kStride = kWidth / 8;
    constexpr int32_t kMargin = 24; // more than any pen reaches: Cairo never clips
    constexpr double kHair = 0.1;   // Cairo's round parts are polygons within 0.1 pixel
    int64_t ink = 0;
    int64_t differing = 0;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        std::mt19937 rng(seed);
        const int32_t lw = std::array{1, 1, 2, 3, 4, 5, 8, 9}[rng() % 8];
        COnePage page;
        IdealPen ideal(lw / 2.0);
        std::vector<uint8_t> cairoBits(static_cast<std::size_t>(kHeight * kStride));
        cairo_surface_t* surface =
            cairo_image_surface_create_for_data(cairoBits.data(), CAIRO_FORMAT_A1, kWidth, kHeight, kStride);
        cairo_t* cr = cairo_create(surface);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        cairo_set_line_width(cr, lw);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        for (int c = 0; c < 6; ++c) {
            const bool dashed = rng() % 2 == 0;
            std::vector<Vec> v;
            CCurve& curve = test::AddCurve(page, {}, dashed ? 1 : 0, rng() % 4 == 0 ? CurveKind::PenZero : 1);
            const std::size_t points = 2 + rng() % 7;
            for (std::size_t i = 0; i < points; ++i) {
                // Columns and rows of the vertices; now and then an axis-parallel step or a repeated point.
                Vec p{static_cast<double>(kMargin + rng() % (kWidth - 2 * kMargin)),
                      static_cast<double>(kMargin + rng() % (kHeight - 2 * kMargin))};
                if (!v.empty() && rng() % 4 == 0)
                    (rng() % 2 ? p.x : p.y) = rng() % 2 ? v.back().x : v.back().y;
                if (!v.empty() && rng() % 8 == 0)
                    p = v.back();
                v.push_back(p);
                const auto x = static_cast<int32_t>(p.x);
                const auto y = static_cast<int32_t>(p.y);
                // The vertex is (lw - 1 + px, lw - 1 + py).
                curve.AddPoint(test::PageX(x - lw + 1), test::PageY(y - lw + 1));
            }
            CairoDraw(cr, v, dashed, lw);
            AddIdealCurve(ideal, v, dashed);
        }
        cairo_surface_flush(surface);
        ASSERT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);

        Canvas mine(kWidth, kHeight);
        DrawPlotCurves(page, {lw, RowScale{test::kOneRowPerMm, 16}}, 0, mine.Image());
        int outsideTheHair = 0;
        for (int32_t y = 0; y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x) {
                // Cairo's A1 bits on a little-endian host: leftmost pixel in the least significant bit.
                const bool cairoInk = (cairoBits[static_cast<std::size_t>(y * kStride + x / 8)] >> (x % 8)) & 1;
                const bool ours = mine.Get(x, y);
                ink += ours;
                if (ours == cairoInk)
                    continue;
                ++differing;
                const double depth = ideal.Depth({static_cast<double>(x), static_cast<double>(y)});
                if (std::abs(depth) >= kHair && ++outsideTheHair <= 5)
                    ADD_FAILURE() << "seed " << seed << ", lw " << lw << ": pixel (" << x << ", " << y << ") "
                                  << (cairoInk ? "inked by Cairo only" : "inked here only") << ", depth " << depth;
            }
        }
        EXPECT_EQ(outsideTheHair, 0) << "seed " << seed;
    }
    EXPECT_GT(ink, 100000);
    EXPECT_LT(differing * 100, ink) << "disagreement beyond the occasional outline pixel";
}

} // namespace
} // namespace qv
