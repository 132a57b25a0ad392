#include "workflow/SettledFiles.h"

namespace qv {

void SettledFiles::Apply(const DirectoryEvents& events)
{
    if (events.fresh)
        finished_.clear();
    for (const DirectoryEvent& event : events.events) {
        if (event.kind == DirectoryEvent::Kind::Finished)
            finished_.insert(event.name);
        else
            finished_.erase(event.name);
    }
}

void SettledFiles::BeginPoll(Clock::time_point now)
{
    ++poll_;
    now_ = now;
}

SettledFiles::Verdict SettledFiles::Check(const std::string& name, const FileIdentity& identity)
{
    auto [it, fresh] = seen_.try_emplace(name, Seen{identity, poll_, now_});
    Seen& seen = it->second;
    const bool unchanged = !fresh && seen.poll + 1 == poll_ && seen.identity == identity;
    if (!unchanged)
        seen.since = now_;
    seen.identity = identity;
    seen.poll = poll_;
    if (!unchanged)
        return Verdict::Wait;
    if (finished_.contains(name))
        return Verdict::Take;
    return now_ - seen.since >= kQuietTime ? Verdict::TakeUnlessHeld : Verdict::Wait;
}

void SettledFiles::EndPoll()
{
    std::erase_if(seen_, [this](const auto& entry) { return entry.second.poll != poll_; });
    std::erase_if(finished_, [this](const std::string& name) { return !seen_.contains(name); });
}

} // namespace qv
