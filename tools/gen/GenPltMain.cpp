// quorvane-gen-plt: writes a generated garment marker (HP-GL) for tests, benchmarks and trials.

#include "gen/MarkerGenerator.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

int Usage()
{
    std::fprintf(
        stderr,
        "usage: quorvane-gen-plt -o FILE.plt [--seed N] [--bytes N] [--pieces N] [--points N]\n"
        "                        [--pages N] [--per-command N] [--half-cut-pen N] [--no-labels]\n"
        "       quorvane-gen-plt -o FILE.plt --square CM [--half-cut]\n"
        "  --bytes N   pieces until the file holds exactly N bytes (instead of --pieces)\n"
        "  --pages N   N pages, separated by page breaks\n"
        "  --square CM a machine-tuning square of CM centimetres, printed and cut (--half-cut: and half-cut)\n");
    return 2;
}

template <typename T>
bool ParseNumber(std::string_view text, T& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

} // namespace

int main(int argc, char** argv)
{
    qv::gen::MarkerOptions options;
    std::string output;
    int squareCm = 0;
    bool halfCut = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--no-labels") {
            options.labels = false;
            continue;
        }
        if (word == "--half-cut") {
            halfCut = true;
            continue;
        }
        if (i + 1 >= argc)
            return Usage();
        const std::string_view value = argv[++i];
        int pages = 0;
        bool ok = true;
        if (word == "-o")
            output = value;
        else if (word == "--seed")
            ok = ParseNumber(value, options.seed);
        else if (word == "--bytes")
            ok = ParseNumber(value, options.targetBytes);
        else if (word == "--pieces")
            ok = ParseNumber(value, options.pieces);
        else if (word == "--points")
            ok = ParseNumber(value, options.pointsPerPiece);
        else if (word == "--pages")
            ok = ParseNumber(value, pages) && pages >= 1 && (options.pageBreaks = pages - 1, true);
        else if (word == "--per-command")
            ok = ParseNumber(value, options.pointsPerCommand);
        else if (word == "--square")
            ok = ParseNumber(value, squareCm) && squareCm >= 2;
        else if (word == "--half-cut-pen")
            ok = ParseNumber(value, options.halfCutPen);
        else
            ok = false;
        if (!ok)
            return Usage();
    }
    if (output.empty())
        return Usage();

    const std::string plt =
        squareCm > 0 ? qv::gen::GenerateTestSquarePlt(squareCm, halfCut) : qv::gen::GenerateMarkerPlt(options);
    std::FILE* file = std::fopen(output.c_str(), "wb");
    if (!file || std::fwrite(plt.data(), 1, plt.size(), file) != plt.size() || std::fclose(file) != 0) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf("%s: %zu bytes\n", output.c_str(), plt.size());
    return 0;
}
