#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace qv::test {

// A program run by a test: its standard output and standard error come back through one pipe, line by line.
// The destructor kills (SIGKILL) and reaps a child that still runs.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& args);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    // The next line, waiting at most `timeout`; empty at the end of the output or after the time-out.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
    // Reads lines until one contains `text` (returned) or the time-out passes; the lines read are kept.
    std::optional<std::string> WaitFor(const std::string& text, std::chrono::milliseconds timeout);
    void Signal(int signal);
    // Waits for the end; the exit status, or 128 + the signal that ended it.
    int Wait();
    // Every line read so far, for failure messages.
    std::string Transcript() const;

private:
    int pid_ = -1;
    int fd_ = -1;
    std::string buffer_;
    std::vector<std::string> lines_;
    bool ended_ = false;
    int status_ = -1;
};

} // namespace qv::test
