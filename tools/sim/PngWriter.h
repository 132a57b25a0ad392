#pragma once

#include "PrintedImage.h"

#include <cstdint>
#include <vector>

namespace qv::sim {

// The printed image as a PNG file: 1-bit greyscale (colour type 0, bit depth 1), not interlaced, every row
// with filter type 0, deflated by zlib into one IDAT chunk. Ink is black (bit 0), the material white (bit 1).
// Chunks are length (u32 big-endian), type, data, CRC-32 over type and data.
std::vector<uint8_t> EncodePng(const PrintedImage& image);

} // namespace qv::sim
