#include "hpgl/StrokeFontFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qv {

std::shared_ptr<const StrokeFontFile> StrokeFontFile::Open(const std::string& path)
{
    // O_NONBLOCK: a FIFO in place of a font is refused below instead of stalling the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::shared_ptr<const StrokeFontFile>(new StrokeFontFile(fd, static_cast<uint64_t>(st.st_size)));
}

StrokeFontFile::~StrokeFontFile()
{
    ::close(fd_);
}

bool StrokeFontFile::ReadAt(uint64_t offset, std::span<uint8_t> out) const
{
    while (!out.empty()) {
        const ssize_t n = ::pread(fd_, out.data(), out.size(), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        out = out.subspan(static_cast<std::size_t>(n));
        offset += static_cast<uint64_t>(n);
    }
    return true;
}

namespace {

// The header, then as much of the index as the header announces and the file holds.
template <typename Index, typename Parse>
std::optional<LoadedFont<Index>> LoadFont(const std::string& path, FontKind kind, Parse parse)
{
    auto file = StrokeFontFile::Open(path);
    if (!file)
        return std::nullopt;
    std::vector<uint8_t> bytes(FontHeaderSize(kind));
    if (!file->ReadAt(0, bytes))
        return std::nullopt;
    const std::optional<uint64_t> extent = FontIndexExtent(kind, bytes, file->Size());
    if (!extent)
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(*extent));
    if (!file->ReadAt(0, bytes))
        return std::nullopt;
    std::optional<Index> index = parse(bytes, file->Size());
    if (!index)
        return std::nullopt;
    return LoadedFont<Index>{std::move(*index), std::move(file)};
}

} // namespace

std::optional<LoadedFont<HzFontIndex>> LoadHzFont(const std::string& path)
{
    return LoadFont<HzFontIndex>(path, FontKind::Hz, ParseHzFontIndex);
}

std::optional<LoadedFont<EnFontIndex>> LoadEnFont(const std::string& path)
{
    return LoadFont<EnFontIndex>(path, FontKind::En, ParseEnFontIndex);
}

} // namespace qv
