#include "Commands.h"
#include "PageJob.h"

#include "JobOutput.h"
#include "PngWriter.h"
#include "SimJob.h"

#include "app/AtomicFile.h"

#include <cstdio>
#include <filesystem>

namespace qv::cli {

// quorvane-cli preview FILE.ctask --page N [--machine-params FILE] [--settings DIR] [--start X,Y] -o DIR
// Builds page N's job as `job` does and lets the virtual machine's decoder read it as the machine with those
// parameters would: DIR/print.png is what its heads print (when the page has plot curves), DIR/cut.svg what
// its knives cut (when it has cut curves), DIR/summary.json what it made of the job.
int RunPreview(const std::vector<std::string>& words)
{
    PageJobInput input;
    WireJob job;
    std::string output;
    if (const int status = BuildPageJobCommand(words, input, job, output)) {
        if (status == 2)
            std::fprintf(stderr, "usage: quorvane-cli preview FILE.ctask --page N [--machine-params FILE]\n"
                                 "                            [--settings DIR] [--start X,Y] -o DIR\n");
        return status;
    }
    sim::SimJob decoded(1, job.startCode, job.start.Encode());
    decoded.AddBulk(job.data, false);
    for (const SegmentRecord& s : job.segments)
        decoded.AddSegment(s.Encode());
    decoded.Finish(job.header.Encode(), input.params);
    const sim::JobReport& report = decoded.Report();

    const std::filesystem::path dir(output);
    const std::string summary = sim::JobSummaryJson(report);
    bool written = WriteFileAtomically((dir / "summary.json").string(), summary);
    if (!report.bands.empty()) {
        const std::vector<uint8_t> png = sim::EncodePng(report.image);
        written = WriteFileAtomically((dir / "print.png").string(),
                                      {reinterpret_cast<const char*>(png.data()), png.size()}) &&
                  written;
    }
    if (!report.knife.empty()) {
        const std::string svg =
            sim::KnifeSvg(report, input.params.advanced.xPulsesPerMm, input.params.advanced.yPulsesPerMm);
        written = WriteFileAtomically((dir / "cut.svg").string(), svg) && written;
    }
    if (!written) {
        std::fprintf(stderr, "%s: cannot write the preview there\n", output.c_str());
        return 1;
    }
    std::fputs(summary.c_str(), stdout);
    for (const std::string& error : report.errors)
        std::fprintf(stderr, "the machine does not accept the job: %s\n", error.c_str());
    return report.Ok() ? 0 : 1;
}

} // namespace qv::cli
