#include "Args.h"

#include <algorithm>
#include <charconv>

namespace qv::cli {

Args::Args(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions)
{
    const auto takesValue = [&](const std::string& name) {
        return std::find(valueOptions.begin(), valueOptions.end(), name) != valueOptions.end();
    };
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        const bool shortOutput = w == "-o" && takesValue("output");
        if (!shortOutput && (w.size() < 3 || w.compare(0, 2, "--") != 0)) {
            positional_.push_back(w);
            continue;
        }
        const std::string name = shortOutput ? "output" : w.substr(2);
        if (!takesValue(name)) {
            flags_.push_back(name);
        } else if (i + 1 < words.size()) {
            options_.emplace_back(name, words[++i]);
        } else {
            error_ = "option --" + name + " needs a value";
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

} // namespace qv::cli
