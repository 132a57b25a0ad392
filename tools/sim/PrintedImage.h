#pragma once

#include <cstdint>
#include <vector>

namespace qv::sim {

// What landed on the material: one bit per raster pixel, X across (300 per inch), Y along (one row per
// raster row), grown as ink arrives.
class PrintedImage {
public:
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Makes the image at least this large; new pixels are blank.
    void Reserve(int width, int height);
    void Set(int x, int y);
    bool Get(int x, int y) const;
    // Row y becomes a copy of row `sourceY` of an image of the same width.
    void CopyRow(int y, const PrintedImage& source, int sourceY);
    int64_t InkPixels() const { return ink_; }
    // Row y, most significant bit leftmost, (width + 7) / 8 bytes.
    const uint8_t* Row(int y) const { return bits_.data() + static_cast<std::size_t>(y) * Stride(); }

private:
    std::size_t Stride() const { return (static_cast<std::size_t>(width_) + 7) / 8; }

    int width_ = 0;
    int height_ = 0;
    int64_t ink_ = 0;
    std::vector<uint8_t> bits_;
};

} // namespace qv::sim
