#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/Notifier.h"
#include "gen/MarkerGenerator.h"
#include "hpgl/CHpglFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>

namespace {

// A generated marker of the largest size the reader accepts, in a private directory that also receives the
// stroke-font files.
struct LargestDrawing {
    std::string dir;
    std::string path;
    qv::CSettings settings;

    LargestDrawing()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvane-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        dir = pattern;
        qv::CSetDisp disp;
        qv::MachineSettings machine;
        settings.Load(dir, disp, machine);
        qv::gen::MarkerOptions options;
        options.targetBytes = qv::CHpglFile::kMaxFileSize;
        options.pageBreaks = 3;
        const std::string plt = qv::gen::GenerateMarkerPlt(options);
        path = dir + "/marker.plt";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || std::fwrite(plt.data(), 1, plt.size(), file) != plt.size() || std::fclose(file) != 0)
            std::abort();
    }
    ~LargestDrawing()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

void BM_LoadAndBuildPages8MB(benchmark::State& state)
{
    static LargestDrawing drawing;
    qv::RecordingNotifier notifier;
    std::size_t curves = 0;
    for (auto _ : state) {
        qv::CHpglFile reader;
        reader.path = drawing.path;
        if (reader.Load(drawing.settings, notifier) != qv::HpglLoadResult::Ok) {
            state.SkipWithError("the drawing did not load");
            break;
        }
        std::vector<std::unique_ptr<qv::COnePage>> pages;
        reader.BuildPages(pages, drawing.settings);
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
BENCHMARK(BM_LoadAndBuildPages8MB)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace
