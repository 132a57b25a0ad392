// One writer process of the hot-folder storm: quorvane-storm-writer DATADIR STAGEDIR FIRST STEP COUNT SPACING_MS
// writes the storm's files FIRST, FIRST + STEP, ... below COUNT into DATADIR, one starting every SPACING_MS, each
// the way StormPlan says; files of several writings are under way at once. Exits 1 at the first failed call.
#include "StormPlan.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <queue>
#include <string>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using qv::test::StormWriting;

[[noreturn]] void Fail(const std::string& what)
{
    std::perror(what.c_str());
    std::exit(1);
}

struct File {
    int index = 0;
    std::string path;
    std::string stagePath;
    std::string bytes;
    std::size_t written = 0;
    int step = 0;
    int fd = -1;
    int lockFd = -1;
};

void Open(File& file, const std::string& path, int flags)
{
    file.fd = ::open(path.c_str(), flags, 0644);
    if (file.fd < 0)
        Fail("open " + path);
}

// Writes up to `n` more bytes of the file.
void Write(File& file, std::size_t n)
{
    n = std::min(n, file.bytes.size() - file.written);
    if (::write(file.fd, file.bytes.data() + file.written, n) != static_cast<ssize_t>(n))
        Fail("write " + file.path);
    file.written += n;
}

void Close(int& fd, const std::string& path)
{
    if (::close(fd) != 0)
        Fail("close " + path);
    fd = -1;
}

// Does the file's next step; the pause before the one after, or nothing when the file is done.
std::optional<std::chrono::milliseconds> Advance(File& file)
{
    const int step = file.step++;
    const std::size_t size = file.bytes.size();
    switch (qv::test::WritingOf(file.index)) {
    case StormWriting::Whole:
    case StormWriting::Empty:
    case StormWriting::Invalid:
        Open(file, file.path, O_WRONLY | O_CREAT | O_TRUNC);
        Write(file, size);
        Close(file.fd, file.path);
        return std::nullopt;
    case StormWriting::Slow:
        if (step == 0)
            Open(file, file.path, O_WRONLY | O_CREAT | O_TRUNC);
        Write(file, (size + 7) / 8);
        if (file.written < size)
            return 40ms;
        Close(file.fd, file.path);
        return std::nullopt;
    case StormWriting::Paused:
        if (step == 0) {
            Open(file, file.path, O_WRONLY | O_CREAT | O_TRUNC);
            Write(file, size / 2);
            return 1200ms;
        }
        Write(file, size);
        Close(file.fd, file.path);
        return std::nullopt;
    case StormWriting::Locked:
        if (step == 0) {
            file.lockFd = ::open(file.path.c_str(), O_RDONLY | O_CREAT, 0644);
            if (file.lockFd < 0 || ::flock(file.lockFd, LOCK_EX) != 0)
                Fail("lock " + file.path);
            Open(file, file.path, O_WRONLY | O_TRUNC);
            Write(file, size);
            Close(file.fd, file.path);
            return 1500ms;
        }
        Close(file.lockFd, file.path);
        return std::nullopt;
    case StormWriting::RenamedIn:
        if (step == 0) {
            Open(file, file.stagePath, O_WRONLY | O_CREAT | O_TRUNC);
            Write(file, size / 2);
            return 100ms;
        }
        Write(file, size);
        Close(file.fd, file.stagePath);
        if (::rename(file.stagePath.c_str(), file.path.c_str()) != 0)
            Fail("rename " + file.stagePath);
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 7) {
        std::fprintf(stderr, "usage: quorvane-storm-writer DATADIR STAGEDIR FIRST STEP COUNT SPACING_MS\n");
        return 2;
    }
    const std::string dataDir = argv[1];
    const std::string stageDir = argv[2];
    const int first = std::atoi(argv[3]);
    const int step = std::max(1, std::atoi(argv[4]));
    const int count = std::atoi(argv[5]);
    const std::chrono::milliseconds spacing{std::atoi(argv[6])};

    std::vector<File> files;
    for (int index = first; index < count; index += step) {
        const std::string name = qv::test::StormName(index);
        files.push_back({index, dataDir + name, stageDir + name, qv::test::StormBytes(index)});
    }
    using Due = std::pair<Clock::time_point, std::size_t>;
    std::priority_queue<Due, std::vector<Due>, std::greater<>> due;
    const Clock::time_point start = Clock::now();
    for (std::size_t i = 0; i < files.size(); ++i)
        due.emplace(start + spacing * static_cast<int>(i), i);
    while (!due.empty()) {
        const auto [when, i] = due.top();
        due.pop();
        std::this_thread::sleep_until(when);
        if (const auto pause = Advance(files[i]))
            due.emplace(Clock::now() + *pause, i);
    }
    std::printf("wrote %zu files\n", files.size());
    return 0;
}
