#include "workflow/DataDirectory.h"

#include "app/CSettings.h"

#include <filesystem>

namespace qv {

void RepairDataDir(CSettings& settings)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::string& dir = settings.DataDir;
    const bool longEnough = dir.size() >= 3;
    const bool exists = longEnough && fs::exists(dir, ec);
    if (exists && !fs::equivalent(dir, settings.ExeDir, ec) && !ec)
        return;
    // Only a directory that is merely absent is kept for later; an empty or too short one, or the
    // program's own directory, is replaced for good.
    if (longEnough && !exists && !ec)
        settings.MissingDataDir = dir;
    settings.DataDir = settings.ExeDir + "plot/";
    fs::create_directory(settings.DataDir, ec);
}

} // namespace qv
