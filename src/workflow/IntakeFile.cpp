#include "workflow/IntakeFile.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

FileIdentity IdentityOf(const struct stat& st)
{
    return {st.st_dev, st.st_ino, st.st_size,
            static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

std::optional<IntakeFile> IntakeFile::Open(const std::string& path, bool lock)
{
    struct stat st {};
    auto file = RegularFile::Open(path, st);
    if (!file || (lock && ::flock(file->fd(), LOCK_EX | LOCK_NB) != 0))
        return std::nullopt;
    return IntakeFile(std::move(*file), IdentityOf(st));
}

std::string IntakeFile::ReadPath() const
{
    return "/proc/self/fd/" + std::to_string(file_.fd());
}

bool DeleteIfUnchanged(const std::string& path, const FileIdentity& identity)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return false;
    // A link in the directory is what was dropped there: it goes when the file it names is unchanged.
    if (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) != 0)
        return false;
    return IdentityOf(st) == identity && ::unlink(path.c_str()) == 0;
}

} // namespace qv
