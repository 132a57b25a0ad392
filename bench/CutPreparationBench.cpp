#include "geometry/CutOptimisation.h"
#include "geometry/KnifeCompensation.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// A garment-like page of 100 000 cut points: 500 closed round pieces of 151 points (radius 1000 to 1900 units,
// fitted by splines) and 500 closed rectangles of 49 points with a small jog in every side (straight edges
// with sharp corners, split apart, fitted and merged again), with a plot outline around every round piece.
qv::COnePage MakePage()
{
    qv::COnePage page;
    for (int i = 0; i < 500; ++i) {
        const double cx = (i % 20) * 5000, cy = (i / 20) * 5000, r = 1000 + (i % 7) * 150;
        qv::CCurve& plot = page.AddCurve();
        qv::CCurve& cut = page.AddCurve();
        cut.kind = i % 3 == 0 ? qv::CurveKind::HalfCut : qv::CurveKind::FullCut;
        for (int k = 0; k <= 150; ++k) {
            const double a = (k % 150) * 6.283185307179586 / 150; // the last point closes the piece exactly
            cut.AddPoint(static_cast<int32_t>(cx + r * std::cos(a)), static_cast<int32_t>(cy + r * std::sin(a)));
            if (k % 10 == 0)
                plot.AddPoint(static_cast<int32_t>(cx + 1.1 * r * std::cos(a)),
                              static_cast<int32_t>(cy + 1.1 * r * std::sin(a)));
        }
    }
    for (int i = 0; i < 500; ++i) {
        const int32_t x0 = 110000 + (i % 25) * 4000, y0 = (i / 25) * 5000;
        qv::CCurve& cut = page.AddCurve();
        cut.kind = qv::CurveKind::FullCut;
        // Each side: twelve 300-unit steps, the seventh with a 60-unit jog sideways; the jogs cancel out.
        const int32_t dx[4] = {1, 0, -1, 0}, dy[4] = {0, 1, 0, -1};
        int32_t x = x0, y = y0;
        for (int side = 0; side < 4; ++side) {
            for (int k = 0; k < 12; ++k) {
                cut.AddPoint(x, y);
                const int32_t notch = k == 6 ? 60 : 0;
                x += dx[side] * 300 - dy[side] * notch;
                y += dy[side] * 300 + dx[side] * notch;
            }
        }
        cut.AddPoint(x, y);
    }
    return page;
}

void BM_PrepareCutCurves(benchmark::State& state)
{
    const qv::COnePage source = MakePage();
    for (auto _ : state) {
        state.PauseTiming();
        qv::COnePage page;
        page.CopyFrom(source);
        state.ResumeTiming();
        qv::OptimizeCutCurves(page, 28);
        qv::CompensateCutCorners(page, 20);
        qv::ExtendCutEnds(page, 20);
        benchmark::DoNotOptimize(page.curves.data());
    }
    std::size_t cutPoints = 0;
    for (const auto& c : source.curves)
        cutPoints += qv::IsCutWork(c->kind) ? c->points.size() : 0;
    state.counters["cut points"] = static_cast<double>(cutPoints);
}
BENCHMARK(BM_PrepareCutCurves)->Unit(benchmark::kMillisecond);

} // namespace
