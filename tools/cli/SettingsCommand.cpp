#include "Args.h"
#include "Commands.h"
#include "Usage.h"

#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"

#include <cstdio>

namespace qv::cli {

// quorvane-cli settings [--settings DIR] [--write]
// Shows the options read from DIR/setting.ini (default: next to the program) and the machine parameters the
// program starts with; --write stores the file back with every key.
int RunSettings(const std::vector<std::string>& words)
{
    const Args args(words, {"settings|dir"}, {"write"});
    if (!args.error().empty() || !args.positional().empty())
        return WrongWords("settings", args.error());
    CSettings settings;
    CSetDisp disp;
    MachineParams machine;
    settings.Load(args.Value("settings").value_or(ExecutableDirectory()), disp, machine.settings);

    const auto& ip = machine.settings.machineIp;
    std::printf("settings file     %s\n", settings.FilePath().c_str());
    std::printf("data directory    %s\n", settings.DataDir.empty() ? "(not set)" : settings.DataDir.c_str());
    std::printf("language          %s\n", settings.Language != 0 ? "English" : "Chinese");
    std::printf("display area      %d x %d mm\n", disp.DispSizeX, disp.DispSizeY);
    std::printf("page length       %d mm%s\n", settings.PLTFilePageLen,
                settings.PLTFilePageLen == 0 ? " (no paging)" : "");
    std::printf("half-cut pen      %d\n", settings.HCPenNumber);
    std::printf("point spacing     %.3f mm\n", settings.FitDistHpgl / 40.0);
    std::printf("machine link      %s, %u.%u.%u.%u\n", settings.ConnectViaNet ? "Ethernet" : "USB", ip[0], ip[1], ip[2],
                ip[3]);
    std::printf("pulses per mm     X %.3f, Y %.3f\n", machine.advanced.xPulsesPerMm, machine.advanced.yPulsesPerMm);
    const WorkingAreaLimits limits = machine.Limits();
    std::printf("working area      X %.0f, Y print %.0f, full cut %.0f, half cut %.0f pulses\n", limits.x,
                limits.yPrint, limits.yFullCut, limits.yHalfCut);
    if (args.Flag("write"))
        settings.Save(disp, machine.settings);
    return 0;
}

} // namespace qv::cli
