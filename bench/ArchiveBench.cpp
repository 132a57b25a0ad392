#include "model/Archive.h"
#include "model/COnePage.h"
#include "model/ObjectList.h"

#include <benchmark/benchmark.h>

namespace {

// A task list of 20 pages of 250 curves with 200 points each: one million points, about 8 MB on disk.
std::vector<std::unique_ptr<qv::COnePage>> MakePages()
{
    std::vector<std::unique_ptr<qv::COnePage>> pages;
    for (int p = 0; p < 20; ++p) {
        auto page = std::make_unique<qv::COnePage>();
        page->fileName = "bench.plt";
        for (int c = 0; c < 250; ++c) {
            qv::CCurve& curve = page->AddCurve();
            for (int i = 0; i < 200; ++i)
                curve.AddPoint(c * 100 + i, i * 7);
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

std::vector<uint8_t> Write(std::vector<std::unique_ptr<qv::COnePage>>& pages)
{
    qv::ArchiveWriter w;
    qv::WriteObjectList(w, pages);
    return w.TakeBytes();
}

void BM_WriteTaskList(benchmark::State& state)
{
    auto pages = MakePages();
    for (auto _ : state)
        benchmark::DoNotOptimize(Write(pages));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Write(pages).size()));
}
BENCHMARK(BM_WriteTaskList)->Unit(benchmark::kMillisecond);

void BM_ReadTaskList(benchmark::State& state)
{
    auto pages = MakePages();
    const auto bytes = Write(pages);
    for (auto _ : state) {
        qv::ArchiveReader r(bytes, qv::kTaskFileClasses);
        benchmark::DoNotOptimize(qv::ReadObjectList<qv::COnePage>(r));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadTaskList)->Unit(benchmark::kMillisecond);

} // namespace
