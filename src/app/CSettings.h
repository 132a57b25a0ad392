#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace qv {

struct CSetDisp;
struct MachineSettings;

// The software options and the system's own paths; one object for the process. Option fields are spelled as
// their keys in "setting.ini" and hold the units the keys give (1/40 mm, mm, 0.1 mm or flags).
class CSettings {
public:
    static constexpr const char* kFileName = "setting.ini";
    static constexpr const char* kSection = "Para";

    // Paths. ExeDir ends in '/'.
    std::string DataDir;
    std::string ExeDir;
    std::string LastTaskPath;
    std::string FontHzPath;
    std::string FontEnPath;

    int32_t Language = 0;
    int32_t SharpAngleCompensite = 20;
    int32_t StartEndCompensite = 20;
    int32_t FitDistHpgl = 28;
    int32_t AutoDelPlt = 0;
    int32_t AutoStartWork = 0;
    int32_t PlotOnly = 0;
    int32_t AutoDelFinish = 1;
    int32_t FPNoNeedConfirm = 1;
    int32_t PltUnit = 0;
    int32_t PLTFilePageLen = 0;
    int32_t HCPenNumber = 2;
    int32_t AutoCleanSP = 0;
    int32_t DisplayStartAndDir = 1;
    int32_t DisplaySequence = 1;
    int32_t CutEffectOptmize = 1;
    int32_t AutoMoveToLeft = 1;
    int32_t AutoMoveToBottom = 1;
    int32_t ConnectViaNet = 0;
    int32_t FindOutline = 0;
    int32_t RepeatCut = 0;
    int32_t FCXXXX = 33;
    int32_t FCYYYY = -315;
    int32_t HCXXXX = 60;
    int32_t HCYYYY = -665;

    // Run-time flags, shared with the background threads.
    std::atomic<int32_t> AppStopping{0};
    std::atomic<int32_t> NeedPanelConfirm{1};

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
};

// The directory of the running executable, ending in '/'.
std::string ExecutableDirectory();

} // namespace qv
