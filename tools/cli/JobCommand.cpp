#include "Commands.h"
#include "PageJob.h"
#include "Usage.h"

#include "app/AtomicFile.h"
#include "link/CommandCodes.h"
#include "link/Frames.h"

#include <cstdio>
#include <filesystem>

namespace qv::cli {

namespace {

void AppendFrame(std::string& out, uint8_t code, std::span<const uint8_t> payload)
{
    const auto frame = WriteFrame(code, payload);
    out.append(frame->View().begin(), frame->View().end());
}

std::string Summary(const PageJobInput& input, const WireJob& job)
{
    std::string j = "{\n";
    j += "  \"page\": " + std::to_string(input.page + 1) + ",\n";
    j += "  \"startCommand\": " + std::to_string(job.startCode) + ",\n";
    j += "  \"xReference\": " + std::to_string(job.plan.start.xReference) + ",\n";
    j += "  \"rowsPerBand\": " + std::to_string(job.plan.start.rowsPerBand) + ",\n";
    j += "  \"bands\": " + std::to_string(job.plan.raster.bands) + ",\n";
    j += "  \"segmentCount\": " + std::to_string(job.plan.start.segmentCount) + ",\n";
    j += "  \"knifeRecordCount\": " + std::to_string(job.header.knifeRecordCount) + ",\n";
    j += "  \"bulkBytes\": " + std::to_string(job.data.size()) + ",\n";
    j += "  \"segments\": [";
    for (const SegmentRecord& s : job.segments)
        j += std::string(s.index ? ", " : "") + "{\"index\": " + std::to_string(s.index) +
             ", \"length\": " + std::to_string(s.length) + ", \"kind\": \"" + static_cast<char>(s.kind) + "\"}";
    j += "],\n";
    j += "  \"files\": {\"start\": \"start.bin\", \"data\": \"data.bin\", \"segments\": \"segments.bin\", "
         "\"header\": \"header.bin\"}\n";
    return j + "}\n";
}

} // namespace

// quorvane-cli job FILE.ctask --page N [--machine-params FILE] [--settings DIR] [--start X,Y] -o DIR
// Prepares page N and writes its job as it goes on the wire, without a machine:
//   DIR/start.bin      the start command frame (52 or 53 with the 10-byte start record)
//   DIR/data.bin       the bulk data: the compressed bands, then the knife records (over Ethernet the last
//                      400-byte chunk is padded with zeros on top of this)
//   DIR/segments.bin   the N segment record frames (54), one after the other
//   DIR/header.bin     the job header frame (55)
//   DIR/job.json       the numbers of the job
int RunJob(const std::vector<std::string>& words)
{
    PageJobInput input;
    WireJob job;
    std::string output;
    if (const int status = BuildPageJobCommand("job", words, input, job, output))
        return status;
    std::string start, segments, header;
    AppendFrame(start, job.startCode, job.plan.start.Encode());
    for (const SegmentRecord& s : job.segments)
        AppendFrame(segments, cmd::kSegment, s.Encode());
    AppendFrame(header, cmd::kJobHeader, job.header.Encode());
    const std::string summary = Summary(input, job);
    const std::filesystem::path dir(output);
    const std::span<const char> data(reinterpret_cast<const char*>(job.data.data()), job.data.size());
    if (!WriteFileAtomically((dir / "start.bin").string(), start) ||
        !WriteFileAtomically((dir / "data.bin").string(), data) ||
        !WriteFileAtomically((dir / "segments.bin").string(), segments) ||
        !WriteFileAtomically((dir / "header.bin").string(), header) ||
        !WriteFileAtomically((dir / "job.json").string(), summary)) {
        std::fprintf(stderr, "%s: cannot write the job there\n", output.c_str());
        return 1;
    }
    std::fputs(summary.c_str(), stdout);
    return 0;
}

} // namespace qv::cli
