#pragma once

#include "app/AppOptions.h"
#include "app/SharedFlags.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace qv {

struct CSetDisp;
struct MachineSettings;

// The software options and the system's own paths; one object for the process. The option fields are those
// of AppOptions, which `Options()` gives as one value to copy; only the thread that owns the task list reads
// and writes them. Background threads read the SharedFlags, which SetOptions keeps in step.
class CSettings : public AppOptions, public SharedFlags {
public:
    static constexpr const char* kFileName = "setting.ini";
    static constexpr const char* kSection = "Para";

    // Paths. ExeDir ends in '/'.
    std::string DataDir;
    // A data directory of setting.ini that did not exist at the start (a share not mounted yet): the program
    // works in the fallback meanwhile, but the file keeps naming this one until another is chosen.
    std::string MissingDataDir;
    std::string ExeDir;
    std::string LastTaskPath;
    std::string FontHzPath;
    std::string FontEnPath;

    // Scale of the PLT export in per mille; not persisted.
    int32_t exportScaleX = 1000;
    int32_t exportScaleY = 1000;

    CSettings() = default;
    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;

    // Computes the paths from `exeDir`, reads every key of "setting.ini" there with its default (a missing
    // file gives all defaults), fills the display sizes and the machine address, then normalises
    // PLTFilePageLen and derives NeedPanelConfirm.
    void Load(const std::string& exeDir, CSetDisp& disp, MachineSettings& machine);
    // Writes every key to ExeDir + "setting.ini", keeping the places of keys already in the file. The file
    // is replaced atomically; a failure leaves the old file and is not reported.
    void Save(const CSetDisp& disp, const MachineSettings& machine) const;

    // After reading and after the settings dialog: the first automatic page waits for the panel's
    // confirm key unless FPNoNeedConfirm is exactly 1.
    void DeriveNeedPanelConfirm() { NeedPanelConfirm = FPNoNeedConfirm == 1 ? 0 : 1; }

    std::string FilePath() const { return ExeDir + kFileName; }
    const AppOptions& Options() const { return *this; }
    // Every option at once, with the mirror the background threads read. NeedPanelConfirm is left alone:
    // whether a change re-derives it is the caller's rule.
    void SetOptions(const AppOptions& options)
    {
        static_cast<AppOptions&>(*this) = options;
        Mirror(options);
    }
};

// The directory of the running executable, ending in '/'.
std::string ExecutableDirectory();

} // namespace qv
