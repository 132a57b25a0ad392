#include "Args.h"
#include "Commands.h"
#include "PageJob.h"
#include "ReportJson.h"
#include "StderrNotifier.h"
#include "TaskRows.h"
#include "Usage.h"

#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/MessageCatalog.h"
#include "hpgl/CHpglFile.h"
#include "tasks/CQuorvaneDoc.h"
#include "view/ImportReportText.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <span>

namespace qv::cli {

namespace {

// The report block is English whatever the settings' language, as the import always printed it.
constexpr int32_t kEnglish = 1;

// Where the default settings live when no --settings is given: a private directory without "setting.ini",
// which goes when the command ends.
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

// quorvane-cli import FILE.plt... -o|--output OUT.ctask [--dialect 0|1] [--json] [--settings DIR]
// Takes each drawing in as the program does with the options of DIR/setting.ini (default: the defaults): reads
// it, appends its pages to one task list, tidies and pages the whole list, and saves it. Prints the report of
// each drawing, then the pages (with --json the reports alone, as one object). Nothing is written when a
// drawing cannot be read or holds no curve; an empty drawing is told on stderr with what it held.
int RunImport(const std::vector<std::string>& words)
{
    const Args args(words, {"output", "settings", "dialect"}, {"json"});
    const std::optional<std::string> output = args.Value("output");
    if (!args.error().empty() || args.positional().empty() || !output) {
        return WrongWords("import", args.error());
    }
    std::optional<int> dialect;
    if (const auto text = args.Value("dialect")) {
        dialect = ParseInt(*text);
        if (!dialect || (*dialect != 0 && *dialect != 1))
            return WrongWords("import", "--dialect takes 0 or 1");
    }
    for (const std::string& file : args.positional()) {
        std::error_code ec;
        if (std::filesystem::equivalent(file, *output, ec)) {
            std::fprintf(stderr, "%s is a drawing to import; the task list is not written over it\n", output->c_str());
            return 2;
        }
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
    if (dialect)
        settings.HpglDialect = *dialect;

    StderrNotifier notifier;
    CQuorvaneDoc doc;
    std::string reports;
    for (const std::string& file : args.positional()) {
        CHpglFile reader;
        reader.path = file;
        const int32_t result = reader.Load(settings, notifier);
        if (result == HpglLoadResult::TooLarge) {
            std::fprintf(stderr, "%s\n", DrawingTooLargeText(file, settings.Language).c_str());
            return 1;
        }
        if (result == HpglLoadResult::BadSize) {
            std::fprintf(stderr, "%s\n",
                         FormatMessage(Msg::PltBadSize, settings.Language,
                                       {file, CHpglFile::kMinFileSize, CHpglFile::kMaxFileSize})
                             .c_str());
            return 1;
        }
        if (result != HpglLoadResult::Ok) {
            std::fprintf(stderr, "%s: %s (result %d)\n", file.c_str(),
                         std::string(MessageText(Msg::PltOpenFailed, settings.Language)).c_str(), result);
            return 1;
        }
        const std::size_t before = doc.pages.size();
        reader.BuildPages(doc.pages, settings);
        reader.AddToReport(std::span(doc.pages).subspan(before));
        if (!doc.TakeImportedDrawing(before, ImportOptionsOf(settings))) {
            std::fprintf(stderr, "%s\n", DrawingTooLargeText(file, settings.Language).c_str());
            return 1;
        }
        ImportReport& report = reader.report;
        report.pages = static_cast<uint32_t>(doc.pages.size() > before ? doc.pages.size() - before : 0);
        if (report.Empty()) {
            std::map<std::string, uint32_t> held = report.met;
            held.insert(report.skipped.begin(), report.skipped.end());
            const std::string skipped = report.skipped.empty()
                                            ? std::string(MessageText(Msg::ReportNone, settings.Language))
                                            : CountList(report.skipped);
            std::fprintf(stderr, "%s\n%s\n",
                         FormatMessage(Msg::NoDrawingIn, settings.Language, {file, CountList(held)}).c_str(),
                         FormatMessage(Msg::ReportSkipped, settings.Language, {skipped}).c_str());
            return 1;
        }
        if (args.Flag("json"))
            reports += std::string(reports.empty() ? "" : ", ") + ReportJson(file, report);
        else
            reports += ImportReportBlock(file, report, kEnglish);
    }
    const TaskFileResult saved = doc.Save(*output);
    if (saved != TaskFileResult::Ok) {
        std::fprintf(stderr, "%s\n", TaskFileMessage(saved, *output, settings.Language).c_str());
        return 1;
    }
    if (args.Flag("json")) {
        std::printf("{\"files\": [%s]}\n", reports.c_str());
        return 0;
    }
    std::fputs(reports.c_str(), stdout);
    PrintTaskRows(doc, settings.Language);
    return 0;
}

} // namespace qv::cli
