#include "Args.h"
#include "Commands.h"
#include "TaskRows.h"
#include "Usage.h"

#include "JobOutput.h"

#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "tasks/CQuorvaneDoc.h"
#include "tasks/TaskListRow.h"

#include <cstdio>
#include <string>

namespace qv::cli {

namespace {

std::string JsonBounds(int32_t minX, int32_t minY, int32_t maxX, int32_t maxY)
{
    return "{\"minX\": " + std::to_string(minX) + ", \"minY\": " + std::to_string(minY) +
           ", \"maxX\": " + std::to_string(maxX) + ", \"maxY\": " + std::to_string(maxY) + "}";
}

// Every page with its stored fields and each curve's kind, line style, point count and bounds (measured from
// its points; null for a curve without points).
void PrintJson(const std::string& path, CQuorvaneDoc& doc, int32_t language)
{
    std::string out = "{\n  \"file\": " + sim::JsonString(path) + ",\n  \"pages\": [";
    for (std::size_t i = 0; i < doc.pages.size(); ++i) {
        COnePage& page = *doc.pages[i];
        out += i == 0 ? "\n" : ",\n";
        out += "    {\"number\": " + std::to_string(i + 1) + ", \"state\": " + std::to_string(page.state) +
               ", \"stateText\": " + sim::JsonString(PageStateText(page.state, language)) +
               ", \"fileName\": " + sim::JsonString(page.fileName) +
               ", \"pageNumber\": " + std::to_string(page.pageNumber) +
               ", \"fileTime\": " + std::to_string(page.fileTime) +
               ", \"bounds\": " + JsonBounds(page.minX, page.minY, page.maxX, page.maxY) + ",\n     \"curves\": [";
        for (std::size_t k = 0; k < page.curves.size(); ++k) {
            CCurve& curve = *page.curves[k];
            out += k == 0 ? "\n" : ",\n";
            out += "       {\"kind\": " + std::to_string(curve.kind) +
                   ", \"lineStyle\": " + std::to_string(curve.lineStyle) +
                   ", \"points\": " + std::to_string(curve.points.size()) + ", \"bounds\": ";
            if (curve.points.empty()) {
                out += "null}";
            } else {
                curve.ComputeBounds();
                out += JsonBounds(curve.minX, curve.minY, curve.maxX, curve.maxY) + "}";
            }
        }
        out += page.curves.empty() ? "]}" : "\n     ]}";
    }
    out += doc.pages.empty() ? "]\n}\n" : "\n  ]\n}\n";
    std::fputs(out.c_str(), stdout);
}

} // namespace

// quorvane-cli info FILE.ctask [--json] [--settings DIR]
// Lists the pages of a task file as the task list shows them (in the language of DIR/setting.ini, default
// Chinese); --json gives every page with its curves.
int RunInfo(const std::vector<std::string>& words)
{
    const Args args(words, {"settings"}, {"json"});
    if (!args.error().empty() || args.positional().size() != 1) {
        return WrongWords("info", args.error());
    }
    int32_t language = 0;
    if (const auto dir = args.Value("settings")) {
        CSettings settings;
        CSetDisp disp;
        MachineParams machine;
        settings.Load(*dir, disp, machine.settings);
        language = settings.Language;
    }
    const std::string& path = args.positional().front();
    CQuorvaneDoc doc;
    const TaskFileResult result = doc.Open(path);
    if (result != TaskFileResult::Ok) {
        std::fprintf(stderr, "%s\n", TaskFileMessage(result, path, language).c_str());
        return 1;
    }
    if (args.Flag("json"))
        PrintJson(path, doc, language);
    else
        PrintTaskRows(doc, language);
    return 0;
}

} // namespace qv::cli
