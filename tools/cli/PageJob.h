#pragma once

#include "Args.h"

#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/Notifier.h"
#include "link/JobRecords.h"
#include "output/JobBuffers.h"
#include "output/RasterEngine.h"
#include "tasks/CQuorvaneDoc.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv::cli {

// Reads DIR/setting.ini (DIR: --settings, else the program's own directory; a missing file gives the
// defaults) into `settings` and the machine address of `params`. 0, or 2 after saying that DIR is no directory.
int LoadSettingsOption(const std::optional<std::string>& dir, CSettings& settings, MachineParams& params);

// What the subcommands that output one page without a machine read:
//   FILE.ctask --page N [--settings DIR] [--machine-params FILE] [--start X,Y]
// N counts from 1 as the task list shows it; FILE is a MachineParamsFile as the virtual machine keeps it
// (default: the start-up values); X,Y is the machine's start point in pulses (default 0,0).
struct PageJobInput {
    CQuorvaneDoc doc;
    CSettings settings;
    MachineParams params;
    std::size_t page = 0;   // index into doc.pages
    MachinePoint start;
};

// 0, or the exit status after telling why on stderr.
int LoadPageJobInput(const Args& args, PageJobInput& input);

// One page's job exactly as the job thread sends it: the start command with its record, the bulk data, the
// segment table and the header.
struct WireJob {
    uint8_t startCode = 0;
    JobStartRecord start;
    RasterPlan plan;
    std::vector<uint8_t> data;
    std::vector<SegmentRecord> segments;
    JobHeader header;
};

// Prepares the page and builds its job as the job thread does, the start point read from the machine
// replaced by the input's. 0, or 1 when the job thread would refuse the page (the reason went to `notifier`).
int BuildWireJob(const PageJobInput& input, Notifier& notifier, WireJob& job);

// The words of `job` and `preview`: the input above and -o|--output DIR. Loads the input, builds the job and
// creates DIR. 0; 2 for words that do not fit; 1 when the job cannot be built (told on stderr).
int BuildPageJobCommand(const std::vector<std::string>& words, PageJobInput& input, WireJob& job,
                        std::string& outputDir);

} // namespace qv::cli
