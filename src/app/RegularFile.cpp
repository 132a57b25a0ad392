#include "app/RegularFile.h"

#include <fcntl.h>
#include <unistd.h>

namespace qv {

std::optional<RegularFile> RegularFile::Open(const std::string& path, struct stat& status)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    RegularFile file(fd);
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return file;
}

RegularFile::RegularFile(RegularFile&& other) noexcept : fd_(other.fd_)
{
    other.fd_ = -1;
}

RegularFile::~RegularFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace qv
