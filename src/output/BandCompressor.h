#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace qv {

// The zero-run code of a raster band. The row records are read as little-endian 16-bit words: a non-zero word
// is copied, a run of zero words becomes the pair (0, count). A run is closed at 65000 words and a new one
// starts, so a count is always 1 to 65000. Example: words 5, 0, 0, 0, 7 become 5, 0, 3, 7.
inline constexpr uint16_t kMaxZeroRun = 65000;

// Compresses `rows` (an even number of bytes) into `out` and returns the compressed length in bytes. Each input
// word yields at most two output words, so `out` must hold twice the input; otherwise, or for an odd input,
// nothing is written and the result is empty.
std::optional<std::size_t> CompressZeroRuns(std::span<const uint8_t> rows, std::span<uint8_t> out);

} // namespace qv
