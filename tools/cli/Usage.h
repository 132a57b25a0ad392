#pragma once

#include <string>
#include <string_view>

namespace qv::cli {

// The usage of `quorvane-cli` (empty name) or of one of its subcommands: the one text behind `--help` (on
// standard output), the usage shown for words that do not fit (on standard error) and the manual page.
std::string UsageText(std::string_view command);

// For words that do not fit: what is wrong with them (when known) and the usage on standard error, and the exit
// status 2.
int WrongWords(std::string_view command, std::string_view why = {});

} // namespace qv::cli
