// The floor under the HP-GL reader: the same 8,000,000-byte drawing read from the file and only split into
// mnemonics and numbers. The reader's Load + BuildPages (bench_hpgl) is reported as a multiple of this.
#include "LargestDrawing.h"
#include "PlainTokenizer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

void BM_PlainTokenizer8MB(benchmark::State& state)
{
    static qv::bench::LargestDrawing drawing;
    std::vector<uint8_t> bytes(static_cast<std::size_t>(qv::CHpglFile::kMaxFileSize));
    qv::bench::Tokens tokens;
    for (auto _ : state) {
        std::FILE* file = std::fopen(drawing.path.c_str(), "rb");
        if (!file) {
            state.SkipWithError("the drawing did not open");
            break;
        }
        const std::size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        tokens = qv::bench::SplitMnemonicsAndNumbers({bytes.data(), read});
        benchmark::DoNotOptimize(tokens);
    }
    state.counters["mnemonics"] = static_cast<double>(tokens.mnemonics);
    state.counters["numbers"] = static_cast<double>(tokens.numbers);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * qv::CHpglFile::kMaxFileSize);
}
BENCHMARK(BM_PlainTokenizer8MB)->Unit(benchmark::kMillisecond);

} // namespace
