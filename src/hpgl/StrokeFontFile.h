#pragma once

#include "app/RegularFile.h"
#include "hpgl/StrokeFontFormat.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace qv {

// One stroke-font file held open from the moment its index is read, so the shape bytes of every glyph come
// from the same file whose index was checked, even when the file is replaced or removed meanwhile; or the
// bytes of a font the program carries. Reading at an offset keeps no position, so copies of a renderer may
// share one object.
class StrokeFontFile {
public:
    // None when the file cannot be opened for reading.
    static std::shared_ptr<const StrokeFontFile> Open(const std::string& path);
    // Bytes that live as long as the program (the built-in fonts).
    static std::shared_ptr<const StrokeFontFile> Builtin(std::span<const uint8_t> bytes);

    uint64_t Size() const { return size_; }
    // Fills `out` from `offset`; false when the file does not hold that many bytes there.
    bool ReadAt(uint64_t offset, std::span<uint8_t> out) const;

private:
    StrokeFontFile(std::optional<RegularFile> file, std::span<const uint8_t> bytes, uint64_t size)
        : file_(std::move(file)), bytes_(bytes), size_(size)
    {
    }

    std::optional<RegularFile> file_; // none for built-in bytes
    std::span<const uint8_t> bytes_;
    uint64_t size_;
};

// A font file opened with its index read.
template <typename Index>
struct LoadedFont {
    Index index;
    std::shared_ptr<const StrokeFontFile> file;
};

// The font at `path`, or the built-in one when nothing lies there. None when the file cannot be opened or its
// header is unusable (see ParseHzFontIndex / ParseEnFontIndex).
std::optional<LoadedFont<HzFontIndex>> LoadHzFont(const std::string& path);
std::optional<LoadedFont<EnFontIndex>> LoadEnFont(const std::string& path);

} // namespace qv
