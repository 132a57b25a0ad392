#include "PageJob.h"

#include "StderrNotifier.h"
#include "Usage.h"

#include "app/AtomicFile.h"
#include "app/CSetDisp.h"
#include "app/MachineParamsFile.h"
#include "tasks/TaskFileResult.h"

#include <cstdio>
#include <filesystem>

namespace qv::cli {

int LoadSettingsOption(const std::optional<std::string>& dir, CSettings& settings, MachineParams& params,
                       CSetDisp* disp)
{
    std::error_code ec;
    if (dir && !std::filesystem::is_directory(*dir, ec)) {
        std::fprintf(stderr, "%s: no such directory\n", dir->c_str());
        return 2;
    }
    CSetDisp read;
    settings.Load(dir ? *dir : ExecutableDirectory(), disp ? *disp : read, params.settings);
    return 0;
}

int LoadPageJobInput(const Args& args, PageJobInput& input)
{
    const auto page = ParseInt(args.Value("page").value_or(""));
    if (!args.error().empty() || args.positional().size() != 1 || !page)
        return 2;
    if (const int status = LoadSettingsOption(args.Value("settings"), input.settings, input.params))
        return status;
    if (const auto file = args.Value("machine-params")) {
        std::string bytes;
        const auto records = ReadWholeFile(*file, bytes) ? MachineParamsFile::Parse(bytes) : std::nullopt;
        if (!records) {
            std::fprintf(stderr, "%s: not a machine parameter file of %zu bytes\n", file->c_str(),
                         MachineParamsFile::kSize);
            return 1;
        }
        input.params = records->Decode();
    }
    if (const auto start = args.Value("start")) {
        const auto comma = start->find(',');
        const auto x = ParseInt(start->substr(0, comma));
        const auto y = comma == std::string::npos ? std::nullopt : ParseInt(start->substr(comma + 1));
        if (!x || !y)
            return 2;
        input.start = {*x, *y};
    }
    const std::string& path = args.positional().front();
    const TaskFileResult opened = input.doc.Open(path);
    if (opened != TaskFileResult::Ok) {
        std::fprintf(stderr, "%s\n", TaskFileMessage(opened, path, input.settings.Language).c_str());
        return 1;
    }
    if (*page < 1 || static_cast<std::size_t>(*page) > input.doc.pages.size()) {
        std::fprintf(stderr, "%s: no page %d (the task list holds %zu)\n", path.c_str(), *page, input.doc.pages.size());
        return 1;
    }
    input.page = static_cast<std::size_t>(*page - 1);
    return 0;
}

int BuildPageJobCommand(std::string_view command, const std::vector<std::string>& words, PageJobInput& input,
                        WireJob& job, std::string& outputDir)
{
    const Args args(words, {"page", "machine-params", "settings", "start", "output"});
    const auto output = args.Value("output");
    if (!output)
        return WrongWords(command, args.error());
    if (const int status = LoadPageJobInput(args, input))
        return status == 2 ? WrongWords(command, args.error()) : status;
    StderrNotifier notifier;
    const JobSettings settings{input.settings.Options(), input.params};
    auto built = BuildWireJob(*input.doc.pages[input.page], settings, input.start, input.settings, notifier);
    if (!built)
        return 1;
    job = std::move(*built);
    std::error_code ec;
    std::filesystem::create_directories(*output, ec);
    outputDir = *output;
    return 0;
}

} // namespace qv::cli
