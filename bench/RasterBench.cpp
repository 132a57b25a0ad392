#include "output/RasterEngine.h"
#include "output/RasterGeometry.h"

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace {

constexpr int32_t kPageX = 1600 * 40; // 1600 mm in page units
constexpr int32_t kPageY = 1000 * 40;

// A dense garment marker of 1600 x 1000 mm with 200 000 plot points: 80 pieces side by side in cells of
// 160 x 125 mm, each a wavy outline of 1400 points, a dashed seam line 10 mm inside it of 700 points, a label of
// 40 strokes of 10 points and a grain line.
qv::COnePage MakeMarker()
{
    std::mt19937 rng(7);
    const auto uniform = [&rng](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    qv::COnePage page;
    const auto ring = [&page](double cx, double cy, double rx, double ry, double wobble, int points, int style) {
        qv::CCurve& c = page.AddCurve();
        c.lineStyle = style;
        for (int i = 0; i < points; ++i) {
            const double a = 2 * std::numbers::pi * (i == points - 1 ? 0 : i) / (points - 1);
            const double r = 1 + wobble * std::sin(7 * a);
            c.AddPoint(static_cast<int32_t>(cx + rx * r * std::cos(a)),
                       static_cast<int32_t>(cy + ry * r * std::sin(a)));
        }
    };
    constexpr double kCellX = kPageX / 10.0;
    constexpr double kCellY = kPageY / 8.0;
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 10; ++column) {
            const double cx = (column + 0.5) * kCellX;
            const double cy = (row + 0.5) * kCellY;
            const double rx = kCellX * uniform(0.38, 0.42);
            const double ry = kCellY * uniform(0.38, 0.42);
            const double wobble = uniform(0.02, 0.08);
            ring(cx, cy, rx, ry, wobble, 1400, 0);
            ring(cx, cy, rx - 400, ry - 400, wobble, 700, 1);
            for (int stroke = 0; stroke < 40; ++stroke) {
                qv::CCurve& c = page.AddCurve();
                double x = cx - 1200 + stroke * 60;
                double y = cy - 200;
                for (int i = 0; i < 10; ++i) {
                    c.AddPoint(static_cast<int32_t>(x), static_cast<int32_t>(y));
                    x += uniform(-20, 20);
                    y += uniform(0, 40);
                }
            }
            qv::CCurve& grain = page.AddCurve();
            grain.AddPoint(static_cast<int32_t>(cx), static_cast<int32_t>(cy - ry * 0.6));
            grain.AddPoint(static_cast<int32_t>(cx), static_cast<int32_t>(cy + ry * 0.6));
        }
    }
    for (const auto& c : page.curves) {
        for (const qv::CPoint& p : c->points) {
            page.plotMaxX = std::max(page.plotMaxX, p.x);
            page.plotMaxY = std::max(page.plotMaxY, p.y);
        }
    }
    return page;
}

// Prepare plus every band of the page, as the job thread does them (cartridge type 0 "HP45", 1 "IUT308",
// both heads, the machine's start-up values otherwise).
void BM_RasterMarker(benchmark::State& state)
{
    const qv::COnePage page = MakeMarker();
    qv::MachineParams params;
    params.settings.cartridgeType = qv::CartridgeFromByte(static_cast<uint8_t>(state.range(0)));
    qv::CRasterEngine engine;
    int64_t bytes = 0;
    int32_t bands = 0;
    for (auto _ : state) {
        const qv::RasterPlan plan = qv::CRasterEngine::Prepare(page, params);
        bytes = 0;
        for (int32_t b = 0; b < plan.bands; ++b)
            bytes += static_cast<int64_t>(engine.BuildBand(page, params, plan, b).size());
        bands = plan.bands;
        benchmark::DoNotOptimize(bytes);
    }
    state.SetLabel(state.range(0) == 1 ? "IUT308" : "HP45");
    state.counters["bands"] = bands;
    state.counters["compressed_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_RasterMarker)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same plot polylines drawn by Cairo into one page-sized one-bit image (A1, no antialiasing, round joins and
// ends, dashes of 100 on and 40 off): what a general 2-D library takes for the drawing alone, beside the engine's
// whole job of drawing, nozzle mapping and compression band by band.
void BM_CairoA1Marker(benchmark::State& state)
{
    const qv::COnePage page = MakeMarker();
    const qv::MachineParams params;
    const qv::RasterPlan plan = qv::CRasterEngine::Prepare(page, params);
    const qv::RowScale rows = qv::RowScale::Of(params.advanced);
    const double offset = plan.lineWidth - 1 + 0.5; // the vertex's pixel centre, as the engine places it
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_A1, plan.width, plan.height);
    cairo_t* cr = cairo_create(image);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr, plan.lineWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    const double dashes[] = {100, 40};
    for (auto _ : state) {
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        for (const auto& c : page.curves) {
            if (c->points.size() < 2)
                continue;
            cairo_set_dash(cr, dashes, c->lineStyle != 0 ? 2 : 0, 0);
            cairo_move_to(cr, qv::ColumnsOf(c->points[0].x) + offset, rows.RowsOf(c->points[0].y) + offset);
            for (std::size_t i = 1; i < c->points.size(); ++i)
                cairo_line_to(cr, qv::ColumnsOf(c->points[i].x) + offset, rows.RowsOf(c->points[i].y) + offset);
            cairo_stroke(cr);
        }
        cairo_surface_flush(image);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(image));
    }
    cairo_destroy(cr);
    cairo_surface_destroy(image);
    state.counters["pixels_M"] = static_cast<double>(plan.width) * plan.height / 1e6;
}
BENCHMARK(BM_CairoA1Marker)->Unit(benchmark::kMillisecond);

} // namespace
