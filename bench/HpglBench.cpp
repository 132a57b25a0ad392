#include "LargestDrawing.h"

#include "app/Notifier.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

void BM_LoadAndBuildPages8MB(benchmark::State& state)
{
    static qv::bench::LargestDrawing drawing;
    qv::RecordingNotifier notifier;
    std::size_t curves = 0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<qv::COnePage>> pages;
        if (!drawing.Read(pages, notifier)) {
            state.SkipWithError("the drawing did not load");
            break;
        }
        curves = 0;
        for (const auto& page : pages)
            curves += page->curves.size();
        benchmark::DoNotOptimize(pages.data());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["curves"] = static_cast<double>(curves);
    state.counters["peakRssMB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * qv::CHpglFile::kMaxFileSize);
}
BENCHMARK(BM_LoadAndBuildPages8MB)->Unit(benchmark::kMillisecond);

} // namespace
