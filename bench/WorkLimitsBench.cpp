// The inputs that once broke the work limit (at most 8 000 000 bytes read, tidied and paged within 2 s and
// 1 GiB), each through the intake's whole path. Peak memory is the process's, so run one row at a time
// (--benchmark_filter) to read it for that row; heldMB is the heap the drawing keeps once taken.
#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/Notifier.h"
#include "hpgl/CHpglFile.h"
#include "tasks/CQuorvaneDoc.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include <malloc.h>
#include <sys/resource.h>

namespace {

std::string ZigZagToIntMax()
{
    std::string plt = "IN;SP1;PU0,0;";
    for (int k = 0; k < 128; ++k)
        plt += "PD" + std::to_string(k % 2 == 0 ? 2147483647 : 0) + "," + std::to_string(k * 10) + ";";
    return plt;
}

std::string OneStrokeToIntMax()
{
    return "IN;PD2147483647,0;";
}

// Closed triangles in boxes of 20 mm, 0.025 mm apart, as a nesting program lays out small pieces: 128 000 of
// them come to 7.7 MB.
std::string Contours(int count)
{
    std::string plt = "IN;SP1;";
    const int perRow = 360;
    for (int i = 0; i < count; ++i) {
        const std::string x0 = std::to_string((i % perRow) * 801), y0 = std::to_string((i / perRow) * 801);
        const std::string x1 = std::to_string((i % perRow) * 801 + 800), y1 = std::to_string((i / perRow) * 801 + 800);
        plt += "PU" + x0 + "," + y0 + ";PD" + x1 + "," + y0 + "," + x0 + "," + y1 + "," + x0 + "," + y0 + ";";
    }
    return plt;
}

// Squares stacked inside one another, 0.25 mm apart: every pair may decide which is the outer one.
std::string ConcentricSquares(int count)
{
    std::string plt = "IN;SP1;";
    for (int i = 0; i < count; ++i) {
        const std::string lo = std::to_string(100'000 - 10 * i), hi = std::to_string(100'400 + 10 * i);
        plt += "PU" + lo + "," + lo + ";PD" + hi + "," + lo + "," + hi + "," + hi + "," + lo + "," + hi + "," + lo +
               "," + lo + ";";
    }
    return plt;
}

std::string EmptyPages(std::size_t bytes)
{
    std::string plt = "IN;";
    while (plt.size() + 7 <= bytes)
        plt += "PD1,1PG";
    return plt;
}

// Labels of 510 letters, each on a line of its own.
std::string Labels(std::size_t bytes)
{
    std::string text;
    while (text.size() < 510)
        text += "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string label = "LB" + text.substr(0, 510) + "\x03";
    std::string plt = "IN;SP1;";
    for (int line = 0;; ++line) {
        const std::string next = "PU0," + std::to_string(line * 400) + ";" + label;
        if (plt.size() + next.size() > bytes)
            return plt;
        plt += next;
    }
}

// Small blocks and the large ones mapped on their own.
std::size_t HeapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// Reads `plt` as the intake does with FindOutline and paging at 500 mm.
void Intake(benchmark::State& state, const std::function<std::string()>& make)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvane-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    qv::CSettings settings;
    qv::CSetDisp disp;
    qv::MachineSettings machine;
    settings.Load(pattern, disp, machine);
    settings.FindOutline = 1;
    settings.PLTFilePageLen = 500;
    const std::string path = pattern + "/limit.plt";
    const std::string plt = make();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(plt.data(), 1, plt.size(), file) != plt.size())
        std::abort();
    std::fclose(file);
    qv::RecordingNotifier notifier;
    std::size_t pages = 0;
    std::size_t curves = 0;
    std::size_t held = 0;
    bool taken = false;
    for (auto _ : state) {
        const std::size_t heapBefore = HeapInUse();
        qv::CQuorvaneDoc doc;
        {
            qv::CHpglFile reader;
            reader.path = path;
            const int32_t result = reader.Load(settings, notifier);
            if (result != qv::HpglLoadResult::Ok && result != qv::HpglLoadResult::TooLarge) {
                state.SkipWithError("the drawing did not load");
                break;
            }
            reader.BuildPages(doc.pages, settings);
            taken = result == qv::HpglLoadResult::Ok && doc.TakeImportedDrawing(0, qv::ImportOptionsOf(settings));
        }
        held = HeapInUse() - heapBefore;
        pages = doc.pages.size();
        curves = 0;
        for (const auto& page : doc.pages)
            curves += page->curves.size();
        benchmark::DoNotOptimize(doc.pages.data());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["fileKB"] = static_cast<double>(plt.size()) / 1000.0;
    state.counters["taken"] = taken ? 1 : 0;
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["curves"] = static_cast<double>(curves);
    state.counters["peakRssMB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["heldMB"] = static_cast<double>(held) / 1e6;
    std::filesystem::remove_all(pattern);
}

void BM_ZigZagToIntMax(benchmark::State& state)
{
    Intake(state, ZigZagToIntMax);
}
void BM_OneStrokeToIntMax(benchmark::State& state)
{
    Intake(state, OneStrokeToIntMax);
}
void BM_Contours(benchmark::State& state)
{
    Intake(state, [&] { return Contours(static_cast<int>(state.range(0))); });
}
void BM_ConcentricSquares(benchmark::State& state)
{
    Intake(state, [&] { return ConcentricSquares(static_cast<int>(state.range(0))); });
}
void BM_EmptyPages(benchmark::State& state)
{
    Intake(state, [&] { return EmptyPages(static_cast<std::size_t>(state.range(0))); });
}
void BM_Labels(benchmark::State& state)
{
    Intake(state, [&] { return Labels(static_cast<std::size_t>(state.range(0))); });
}

BENCHMARK(BM_ZigZagToIntMax)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneStrokeToIntMax)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Contours)->Arg(32'000)->Arg(128'000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ConcentricSquares)->Arg(3'000)->Arg(20'000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EmptyPages)->Arg(2'000'000)->Arg(8'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Labels)
    ->Arg(100'000)
    ->Arg(200'000)
    ->Arg(1'000'000)
    ->Arg(8'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
