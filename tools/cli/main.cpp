#include "Commands.h"
#include "Usage.h"

#include "Args.h"

#include "app/BuildInfo.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Subcommand {
    std::string_view name;
    int (*run)(const std::vector<std::string>&);
};

constexpr Subcommand kSubcommands[] = {
    {"settings", qv::cli::RunSettings}, {"machine", qv::cli::RunMachine}, {"import", qv::cli::RunImport},
    {"info", qv::cli::RunInfo},         {"edit", qv::cli::RunEdit},       {"view", qv::cli::RunView},
    {"export", qv::cli::RunExport},     {"job", qv::cli::RunJob},         {"preview", qv::cli::RunPreview},
    {"send", qv::cli::RunSend},         {"station", qv::cli::RunStation},
};

int Help(std::string_view command)
{
    std::fputs(qv::cli::UsageText(command).c_str(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty())
        return qv::cli::WrongWords("");
    const std::string_view first = words.front();
    if (first == "-h" || first == "--help")
        return Help("");
    if (first == "--version") {
        std::printf("quorvane-cli %s (%s)\n", qv::kVersion, qv::kReleaseDate);
        return 0;
    }
    for (const Subcommand& s : kSubcommands) {
        if (s.name != first)
            continue;
        const std::vector<std::string> rest(words.begin() + 1, words.end());
        return qv::cli::AsksForHelp(rest) ? Help(s.name) : s.run(rest);
    }
    std::fprintf(stderr, "quorvane-cli: no command \"%s\"\n", words.front().c_str());
    return qv::cli::WrongWords("");
}
