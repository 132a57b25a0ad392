#include "JobOutput.h"

#include "PngWriter.h"

#include "app/AtomicFile.h"
#include "app/TextCodec.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

namespace qv::sim {

std::string Mm(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", v);
    return text;
}

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char ch : ValidUtf8(text)) {
        const auto b = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (b < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
            out += escaped;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string KnifeSvg(const JobReport& job, const MachineParams& machine)
{
    const double sx = machine.advanced.xPulsesPerMm > 0 ? machine.advanced.xPulsesPerMm : 1;
    const double sy = machine.advanced.yPulsesPerMm > 0 ? machine.advanced.yPulsesPerMm : 1;
    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
    for (const KnifeRecord& r : job.knife) {
        minX = std::min(minX, r.x / sx);
        maxX = std::max(maxX, r.x / sx);
        minY = std::min(minY, r.y / sy);
        maxY = std::max(maxY, r.y / sy);
    }
    if (job.knife.empty())
        minX = minY = maxX = maxY = 0;
    const double margin = 5;
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                      "viewBox=\"" +
                      Mm(minX - margin) + " " + Mm(minY - margin) + " " + Mm(maxX - minX + 2 * margin) + " " +
                      Mm(maxY - minY + 2 * margin) + "\" width=\"" + Mm(maxX - minX + 2 * margin) + "mm\" height=\"" +
                      Mm(maxY - minY + 2 * margin) + "mm\">\n" +
                      // Mirrors Y within the same box: SVG counts Y downwards, the drawing upwards.
                      "<g transform=\"matrix(1 0 0 -1 0 " + Mm(minY + maxY) + ")\">\n";
    // One path per run of records with the same code; each starts where the previous record left the knife.
    std::size_t i = 0;
    while (i < job.knife.size()) {
        const char code = job.knife[i].code;
        std::size_t end = i + 1;
        while (end < job.knife.size() && job.knife[end].code == code)
            ++end;
        const std::size_t from = i > 0 ? i - 1 : i;
        std::string d;
        for (std::size_t k = from; k < end; ++k)
            d += (k == from ? "M" : " L") + Mm(job.knife[k].x / sx) + " " + Mm(job.knife[k].y / sy);
        if (end - from > 1) {
            const char* style = code == 'F'   ? "stroke=\"#d00000\" stroke-width=\"0.3\""
                                : code == 'H' ? "stroke=\"#0050d0\" stroke-width=\"0.3\""
                                              : "stroke=\"#909090\" stroke-width=\"0.1\" stroke-dasharray=\"1 1\"";
            svg += "<path class=\"" + std::string(1, code) + "\" fill=\"none\" " + style + " d=\"" + d + "\"/>\n";
        }
        i = end;
    }
    return svg + "</g>\n</svg>\n";
}

std::string JobSummaryJson(const JobReport& job)
{
    int moves = 0, fullCuts = 0, halfCuts = 0;
    for (const KnifeRecord& r : job.knife) {
        moves += r.code == 'M';
        fullCuts += r.code == 'F';
        halfCuts += r.code == 'H';
    }
    std::string j = "{\n";
    j += "  \"job\": " + std::to_string(job.number) + ",\n";
    j += "  \"startCommand\": " + std::to_string(job.startCode) + ",\n";
    j += "  \"xReference\": " + std::to_string(job.xReference) + ",\n";
    j += "  \"rowsPerBand\": " + std::to_string(job.rowsPerBand) + ",\n";
    j += "  \"segmentCount\": " + std::to_string(job.headerSegments) + ",\n";
    j += "  \"knifeRecordCount\": " + std::to_string(job.headerKnifeRecords) + ",\n";
    j += "  \"bulkBytes\": " + std::to_string(job.bulkBytes) + ",\n";
    j += "  \"segments\": [";
    for (std::size_t i = 0; i < job.segments.size(); ++i)
        j += std::string(i ? ", " : "") + "{\"index\": " + std::to_string(job.segments[i].index) +
             ", \"length\": " + std::to_string(job.segments[i].length) + ", \"kind\": \"" +
             std::string(1, job.segments[i].kind) + "\"}";
    j += "],\n  \"bands\": [";
    for (std::size_t i = 0; i < job.bands.size(); ++i)
        j += std::string(i ? ", " : "") + "{\"index\": " + std::to_string(job.bands[i].index) +
             ", \"bytes\": " + std::to_string(job.bands[i].bytes) + ", \"rows\": " + std::to_string(job.bands[i].rows) +
             ", \"inkPixels\": " + std::to_string(job.bands[i].inkPixels) + "}";
    j += "],\n";
    j += "  \"knife\": {\"records\": " + std::to_string(job.knife.size()) + ", \"moves\": " + std::to_string(moves) +
         ", \"fullCuts\": " + std::to_string(fullCuts) + ", \"halfCuts\": " + std::to_string(halfCuts) + "},\n";
    j += "  \"printed\": {\"width\": " + std::to_string(job.image.Width()) +
         ", \"height\": " + std::to_string(job.image.Height()) +
         ", \"inkPixels\": " + std::to_string(job.image.InkPixels()) +
         ", \"inkOffMaterial\": " + std::to_string(job.inkOffMaterial) + "},\n";
    j += std::string("  \"cancelled\": ") + (job.cancelled ? "true" : "false") + ",\n";
    j += std::string("  \"ok\": ") + (job.Ok() ? "true" : "false") + ",\n";
    j += "  \"errors\": [";
    for (std::size_t i = 0; i < job.errors.size(); ++i)
        j += std::string(i ? ", " : "") + JsonString(job.errors[i]);
    return j + "]\n}\n";
}

PrintedImage UprightPreview(const PrintedImage& image, const MachineParams& machine)
{
    constexpr double kPixelMm = 25.4 / 300;
    const double rowMm = machine.advanced.yPulsesPerMm > 0
                             ? std::max<int>(machine.advanced.inkjetIntervalPulses, 1) / machine.advanced.yPulsesPerMm
                             : kPixelMm;
    const double stretch = rowMm / kPixelMm;
    const int height = static_cast<int>(std::lround(image.Height() * stretch));
    PrintedImage preview;
    preview.Reserve(image.Width(), height);
    for (int y = 0; y < height; ++y) {
        const int source = image.Height() - 1 - std::min(image.Height() - 1, static_cast<int>(y / stretch));
        preview.CopyRow(y, image, source);
    }
    return preview;
}

bool WriteJobFiles(const std::string& folder, const JobReport& job, const MachineParams& machine)
{
    const std::filesystem::path path(folder);
    bool ok = WriteFileAtomically((path / "summary.json").string(), JobSummaryJson(job));
    if (!job.bands.empty()) {
        const std::vector<uint8_t> png = EncodePng(UprightPreview(job.image, machine));
        ok = WriteFileAtomically((path / "print.png").string(),
                                 std::span<const char>(reinterpret_cast<const char*>(png.data()), png.size())) &&
             ok;
    }
    if (!job.knife.empty())
        ok = WriteFileAtomically((path / "cut.svg").string(), KnifeSvg(job, machine)) && ok;
    return ok;
}

bool WriteJobOutput(const std::string& dir, const JobReport& job, const MachineParams& machine)
{
    char name[32];
    std::snprintf(name, sizeof name, "job-%04d", job.number);
    const std::filesystem::path folder = std::filesystem::path(dir) / name;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return !ec && WriteJobFiles(folder.string(), job, machine);
}

} // namespace qv::sim
