#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qv::cli {

// The words after a subcommand: positional words, "--name value" options and "--flag" switches. Which
// names take a value is declared by the subcommand, so "--json file" and "--dir file" parse differently.
// Where "output" takes a value, "-o" is its short form.
class Args {
public:
    Args(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions);

    const std::vector<std::string>& positional() const { return positional_; }
    std::optional<std::string> Value(const std::string& name) const;
    // Every value of an option given more than once, in order.
    std::vector<std::string> Values(const std::string& name) const;
    bool Flag(const std::string& name) const;
    // Set when a value option had no value.
    const std::string& error() const { return error_; }

private:
    std::vector<std::string> positional_;
    std::vector<std::pair<std::string, std::string>> options_;
    std::vector<std::string> flags_;
    std::string error_;
};

// A whole decimal integer (optional sign); empty for anything else.
std::optional<int> ParseInt(const std::string& text);

} // namespace qv::cli
