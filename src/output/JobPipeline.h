#pragma once

#include "app/AppOptions.h"
#include "app/MachineParams.h"
#include "link/JobRecords.h"
#include "link/LinkState.h"
#include "output/RasterEngine.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace qv {

class COnePage;
class JobBuffers;
class Notifier;
struct KnifeList;
struct SharedFlags;

// What a job reads of the options and the machine records: copies taken on the thread that owns the task
// list when the job is prepared, so nothing the dialogs change meanwhile reaches a job under way.
struct JobSettings {
    AppOptions options;
    MachineParams params;
};

// How a job starts on the machine: the raster geometry and the start record.
struct JobPlan {
    RasterPlan raster;
    JobStartRecord start;
};

// The steps that turn a prepared page into the bytes of one machine job, in the order the job thread runs
// them with its exchanges in between: the knife records, then (with the machine's start point) the
// working-area checks, the raster plan and the start record, then the bands and knife records in the job
// buffers with the segment table and the header. `quorvane-cli job` and `preview` run the same steps one
// after the other (BuildWireJob), so what they write is what a job sends. A step that refuses has told the
// operator, in the job's language.
class JobPipeline {
public:
    JobPipeline(const COnePage& jobPage, KnifeList& knives, const JobSettings& settings, Notifier& notifier);

    // The knife records of the page, into `knives`.
    bool BuildKnives();
    // The working-area checks against the start point just read, the raster plan and the start record.
    std::optional<JobPlan> Plan(MachinePoint startPoint);
    // Every band and the knife records into `buffers`; on failure they hold an empty job.
    bool Assemble(const JobPlan& plan, JobBuffers& buffers, CRasterEngine& raster);

private:
    const COnePage& jobPage_;
    KnifeList& knives_;
    const JobSettings& settings_;
    Notifier& notifier_;
};

// One page's job exactly as a job sends it: the start command with its record, the bulk data, the segment
// table and the header.
struct WireJob {
    uint8_t startCode = 0;
    JobPlan plan;
    std::vector<uint8_t> data;
    std::vector<SegmentRecord> segments;
    JobHeader header;
};

// The whole road of one page without a machine: the page is prepared as the dispatch prepares it, the start
// point is the one given, the start command the one `flags` ask for. Empty when a job would refuse the page.
std::optional<WireJob> BuildWireJob(const COnePage& page, const JobSettings& settings, MachinePoint startPoint,
                                    const SharedFlags& flags, Notifier& notifier);

} // namespace qv
