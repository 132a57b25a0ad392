#include "DenseJobPage.h"

#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/Notifier.h"
#include "model/COnePage.h"
#include "output/KnifeData.h"
#include "output/KnifeList.h"
#include "output/PrepareJob.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace {

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
    const qv::COnePage page = qv::bench::DenseJobPage();
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
    const qv::COnePage page = qv::bench::DenseJobPage();
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
    const qv::COnePage page = qv::bench::DenseJobPage();
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
