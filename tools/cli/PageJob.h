#pragma once

#include "Args.h"

#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/Notifier.h"
#include "output/JobPipeline.h"
#include "tasks/CQuorvaneDoc.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::cli {

// Reads DIR/setting.ini (DIR: --settings, else the program's own directory; a missing file gives the
// defaults) into `settings`, the machine address of `params` and, when given, the display area of `disp`.
// 0, or 2 after saying that DIR is no directory.
int LoadSettingsOption(const std::optional<std::string>& dir, CSettings& settings, MachineParams& params,
                       CSetDisp* disp = nullptr);

// What the subcommands that output one page without a machine read:
//   FILE.ctask --page N [--settings DIR] [--machine-params FILE] [--start X,Y]
// N counts from 1 as the task list shows it; FILE is a MachineParamsFile as the virtual machine keeps it
// (default: the start-up values); X,Y is the machine's start point in pulses (default 0,0).
struct PageJobInput {
    CQuorvaneDoc doc;
    CSettings settings;
    MachineParams params;
    std::size_t page = 0; // index into doc.pages
    MachinePoint start;
};

// 0, or the exit status after telling why on stderr.
int LoadPageJobInput(const Args& args, PageJobInput& input);

// The words of `job` and `preview`: the input above and -o|--output DIR. Loads the input, builds the job and
// creates DIR. 0; 2 for words that do not fit (told with the usage of `command`); 1 when the job cannot be built
// (told on stderr).
int BuildPageJobCommand(std::string_view command, const std::vector<std::string>& words, PageJobInput& input,
                        WireJob& job, std::string& outputDir);

} // namespace qv::cli
