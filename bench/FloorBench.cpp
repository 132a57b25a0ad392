// The floors under the HP-GL reader and under the whole import: the same 8,000,000-byte drawing read from the
// file and only split into mnemonics and numbers, and that plus writing the drawing's task file bytes the way
// every task file is written (write, fsync, rename). The reader's Load + BuildPages (bench_hpgl) and the
// import process are reported as multiples of them.
#include "LargestDrawing.h"
#include "PlainTokenizer.h"

#include "app/AtomicFile.h"
#include "tasks/CQuorvaneDoc.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>
#include <vector>

namespace {

// Nothing when the drawing does not open.
std::optional<qv::bench::Tokens> ReadAndSplit(const std::string& path, std::vector<uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return std::nullopt;
    const std::size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return qv::bench::SplitMnemonicsAndNumbers({bytes.data(), read});
}

void BM_PlainTokenizer8MB(benchmark::State& state)
{
    static qv::bench::LargestDrawing drawing;
    std::vector<uint8_t> bytes(static_cast<std::size_t>(qv::CHpglFile::kMaxFileSize));
    qv::bench::Tokens tokens;
    for (auto _ : state) {
        const auto split = ReadAndSplit(drawing.path, bytes);
        if (!split) {
            state.SkipWithError("the drawing did not open");
            break;
        }
        tokens = *split;
        benchmark::DoNotOptimize(tokens);
    }
    state.counters["mnemonics"] = static_cast<double>(tokens.mnemonics);
    state.counters["numbers"] = static_cast<double>(tokens.numbers);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * qv::CHpglFile::kMaxFileSize);
}
BENCHMARK(BM_PlainTokenizer8MB)->Unit(benchmark::kMillisecond);

void BM_ImportFloor8MB(benchmark::State& state)
{
    static qv::bench::LargestDrawing drawing;
    const std::string taskPath = drawing.dir + "/marker.ctask";
    std::string taskBytes;
    {
        qv::RecordingNotifier notifier;
        qv::CQuorvaneDoc doc;
        if (!drawing.Read(doc.pages, notifier) || !doc.TakeImportedDrawing(0, qv::ImportOptionsOf(drawing.settings)) ||
            doc.Save(taskPath) != qv::TaskFileResult::Ok || !qv::ReadWholeFile(taskPath, taskBytes)) {
            state.SkipWithError("the drawing did not import");
            return;
        }
    }
    std::vector<uint8_t> bytes(static_cast<std::size_t>(qv::CHpglFile::kMaxFileSize));
    for (auto _ : state) {
        const auto split = ReadAndSplit(drawing.path, bytes);
        if (!split) {
            state.SkipWithError("the drawing did not open");
            break;
        }
        benchmark::DoNotOptimize(split);
        if (!qv::WriteFileAtomically(taskPath, taskBytes)) {
            state.SkipWithError("the task file was not written");
            break;
        }
    }
    state.counters["task_file_bytes"] = static_cast<double>(taskBytes.size());
}
BENCHMARK(BM_ImportFloor8MB)->Unit(benchmark::kMillisecond);

} // namespace
