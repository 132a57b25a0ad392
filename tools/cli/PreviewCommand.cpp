#include "Commands.h"
#include "PageJob.h"
#include "Usage.h"

#include "JobOutput.h"
#include "SimJob.h"

#include <cstdio>

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
    if (const int status = BuildPageJobCommand("preview", words, input, job, output))
        return status;
    sim::SimJob decoded(1, job.startCode, job.plan.start.Encode());
    decoded.AddBulk(job.data, false);
    for (const SegmentRecord& s : job.segments)
        decoded.AddSegment(s.Encode());
    decoded.Finish(job.header.Encode(), input.params);
    const sim::JobReport& report = decoded.Report();

    const bool written = sim::WriteJobFiles(output, report, input.params);
    if (!written) {
        std::fprintf(stderr, "%s: cannot write the preview there\n", output.c_str());
        return 1;
    }
    std::fputs(sim::JobSummaryJson(report).c_str(), stdout);
    for (const std::string& error : report.errors)
        std::fprintf(stderr, "the machine does not accept the job: %s\n", error.c_str());
    return report.Ok() ? 0 : 1;
}

} // namespace qv::cli
