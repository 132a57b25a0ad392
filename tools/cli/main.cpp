#include "Commands.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Subcommand {
    std::string_view name;
    int (*run)(const std::vector<std::string>&);
    std::string_view summary;
};

constexpr Subcommand kSubcommands[] = {
    {"settings", qv::cli::RunSettings, "show the options and the machine parameters the program starts with"},
    {"machine", qv::cli::RunMachine, "handshake with the machine: its status, a jog, its parameter records"},
    {"import", qv::cli::RunImport, "read HP-GL drawings into a task file and list its pages"},
    {"info", qv::cli::RunInfo, "list the pages of a task file (--json: with their curves)"},
    {"edit", qv::cli::RunEdit, "apply drawing-view commands to a page of a task file"},
    {"station", qv::cli::RunStation, "run the output centre without a window: data directory, dispatch, jobs"},
    {"job", qv::cli::RunJob, "write a page's job as it goes on the wire, without a machine"},
    {"preview", qv::cli::RunPreview, "what the machine would print and cut of a page: PNG and SVG"},
    {"send", qv::cli::RunSend, "output the Auto pages (or one page) of a task file to the machine"},
};

int Usage()
{
    std::fprintf(stderr, "usage: quorvane-cli COMMAND [ARGS...]\n\ncommands:\n");
    for (const Subcommand& s : kSubcommands)
        std::fprintf(stderr, "  %-10.*s %.*s\n", static_cast<int>(s.name.size()), s.name.data(),
                     static_cast<int>(s.summary.size()), s.summary.data());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string_view name = argv[1];
    for (const Subcommand& s : kSubcommands) {
        if (s.name == name)
            return s.run(std::vector<std::string>(argv + 2, argv + argc));
    }
    return Usage();
}
