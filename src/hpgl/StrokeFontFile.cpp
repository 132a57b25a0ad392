#include "hpgl/StrokeFontFile.h"

#include "hpgl/EmbeddedFonts.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace qv {

std::shared_ptr<const StrokeFontFile> StrokeFontFile::Open(const std::string& path)
{
    struct stat st {};
    auto file = RegularFile::Open(path, st);
    if (!file)
        return nullptr;
    return std::shared_ptr<const StrokeFontFile>(
        new StrokeFontFile(std::move(*file), {}, static_cast<uint64_t>(st.st_size)));
}

std::shared_ptr<const StrokeFontFile> StrokeFontFile::Builtin(std::span<const uint8_t> bytes)
{
    return std::shared_ptr<const StrokeFontFile>(new StrokeFontFile(std::nullopt, bytes, bytes.size()));
}

bool StrokeFontFile::ReadAt(uint64_t offset, std::span<uint8_t> out) const
{
    if (!file_) {
        if (offset > size_ || out.size() > size_ - offset)
            return false;
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
        return true;
    }
    while (!out.empty()) {
        const ssize_t n = ::pread(file_->fd(), out.data(), out.size(), static_cast<off_t>(offset));
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
std::optional<LoadedFont<Index>> LoadFont(const std::string& path, std::span<const uint8_t> builtin, FontKind kind,
                                          Parse parse)
{
    // A folder that is only read from (a settings directory named on the command line) holds no fonts of its
    // own; reading never writes them there.
    std::error_code ec;
    const bool none = !std::filesystem::exists(std::filesystem::symlink_status(path, ec));
    auto file = none ? StrokeFontFile::Builtin(builtin) : StrokeFontFile::Open(path);
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
    return LoadFont<HzFontIndex>(path, EmbeddedFontHz(), FontKind::Hz, ParseHzFontIndex);
}

std::optional<LoadedFont<EnFontIndex>> LoadEnFont(const std::string& path)
{
    return LoadFont<EnFontIndex>(path, EmbeddedFontEn(), FontKind::En, ParseEnFontIndex);
}

} // namespace qv
