#include "app/CSettings.h"

#include "app/CSetDisp.h"
#include "app/IniFile.h"
#include "app/MachineParams.h"

#include <array>
#include <filesystem>

namespace qv {

namespace {

constexpr int32_t kDefaultMachineIp = -637425472; // 192.168.1.218
constexpr int32_t kMinPageLength = 500;           // mm; shorter page lengths mean "no paging"

// Where one key of the settings file lives in memory. DataDir is the only text key.
template <typename FieldPtr>
struct KeyBinding {
    const char* key;
    FieldPtr field; // null for DataDir
    int32_t defaultValue;
};

// Every key in the order the file is written; `Settings` may be const (saving) or not (loading).
template <typename Settings, typename Disp, typename Int>
auto Bindings(Settings& s, Disp& disp, Int& ip)
{
    using FieldPtr = decltype(&s.Language);
    const auto f = [](auto& field) -> FieldPtr { return &field; };
    return std::to_array<KeyBinding<FieldPtr>>({
        {"DispSizeX", f(disp.DispSizeX), 1200},
        {"DispSizeY", f(disp.DispSizeY), 900},
        {"Language", f(s.Language), 0},
        {"SharpAngleCompensite", f(s.SharpAngleCompensite), 20},
        {"StartEndCompensite", f(s.StartEndCompensite), 20},
        {"FitDistHpgl", f(s.FitDistHpgl), 28},
        {"AutoDelPlt", f(s.AutoDelPlt), 0},
        {"AutoStartWork", f(s.AutoStartWork), 0},
        {"PlotOnly", f(s.PlotOnly), 0},
        {"AutoDelFinish", f(s.AutoDelFinish), 1},
        {"FPNoNeedConfirm", f(s.FPNoNeedConfirm), 1},
        {"DataDir", nullptr, 0},
        {"PltUnit", f(s.PltUnit), 0},
        {"PLTFilePageLen", f(s.PLTFilePageLen), 0},
        {"HCPenNumber", f(s.HCPenNumber), 2},
        {"AutoCleanSP", f(s.AutoCleanSP), 0},
        {"DisplayStartAndDir", f(s.DisplayStartAndDir), 1},
        {"DisplaySequence", f(s.DisplaySequence), 1},
        {"CutEffectOptmize", f(s.CutEffectOptmize), 1},
        {"AutoMoveToLeft", f(s.AutoMoveToLeft), 1},
        {"AutoMoveToBottom", f(s.AutoMoveToBottom), 1},
        {"MachineIP", f(ip), kDefaultMachineIp},
        {"ConnectViaNet", f(s.ConnectViaNet), 0},
        {"FindOutline", f(s.FindOutline), 0},
        {"RepeatCut", f(s.RepeatCut), 0},
        {"FCXXXX", f(s.FCXXXX), 33},
        {"FCYYYY", f(s.FCYYYY), -315},
        {"HCXXXX", f(s.HCXXXX), 60},
        {"HCYYYY", f(s.HCYYYY), -665},
        {"HpglDialect", f(s.HpglDialect), 0},
    });
}

} // namespace

void CSettings::Load(const std::string& exeDir, CSetDisp& disp, MachineSettings& machine)
{
    ExeDir = exeDir;
    if (ExeDir.empty() || ExeDir.back() != '/')
        ExeDir += '/';
    LastTaskPath = ExeDir + "lastv901.ctask";
    FontHzPath = ExeDir + "fon_hz.bin";
    FontEnPath = ExeDir + "fon_en.bin";

    const IniFile ini = IniFile::Load(FilePath());
    int32_t ip = 0;
    for (const auto& b : Bindings(*this, disp, ip)) {
        if (b.field)
            *b.field = ini.GetInt(kSection, b.key, b.defaultValue);
        else
            DataDir = ini.GetString(kSection, b.key).value_or("");
    }
    machine.SetPackedIp(ip);

    if (PLTFilePageLen < kMinPageLength)
        PLTFilePageLen = 0;
    Mirror(*this);
    DeriveNeedPanelConfirm();
}

void CSettings::Save(const CSetDisp& disp, const MachineSettings& machine) const
{
    IniFile ini = IniFile::Load(FilePath());
    const int32_t ip = machine.PackedIp();
    for (const auto& b : Bindings(*this, disp, ip)) {
        if (b.field)
            ini.SetInt(kSection, b.key, *b.field);
        else
            ini.SetString(kSection, b.key, MissingDataDir.empty() ? DataDir : MissingDataDir);
    }
    ini.SaveAtomically(FilePath());
}

std::string ExecutableDirectory()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::string dir = ec ? std::filesystem::current_path().string() : exe.parent_path().string();
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

} // namespace qv
