#include "app/MachineParamsFile.h"

#include <algorithm>

namespace qv {

std::optional<MachineParamsFile> MachineParamsFile::Parse(std::string_view bytes)
{
    if (bytes.size() != kSize)
        return std::nullopt;
    MachineParamsFile file;
    std::copy_n(bytes.begin(), file.advanced.size(), file.advanced.begin());
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(file.advanced.size()), file.settings.size(),
                file.settings.begin());
    return file;
}

std::string MachineParamsFile::Serialize() const
{
    std::string bytes(advanced.begin(), advanced.end());
    bytes.append(settings.begin(), settings.end());
    return bytes;
}

MachineParams MachineParamsFile::Decode() const
{
    MachineParams params;
    params.advanced.Decode(advanced);
    params.settings.Decode(settings);
    return params;
}

} // namespace qv
