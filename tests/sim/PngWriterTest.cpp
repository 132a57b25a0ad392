#include "PngWriter.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace qv::sim {
namespace {

uint32_t U32(const std::vector<uint8_t>& b, std::size_t at)
{
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
};

// Splits a PNG into its chunks, checking the signature and every CRC.
std::vector<Chunk> Chunks(const std::vector<uint8_t>& png)
{
    const std::vector<uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 8), signature);
    std::vector<Chunk> chunks;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const uint32_t length = U32(png, at);
        Chunk c{std::string(png.begin() + static_cast<std::ptrdiff_t>(at) + 4,
                            png.begin() + static_cast<std::ptrdiff_t>(at) + 8),
                std::vector<uint8_t>(png.begin() + static_cast<std::ptrdiff_t>(at) + 8,
                                     png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length))};
        const uLong crc = crc32(0L, png.data() + at + 4, 4 + length);
        EXPECT_EQ(U32(png, at + 8 + length), static_cast<uint32_t>(crc)) << c.type;
        chunks.push_back(std::move(c));
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    return chunks;
}

TEST(PngWriter, OneBitGreyRowsReadBack)
{
    PrintedImage image;
    image.Reserve(10, 3);
    image.Set(0, 0);
    image.Set(9, 1);
    image.Set(4, 2);
    const auto chunks = Chunks(EncodePng(image));
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[0].data, (std::vector<uint8_t>{0, 0, 0, 10, 0, 0, 0, 3, 1, 0, 0, 0, 0}));
    EXPECT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(chunks[2].type, "IEND");

    std::vector<uint8_t> raw(9); // 3 rows of filter byte + 2 bytes
    uLongf size = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &size, chunks[1].data.data(), chunks[1].data.size()), Z_OK);
    ASSERT_EQ(size, 9u);
    // Ink is black (0), the rest white (1); the padding bits past the width are white.
    EXPECT_EQ(raw, (std::vector<uint8_t>{0, 0x7F, 0xFF, 0, 0xFF, 0xBF, 0, 0xF7, 0xFF}));
}

TEST(PngWriter, EmptyImageIsOneWhitePixel)
{
    const auto chunks = Chunks(EncodePng(PrintedImage{}));
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].data, (std::vector<uint8_t>{0, 0, 0, 1, 0, 0, 0, 1, 1, 0, 0, 0, 0}));
}

} // namespace
} // namespace qv::sim
