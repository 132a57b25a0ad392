#include "PrintedImage.h"

#include <algorithm>
#include <bit>

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

void PrintedImage::CopyRow(int y, const PrintedImage& source, int sourceY)
{
    if (y < 0 || y >= height_ || sourceY < 0 || sourceY >= source.height_ || source.width_ != width_)
        return;
    uint8_t* row = bits_.data() + static_cast<std::size_t>(y) * Stride();
    const uint8_t* from = source.Row(sourceY);
    for (std::size_t i = 0; i < Stride(); ++i) {
        ink_ += std::popcount(from[i]) - std::popcount(row[i]);
        row[i] = from[i];
    }
}

} // namespace qv::sim
