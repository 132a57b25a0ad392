#include "app/DataPlace.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace qv {

namespace {

std::string WithSlash(std::string dir)
{
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::optional<std::string> Environment(const char* name)
{
    const char* value = std::getenv(name);
    if (!value)
        return std::nullopt;
    return std::string(value);
}

} // namespace

DataPlace ChooseDataPlace(const DataPlaceInputs& inputs)
{
    if (inputs.writable(inputs.exeDir))
        return {WithSlash(inputs.exeDir), true, {}};
    std::string base;
    if (inputs.xdgDataHome && !inputs.xdgDataHome->empty() && inputs.xdgDataHome->front() == '/')
        base = WithSlash(*inputs.xdgDataHome);
    else if (inputs.home && !inputs.home->empty() && inputs.home->front() == '/')
        base = WithSlash(*inputs.home) + ".local/share/";
    else
        return {{}, false, "the program's directory " + inputs.exeDir + " is not writable and HOME is not set"};
    const std::string dir = base + "quorvane/";
    if (!inputs.makeDirectories(dir) || !inputs.writable(dir))
        return {{}, false, "the program's directory " + inputs.exeDir + " is not writable, nor is " + dir};
    return {dir, false, {}};
}

DataPlace ChooseDataPlace(const std::string& exeDir)
{
    return ChooseDataPlace({
        exeDir,
        Environment("XDG_DATA_HOME"),
        Environment("HOME"),
        [](const std::string& dir) { return access(dir.c_str(), W_OK | X_OK) == 0; },
        [](const std::string& dir) {
            std::error_code ec;
            std::filesystem::create_directories(dir, ec);
            return std::filesystem::is_directory(dir, ec);
        },
    });
}

} // namespace qv
