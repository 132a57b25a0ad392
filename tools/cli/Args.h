#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qv::cli {

// The words after a subcommand: positional words, "--name value" options and "--flag" switches. The
// subcommand declares which names take a value and which are switches, so "--json file" and "--dir file"
// parse differently and a name it does not know is an error, not a switch silently ignored. A declared name
// may carry old spellings after '|' ("settings|dir" also takes "--dir"). Where "output" takes a value, "-o" is
// its short form.
class Args {
public:
    Args(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions,
         const std::vector<std::string>& switches = {});

    const std::vector<std::string>& positional() const { return positional_; }
    std::optional<std::string> Value(const std::string& name) const;
    // Every value of an option given more than once, in order.
    std::vector<std::string> Values(const std::string& name) const;
    bool Flag(const std::string& name) const;
    // Every value option as (name, value), in the order given.
    const std::vector<std::pair<std::string, std::string>>& Options() const { return options_; }
    // Set when a value option had no value or a name is not the subcommand's.
    const std::string& error() const { return error_; }

private:
    std::vector<std::string> positional_;
    std::vector<std::pair<std::string, std::string>> options_;
    std::vector<std::string> flags_;
    std::string error_;
};

// A whole decimal integer (optional sign); empty for anything else.
std::optional<int> ParseInt(const std::string& text);

// "-h" or "--help" among the words.
bool AsksForHelp(const std::vector<std::string>& words);

} // namespace qv::cli
