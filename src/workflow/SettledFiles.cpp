#include "workflow/SettledFiles.h"

namespace qv {

bool SettledFiles::Settled(const std::string& path, const FileIdentity& now)
{
    auto [it, fresh] = seen_.try_emplace(path, Seen{now, poll_});
    const bool settled = !fresh && it->second.poll + 1 == poll_ && it->second.identity == now;
    it->second = Seen{now, poll_};
    return settled;
}

void SettledFiles::EndPoll()
{
    std::erase_if(seen_, [this](const auto& entry) { return entry.second.poll != poll_; });
}

} // namespace qv
