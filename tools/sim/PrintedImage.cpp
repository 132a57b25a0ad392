#include "PrintedImage.h"

#include <algorithm>

namespace qv::sim {

void PrintedImage::Reserve(int width, int height)
{
    if (width <= width_ && height <= height_)
        return;
    const int w = std::max(width, width_);
    const int h = std::max(height, height_);
    const std::size_t stride = (static_cast<std::size_t>(w) + 7) / 8;
    std::vector<uint8_t> bits(stride * static_cast<std::size_t>(h), 0);
    for (int y = 0; y < height_; ++y)
        std::copy_n(Row(y), Stride(), bits.data() + static_cast<std::size_t>(y) * stride);
    bits_ = std::move(bits);
    width_ = w;
    height_ = h;
}

void PrintedImage::Set(int x, int y)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    uint8_t& byte = bits_[static_cast<std::size_t>(y) * Stride() + static_cast<std::size_t>(x) / 8];
    const auto mask = static_cast<uint8_t>(0x80u >> (x % 8));
    if (!(byte & mask)) {
        byte = static_cast<uint8_t>(byte | mask);
        ++ink_;
    }
}

bool PrintedImage::Get(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return false;
    return (Row(y)[x / 8] & (0x80u >> (x % 8))) != 0;
}

} // namespace qv::sim
