#include "Args.h"
#include "Commands.h"
#include "PageJob.h"
#include "Usage.h"

#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/MessageCatalog.h"
#include "tasks/CQuorvaneDoc.h"
#include "view/PltExportForm.h"

#include <cstdio>
#include <variant>

namespace qv::cli {

// quorvane-cli export FILE.ctask -o|--output OUT.plt [--scale-x P] [--scale-y P] [--settings DIR]
// Writes the whole task list as one HP-GL file, as the File menu's export does: the scales in percent
// (default 100), the half-cut pen of DIR/setting.ini (default: the program's own), ".plt" appended to a name
// without it. Prints the path written.
int RunExport(const std::vector<std::string>& words)
{
    const Args args(words, {"output", "scale-x", "scale-y", "settings"});
    const std::optional<std::string> output = args.Value("output");
    if (!args.error().empty() || args.positional().size() != 1 || !output)
        return WrongWords("export", args.error());
    CSettings settings;
    MachineParams machine;
    if (const int status = LoadSettingsOption(args.Value("settings"), settings, machine))
        return status;
    const std::string x(args.Value("scale-x").value_or(std::string(kPltExportInitialText)));
    const std::string y(args.Value("scale-y").value_or(std::string(kPltExportInitialText)));
    const auto scale = CheckPltExportForm(x, y, settings.Language);
    if (const auto* refusal = std::get_if<FieldRefusal>(&scale)) {
        std::fprintf(stderr, "--scale-%s: %s\n", refusal->control == kPltExportScaleX ? "x" : "y",
                     refusal->message.c_str());
        return 2;
    }
    settings.exportScaleX = std::get<PltExportScale>(scale).x;
    settings.exportScaleY = std::get<PltExportScale>(scale).y;

    const std::string& path = args.positional().front();
    CQuorvaneDoc doc;
    const TaskFileResult opened = doc.Open(path);
    if (opened != TaskFileResult::Ok) {
        std::fprintf(stderr, "%s\n", TaskFileMessage(opened, path, settings.Language).c_str());
        return 1;
    }
    const std::string target = PltExportFileName(*output);
    if (!doc.ExportPlt(target, PltExportOptionsOf(settings))) {
        std::fprintf(stderr, "%s\n", FormatMessage(Msg::PltExportFailed, settings.Language, {target}).c_str());
        return 1;
    }
    std::printf("%s\n", target.c_str());
    return 0;
}

} // namespace qv::cli
