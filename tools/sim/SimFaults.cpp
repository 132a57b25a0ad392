#include "SimFaults.h"

#include <charconv>

namespace qv::sim {

namespace {

std::optional<int> Number(const std::string& s)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty() || v < 0)
        return std::nullopt;
    return v;
}

// Splits off the part of `rest` after the last `mark`, if present.
std::optional<std::string> TakeSuffix(std::string& rest, char mark)
{
    const auto at = rest.rfind(mark);
    if (at == std::string::npos)
        return std::nullopt;
    std::string suffix = rest.substr(at + 1);
    rest.erase(at);
    return suffix;
}

} // namespace

std::optional<SimFault> SimFault::Parse(const std::string& text)
{
    std::string rest = text;
    SimFault f;
    if (const auto count = TakeSuffix(rest, 'x')) {
        const auto n = Number(*count);
        if (!n)
            return std::nullopt;
        f.count = *n;
    }
    if (const auto skip = TakeSuffix(rest, '+')) {
        const auto n = Number(*skip);
        if (!n)
            return std::nullopt;
        f.skip = *n;
    }
    if (const auto target = TakeSuffix(rest, '@')) {
        if (*target == "bulk") {
            f.target = kBulkTarget;
        } else {
            const auto n = Number(*target);
            if (!n || *n > 255)
                return std::nullopt;
            f.target = *n;
        }
    }
    if (rest == "no-ack") {
        f.kind = FaultKind::NoAck;
    } else if (rest == "short-reply") {
        f.kind = FaultKind::ShortReply;
    } else if (rest == "bad-first-byte") {
        f.kind = FaultKind::BadFirstByte;
    } else if (rest.rfind("status", 0) == 0 && rest.size() > 6) {
        const auto n = Number(rest.substr(6));
        if (!n || *n > 255)
            return std::nullopt;
        f.kind = FaultKind::Status;
        f.status = static_cast<uint8_t>(*n);
    } else if (rest == "close") {
        f.kind = FaultKind::Close;
    } else if (rest == "silent" && text == rest) {
        // Silence is every exchange, always: a target, a skip or a count would be thrown away unseen.
        f = SimFault{};
    } else {
        return std::nullopt;
    }
    return f;
}

std::optional<SimFault> FaultPlan::Strike(int target)
{
    for (SimFault& f : faults_) {
        if (f.target != SimFault::kAnyTarget && f.target != target)
            continue;
        if (f.count == 0)
            continue;
        if (f.skip > 0) {
            --f.skip;
            continue;
        }
        if (f.count > 0)
            --f.count;
        return f;
    }
    return std::nullopt;
}

} // namespace qv::sim
