#include "LargestDrawing.h"

#include "app/Notifier.h"
#include "geometry/ImportCleanUp.h"
#include "geometry/Paging.h"

#include <benchmark/benchmark.h>

namespace {

// What the program does with a file that arrives: read it, build its pages, tidy them with outline
// recognition on, and cut them into pages of 1500 mm.
void BM_Intake8MB(benchmark::State& state)
{
    static qv::bench::LargestDrawing drawing;
    qv::RecordingNotifier notifier;
    qv::ImportOptions options;
    options.FindOutline = 1;
    options.PLTFilePageLen = 1500;
    std::size_t pages = 0;
    std::size_t curves = 0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<qv::COnePage>> list;
        if (!drawing.Read(list, notifier)) {
            state.SkipWithError("the drawing did not load");
            break;
        }
        if (!qv::CleanUpImportedPages(list, options)) {
            state.SkipWithError("the drawing nests past the bound");
            break;
        }
        qv::PaginatePages(list, options);
        pages = list.size();
        curves = 0;
        for (const auto& page : list)
            curves += page->curves.size();
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["curves"] = static_cast<double>(curves);
}
BENCHMARK(BM_Intake8MB)->Unit(benchmark::kMillisecond);

} // namespace
