#include "app/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

namespace {

bool WriteAll(int fd, std::span<const char> bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes = bytes.subspan(static_cast<size_t>(n));
    }
    return true;
}

std::string DirectoryOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates a new file next to `path` and returns its descriptor, with its name in `temp`. It is created with
// the mode of any new file (0666 less the umask), so a settings or task file is as readable as any other file;
// the name carries the process and a count, and O_EXCL never takes over a file that is already there.
int CreateTemporaryBeside(const std::string& path, std::string& temp)
{
    static std::atomic<unsigned> count{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(count++);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool WriteFileAtomically(const std::string& path, std::span<const char> bytes)
{
    AtomicFileWriter file;
    return file.Open(path) && file.Write(bytes) && file.Commit();
}

AtomicFileWriter::~AtomicFileWriter()
{
    Abandon();
}

bool AtomicFileWriter::Open(const std::string& path)
{
    Abandon();
    // Renaming over a device, a pipe or a directory would replace it (/dev/null with a regular file when run
    // as root); only a regular file, or a link, is ever replaced.
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) && !S_ISLNK(existing.st_mode))
        return false;
    fd_ = CreateTemporaryBeside(path, temp_);
    if (fd_ < 0)
        return false;
    path_ = path;
    return true;
}

bool AtomicFileWriter::Write(std::span<const char> bytes)
{
    if (fd_ < 0)
        return false;
    if (!WriteAll(fd_, bytes)) {
        Abandon();
        return false;
    }
    return true;
}

bool AtomicFileWriter::Commit()
{
    if (fd_ < 0)
        return false;
    const bool written = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!written || !closed || ::rename(temp_.c_str(), path_.c_str()) != 0) {
        ::unlink(temp_.c_str());
        return false;
    }
    // Make the rename itself durable; failing here does not undo a completed rename.
    const int dirFd = ::open(DirectoryOf(path_).c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

void AtomicFileWriter::Abandon()
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    ::unlink(temp_.c_str());
    fd_ = -1;
}

void WriteFileIfMissing(const std::string& path, std::span<const uint8_t> bytes)
{
    std::error_code ec;
    if (std::filesystem::exists(path, ec) || ec)
        return;
    WriteFileAtomically(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

bool RenameWithoutReplacing(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    // EINVAL: the file system lacks it; ENOSYS: the kernel does.
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    // A read error (a directory, an I/O fault) surfaces as an exception from the stream buffer.
    try {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        return false;
    }
    return !in.bad();
}

} // namespace qv
