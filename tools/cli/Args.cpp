#include "Args.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace qv::cli {

namespace {

// The declared name that `spelling` stands for, or empty.
std::optional<std::string> Declared(const std::vector<std::string>& names, const std::string& spelling)
{
    for (const std::string& entry : names) {
        std::size_t from = 0;
        const std::string name = entry.substr(0, entry.find('|'));
        while (from <= entry.size()) {
            const std::size_t bar = entry.find('|', from);
            if (entry.compare(from, bar == std::string::npos ? std::string::npos : bar - from, spelling) == 0)
                return name;
            if (bar == std::string::npos)
                break;
            from = bar + 1;
        }
    }
    return std::nullopt;
}

} // namespace

Args::Args(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions,
           const std::vector<std::string>& switches)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        const bool shortOutput = w == "-o" && Declared(valueOptions, "output");
        if (!shortOutput && (w.size() < 3 || w.compare(0, 2, "--") != 0)) {
            positional_.push_back(w);
            continue;
        }
        const std::string spelling = shortOutput ? "output" : w.substr(2);
        if (const auto name = Declared(valueOptions, spelling)) {
            if (i + 1 < words.size())
                options_.emplace_back(*name, words[++i]);
            else if (error_.empty())
                error_ = "option --" + spelling + " needs a value";
        } else if (const auto flag = Declared(switches, spelling)) {
            flags_.push_back(*flag);
        } else if (error_.empty()) {
            error_ = "unknown option --" + spelling;
        }
    }
}

std::optional<std::string> Args::Value(const std::string& name) const
{
    for (const auto& [n, v] : options_) {
        if (n == name)
            return v;
    }
    return std::nullopt;
}

std::vector<std::string> Args::Values(const std::string& name) const
{
    std::vector<std::string> values;
    for (const auto& [n, v] : options_) {
        if (n == name)
            values.push_back(v);
    }
    return values;
}

bool Args::Flag(const std::string& name) const
{
    return std::find(flags_.begin(), flags_.end(), name) != flags_.end();
}

std::optional<int> ParseInt(const std::string& text)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return v;
}

bool AsksForHelp(const std::vector<std::string>& words)
{
    return std::any_of(words.begin(), words.end(), [](const std::string& w) { return w == "-h" || w == "--help"; });
}

} // namespace qv::cli
