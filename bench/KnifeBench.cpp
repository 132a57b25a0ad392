#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/Notifier.h"
#include "model/COnePage.h"
#include "output/KnifeData.h"
#include "output/KnifeList.h"
#include "output/PrepareJob.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

// The dense job page: 1600 mm x 1000 mm holding 500 garment pieces in a 25 x 20 grid. Every piece has a closed
// cut outline of 200 points (a wobbly ellipse, every third a half cut; radii from 10 to 28 mm, so its segments
// run from about 0.3 to 0.9 mm and the shorter ones fall under the thinning threshold) and 400 plot points: an
// inner outline and three zigzag strokes of 100 points each. 100 000 cut points, 200 000 plot points.
qv::COnePage DensePage()
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> wobble(0.97, 1.03);
    qv::COnePage page;
    constexpr double kTwoPi = 6.28318530718;
    for (int piece = 0; piece < 500; ++piece) {
        const double cx = (piece % 25) * 2560.0 + 1280;
        const double cy = (piece / 25) * 2000.0 + 1000;
        const double r = 400 + (piece % 10) * 70;
        qv::CCurve& cut = page.AddCurve();
        cut.kind = piece % 3 == 0 ? qv::CurveKind::HalfCut : qv::CurveKind::FullCut;
        for (int k = 0; k < 199; ++k) {
            const double a = k * kTwoPi / 199;
            const double w = wobble(rng);
            cut.AddPoint(static_cast<int32_t>(cx + 1.2 * r * w * std::cos(a)),
                         static_cast<int32_t>(cy + r * w * std::sin(a)));
        }
        cut.points.push_back(cut.points.front());

        qv::CCurve& outline = page.AddCurve();
        for (int k = 0; k < 100; ++k) {
            const double a = k * kTwoPi / 99;
            outline.AddPoint(static_cast<int32_t>(cx + 0.9 * r * std::cos(a)),
                             static_cast<int32_t>(cy + 0.75 * r * std::sin(a)));
        }
        for (int stroke = 0; stroke < 3; ++stroke) {
            qv::CCurve& zigzag = page.AddCurve();
            const double y0 = cy - 0.3 * r + stroke * 0.3 * r;
            for (int k = 0; k < 100; ++k)
                zigzag.AddPoint(static_cast<int32_t>(cx - 0.6 * r + k * 0.012 * r),
                                static_cast<int32_t>(y0 + (k % 2 == 0 ? -40 : 40)));
        }
    }
    return page;
}

std::size_t CutPoints(const qv::COnePage& page)
{
    std::size_t n = 0;
    for (const auto& c : page.curves)
        n += qv::IsCutWork(c->kind) ? c->points.size() : 0;
    return n;
}

// BuildKnifeData and EncodeKnifeData on the page's 100 000 cut points as they are (no preparation), with
// CutEffectOptmize as the argument: 0 thins four times and classifies by bend, 1 classifies by length.
void BM_BuildAndEncodeKnifeData(benchmark::State& state)
{
    const qv::COnePage page = DensePage();
    const qv::MachineParams params;
    qv::CSettings settings;
    settings.CutEffectOptmize = static_cast<int32_t>(state.range(0));
    qv::RecordingNotifier notifier;
    qv::KnifeList list;
    std::vector<uint8_t> wire(CutPoints(page) * qv::KnifeList::kWireRecordSize);
    for (auto _ : state) {
        if (qv::BuildKnifeData(list, page, params, settings, notifier) != 0)
            throw std::runtime_error("knife data refused");
        qv::EncodeKnifeData(list, wire);
        benchmark::DoNotOptimize(wire.data());
    }
    state.counters["cut points"] = static_cast<double>(CutPoints(page));
    state.counters["records"] = static_cast<double>(list.records.size());
}
BENCHMARK(BM_BuildAndEncodeKnifeData)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The job preparation of the dense page with the default options (cut optimisation and knife compensation on).
void BM_PrepareJobPage(benchmark::State& state)
{
    const qv::COnePage page = DensePage();
    const qv::MachineParams params;
    const qv::CSettings settings;
    qv::COnePage jobPage;
    qv::KnifeList list;
    for (auto _ : state) {
        qv::PrepareJobPage(jobPage, list, page, params, settings);
        benchmark::DoNotOptimize(jobPage.curves.data());
    }
    state.counters["cut points"] = static_cast<double>(CutPoints(jobPage));
}
BENCHMARK(BM_PrepareJobPage)->Unit(benchmark::kMillisecond);

// The cut side of a dense job from the operator's page to the wire: preparation, knife records, encoding.
void BM_DenseJobCutSide(benchmark::State& state)
{
    const qv::COnePage page = DensePage();
    const qv::MachineParams params;
    const qv::CSettings settings;
    qv::RecordingNotifier notifier;
    qv::COnePage jobPage;
    qv::KnifeList list;
    std::vector<uint8_t> wire;
    for (auto _ : state) {
        qv::PrepareJobPage(jobPage, list, page, params, settings);
        if (qv::BuildKnifeData(list, jobPage, params, settings, notifier) != 0)
            throw std::runtime_error("knife data refused");
        wire.resize(list.records.size() * qv::KnifeList::kWireRecordSize);
        qv::EncodeKnifeData(list, wire);
        benchmark::DoNotOptimize(wire.data());
    }
    state.counters["records"] = static_cast<double>(list.records.size());
}
BENCHMARK(BM_DenseJobCutSide)->Unit(benchmark::kMillisecond);

} // namespace
