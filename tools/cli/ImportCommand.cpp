#include "Args.h"
#include "Commands.h"
#include "PageJob.h"
#include "StderrNotifier.h"
#include "TaskRows.h"

#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/MessageCatalog.h"
#include "hpgl/CHpglFile.h"
#include "tasks/CQuorvaneDoc.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace qv::cli {

namespace {

// Where the default settings live when no --settings is given: a private directory without "setting.ini",
// which also receives the stroke-font files the reader writes, and goes when the command ends.
class ScratchDirectory {
public:
    ScratchDirectory()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvane-cli-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~ScratchDirectory()
    {
        std::error_code ec;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ec);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace

// quorvane-cli import FILE.plt... -o|--output OUT.ctask [--settings DIR]
// Takes each drawing in as the program does with the options of DIR/setting.ini (default: the defaults): reads
// it, appends its pages to one task list, tidies and pages the whole list, and saves it. Nothing is written
// when a drawing cannot be read.
int RunImport(const std::vector<std::string>& words)
{
    const Args args(words, {"output", "settings"});
    const std::optional<std::string> output = args.Value("output");
    if (!args.error().empty() || args.positional().empty() || !output) {
        std::fprintf(stderr, "usage: quorvane-cli import FILE.plt... -o OUT.ctask [--settings DIR]\n");
        return 2;
    }
    std::optional<std::string> settingsDir = args.Value("settings");
    std::optional<ScratchDirectory> scratch;
    if (!settingsDir) {
        scratch.emplace();
        if (scratch->path().empty()) {
            std::fprintf(stderr, "cannot create a temporary directory for the default settings\n");
            return 1;
        }
        settingsDir = scratch->path();
    }
    CSettings settings;
    MachineParams machine;
    if (const int status = LoadSettingsOption(settingsDir, settings, machine))
        return status;

    StderrNotifier notifier;
    CQuorvaneDoc doc;
    for (const std::string& file : args.positional()) {
        CHpglFile reader;
        reader.path = file;
        const int32_t result = reader.Load(settings, notifier);
        if (result != HpglLoadResult::Ok) {
            std::fprintf(stderr, "%s: %s (result %d)\n", file.c_str(),
                         std::string(MessageText(Msg::PltOpenFailed, settings.Language)).c_str(), result);
            return 1;
        }
        reader.BuildPages(doc.pages, settings);
        const ImportOptions options = ImportOptionsOf(settings);
        doc.CleanUpImportedPages(options);
        doc.PaginatePages(options);
    }
    const TaskFileResult saved = doc.Save(*output);
    if (saved != TaskFileResult::Ok) {
        std::fprintf(stderr, "%s\n", TaskFileMessage(saved, *output, settings.Language).c_str());
        return 1;
    }
    PrintTaskRows(doc, settings.Language);
    return 0;
}

} // namespace qv::cli
