#include "workflow/OpenWriters.h"

#include <charconv>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

namespace {

// Closes a directory stream at the end of its scope.
struct DirStream {
    explicit DirStream(DIR* dir) : dir(dir) {}
    ~DirStream()
    {
        if (dir)
            ::closedir(dir);
    }
    DirStream(const DirStream&) = delete;
    DirStream& operator=(const DirStream&) = delete;
    DIR* dir;
};

bool IsNumber(const char* name)
{
    if (*name == '\0')
        return false;
    for (; *name != '\0'; ++name) {
        if (*name < '0' || *name > '9')
            return false;
    }
    return true;
}

// The access mode of descriptor `fd` allows writing, as the "flags:" line of its fdinfo says (in octal).
bool OpenForWriting(int procDir, const char* fd)
{
    const int info = ::openat(procDir, ("fdinfo/" + std::string(fd)).c_str(), O_RDONLY | O_CLOEXEC);
    if (info < 0)
        return false;
    char text[512];
    const ssize_t n = ::read(info, text, sizeof text - 1);
    ::close(info);
    if (n <= 0)
        return false;
    const std::string_view lines(text, static_cast<std::size_t>(n));
    const std::size_t at = lines.find("flags:");
    if (at == std::string_view::npos)
        return false;
    std::size_t from = at + 6;
    while (from < lines.size() && (lines[from] == '\t' || lines[from] == ' '))
        ++from;
    unsigned flags = 0;
    const auto [end, error] = std::from_chars(lines.data() + from, lines.data() + lines.size(), flags, 8);
    return error == std::errc{} && (flags & O_ACCMODE) != O_RDONLY;
}

} // namespace

std::set<FileKey> HeldOpenForWriting(std::span<const FileIdentity> files)
{
    std::set<FileKey> wanted;
    for (const FileIdentity& file : files)
        wanted.insert({file.device, file.inode});
    std::set<FileKey> held;
    if (wanted.empty())
        return held;
    const uid_t user = ::geteuid();
    const DirStream proc(::opendir("/proc"));
    if (!proc.dir)
        return held;
    while (const dirent* entry = ::readdir(proc.dir)) {
        if (!IsNumber(entry->d_name))
            continue;
        const int procDir = ::openat(::dirfd(proc.dir), entry->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (procDir < 0)
            continue;
        struct stat owner {};
        const int fdDir = ::fstat(procDir, &owner) == 0 && owner.st_uid == user
                              ? ::openat(procDir, "fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                              : -1;
        const DirStream fds(fdDir >= 0 ? ::fdopendir(fdDir) : nullptr);
        if (fdDir >= 0 && !fds.dir)
            ::close(fdDir);
        while (const dirent* fd = fds.dir ? ::readdir(fds.dir) : nullptr) {
            struct stat st {};
            // The descriptor's link leads to the open file itself.
            if (!IsNumber(fd->d_name) || ::fstatat(::dirfd(fds.dir), fd->d_name, &st, 0) != 0)
                continue;
            const FileKey key{st.st_dev, st.st_ino};
            if (wanted.contains(key) && !held.contains(key) && OpenForWriting(procDir, fd->d_name))
                held.insert(key);
        }
        ::close(procDir);
    }
    return held;
}

} // namespace qv
