#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace qv::test {

struct CliRun {
    int status = -1;
    std::string out;
};

// quorvane-cli with the words given (each quoted), its standard output and exit status.
inline CliRun Cli(const std::vector<std::string>& words)
{
    std::string command = "'" QV_CLI "'";
    for (const std::string& w : words)
        command += " '" + w + "'";
    CliRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace qv::test
