#include "Args.h"
#include "Commands.h"
#include "CurveList.h"
#include "PageJob.h"
#include "Usage.h"

#include "app/CSettings.h"
#include "app/InvalidArgument.h"
#include "app/MachineParams.h"
#include "geometry/ViewCommands.h"
#include "model/CurveKind.h"
#include "tasks/CQuorvaneDoc.h"

#include <cstdio>
#include <optional>
#include <string>

namespace qv::cli {

namespace {

void PrintPage(const COnePage& page, std::size_t position)
{
    std::size_t counts[4] = {};
    std::size_t points = 0;
    for (const auto& c : page.curves) {
        if (c->kind >= 0 && c->kind <= 3)
            ++counts[c->kind];
        points += c->points.size();
    }
    std::printf("page %zu: %zu curves (%zu plot, %zu pen 0, %zu half cut, %zu full cut), %zu points\n", position,
                page.curves.size(), counts[CurveKind::Plot], counts[CurveKind::PenZero], counts[CurveKind::HalfCut],
                counts[CurveKind::FullCut], points);
}

} // namespace

// Applies drawing-view commands to one page of a task file, as the operator would with the selection given,
// and saves the result. Nothing is written when an argument or a command fails.
int RunEdit(const std::vector<std::string>& words)
{
    const Args args(words, {"output", "page", "curves", "settings"});
    const auto output = args.Value("output");
    const auto pageText = args.Value("page");
    if (!args.error().empty() || args.positional().size() < 2 || !output || !pageText)
        return WrongWords("edit", args.error());

    std::vector<int32_t> commands;
    for (std::size_t i = 1; i < args.positional().size(); ++i) {
        const auto command = FindViewCommand(args.positional()[i]);
        if (!command) {
            std::fprintf(stderr, "unknown command: %s\n", args.positional()[i].c_str());
            return WrongWords("edit", args.error());
        }
        commands.push_back(*command);
    }

    // Without --settings the edit runs on the default settings, not on whatever lies beside the program.
    CSettings settings;
    MachineParams machine;
    if (const auto dir = args.Value("settings"))
        if (const int status = LoadSettingsOption(dir, settings, machine))
            return status;
    const auto position = PositiveNumber(*pageText);
    if (!position)
        return WrongWords("edit", "--page takes a page number from 1");
    const std::string& input = args.positional().front();
    CQuorvaneDoc doc;
    const TaskFileResult opened = doc.Open(input);
    if (opened != TaskFileResult::Ok) {
        std::fprintf(stderr, "%s\n", TaskFileMessage(opened, input, settings.Language).c_str());
        return 1;
    }
    if (*position > doc.pages.size()) {
        std::fprintf(stderr, "no page %s: the task list holds %zu pages\n", pageText->c_str(), doc.pages.size());
        return 1;
    }
    COnePage& page = *doc.pages[*position - 1];

    const auto curvesText = args.Value("curves");
    for (auto& curve : page.curves)
        curve->selected = curvesText ? 0 : 1;
    if (curvesText && !SelectListedCurves(page, *curvesText))
        return 1;

    try {
        for (const int32_t command : commands)
            ApplyViewCommand(page, command, settings.FitDistHpgl);
    } catch (const InvalidArgument& e) {
        std::fprintf(stderr, "the page cannot be edited: %s\n", e.what());
        return 1;
    }
    const TaskFileResult saved = doc.Save(*output);
    if (saved != TaskFileResult::Ok) {
        std::fprintf(stderr, "%s\n", TaskFileMessage(saved, *output, settings.Language).c_str());
        return 1;
    }
    PrintPage(page, *position);
    return 0;
}

} // namespace qv::cli
