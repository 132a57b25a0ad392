#include "geometry/MergeCurves.h"
#include "geometry/OutlineRecognition.h"

#include "model/COnePage.h"
#include "model/CurveKind.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <random>

namespace {

std::unique_ptr<qv::COnePage> Clone(const qv::COnePage& page)
{
    auto copy = std::make_unique<qv::COnePage>();
    copy->CopyFrom(page);
    return copy;
}

// 500 closed pieces of 200 points each, laid out as a marker: a strip 50 pieces long and 10 wide, every piece
// a wobbly ellipse of 10 to 20 cm, each with a small closed drill mark inside.
qv::COnePage MarkerPage()
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> wobble(0.9, 1.1);
    qv::COnePage page;
    for (int row = 0; row < 10; ++row) {
        for (int col = 0; col < 50; ++col) {
            const double cx = col * 9000.0 + 4500;
            const double cy = row * 9000.0 + 4500;
            const double rx = 2000 + 1000 * wobble(rng);
            const double ry = 2000 + 1000 * wobble(rng);
            const bool withMark = (row + col) % 2 == 0;
            qv::CCurve& c = page.AddCurve();
            c.kind = qv::CurveKind::FullCut;
            const int n = withMark ? 199 : 200;
            for (int i = 0; i < n - 1; ++i) {
                const double t = 2 * 3.14159265359 * i / (n - 1);
                const double w = wobble(rng);
                c.AddPoint(static_cast<int32_t>(cx + rx * w * std::cos(t)),
                           static_cast<int32_t>(cy + ry * w * std::sin(t)));
            }
            c.points.push_back(c.points.front());
            if (withMark) {
                qv::CCurve& mark = page.AddCurve();
                mark.kind = qv::CurveKind::Plot;
                mark.points = {{static_cast<int32_t>(cx), static_cast<int32_t>(cy)},
                               {static_cast<int32_t>(cx) + 500, static_cast<int32_t>(cy)},
                               {static_cast<int32_t>(cx) + 500, static_cast<int32_t>(cy) + 500},
                               {static_cast<int32_t>(cx), static_cast<int32_t>(cy)}};
            }
        }
    }
    return page;
}

void BM_RecognizeOutlines(benchmark::State& state)
{
    const qv::COnePage page = MarkerPage();
    for (auto _ : state) {
        state.PauseTiming();
        auto work = Clone(page);
        state.ResumeTiming();
        benchmark::DoNotOptimize(qv::RecognizeOutlines(*work));
        benchmark::DoNotOptimize(work->curves.data());
    }
}
BENCHMARK(BM_RecognizeOutlines)->Unit(benchmark::kMillisecond);

// 20 000 open cut segments that chain into 500 curves of 40 segments each: random walks cut into segments,
// shuffled, a third of them reversed.
qv::COnePage SegmentSoup()
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int32_t> step(-400, 400);
    qv::COnePage page;
    for (int chain = 0; chain < 500; ++chain) {
        qv::CPoint at{(chain % 25) * 20000, (chain / 25) * 20000};
        for (int i = 0; i < 40; ++i) {
            const qv::CPoint next{at.x + step(rng), at.y + step(rng)};
            qv::CCurve& c = page.AddCurve();
            c.kind = chain % 5 == 0 ? qv::CurveKind::HalfCut : qv::CurveKind::FullCut;
            c.points = {at, next};
            if (rng() % 3 == 0)
                c.Reverse();
            at = next;
        }
    }
    std::shuffle(page.curves.begin(), page.curves.end(), rng);
    return page;
}

void BM_MergeCurves(benchmark::State& state)
{
    const qv::COnePage page = SegmentSoup();
    std::size_t curves = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto work = Clone(page);
        state.ResumeTiming();
        qv::MergeCurves(*work, false, false);
        curves = work->curves.size();
    }
    state.counters["curves"] = static_cast<double>(curves);
}
BENCHMARK(BM_MergeCurves)->Unit(benchmark::kMillisecond);

} // namespace
