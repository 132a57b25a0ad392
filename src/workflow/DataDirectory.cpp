#include "workflow/DataDirectory.h"

#include "app/CSettings.h"

#include <filesystem>

namespace qv {

void RepairDataDir(CSettings& settings)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::string& dir = settings.DataDir;
    const bool usable = dir.size() >= 3 && fs::exists(dir, ec) && !fs::equivalent(dir, settings.ExeDir, ec);
    if (usable && !ec)
        return;
    // Only a directory that is merely absent is kept for later; an empty or too short one, or the
    // program's own directory, is replaced for good.
    if (dir.size() >= 3 && !ec && !fs::exists(dir, ec) && !ec)
        settings.MissingDataDir = dir;
    settings.DataDir = settings.ExeDir + "plot/";
    fs::create_directory(settings.DataDir, ec);
}

} // namespace qv
