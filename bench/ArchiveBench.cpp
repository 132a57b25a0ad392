#include "model/Archive.h"
#include "model/COnePage.h"
#include "model/ObjectList.h"
#include "tasks/CQuorvaneDoc.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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

// The task file as the program writes and reads it: the one-million-point list saved (atomically, through a
// temporary file) and opened again from a private directory.
struct TaskFileDir {
    TaskFileDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvane-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        dir = pattern;
        path = dir + "/bench.ctask";
    }
    ~TaskFileDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string dir;
    std::string path;
};

void BM_SaveTaskFile(benchmark::State& state)
{
    const TaskFileDir files;
    qv::CQuorvaneDoc doc;
    doc.pages = MakePages();
    for (auto _ : state) {
        if (doc.Save(files.path) != qv::TaskFileResult::Ok) {
            state.SkipWithError("the task file was not written");
            break;
        }
    }
    state.counters["file MB"] = static_cast<double>(std::filesystem::file_size(files.path)) / 1e6;
}
BENCHMARK(BM_SaveTaskFile)->Unit(benchmark::kMillisecond);

void BM_OpenTaskFile(benchmark::State& state)
{
    const TaskFileDir files;
    {
        qv::CQuorvaneDoc doc;
        doc.pages = MakePages();
        if (doc.Save(files.path) != qv::TaskFileResult::Ok)
            std::abort();
    }
    qv::CQuorvaneDoc doc;
    for (auto _ : state) {
        if (doc.Open(files.path) != qv::TaskFileResult::Ok) {
            state.SkipWithError("the task file was not read");
            break;
        }
    }
    state.counters["pages"] = static_cast<double>(doc.pages.size());
}
BENCHMARK(BM_OpenTaskFile)->Unit(benchmark::kMillisecond);

} // namespace
