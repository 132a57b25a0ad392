#include "PngWriter.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

namespace qv::sim {

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char (&type)[5], const std::vector<uint8_t>& data)
{
    PutU32(out, static_cast<uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
    PutU32(out, static_cast<uint32_t>(crc));
}

std::vector<uint8_t> DeflateRows(const PrintedImage& image)
{
    z_stream z{};
    if (deflateInit(&z, Z_BEST_SPEED) != Z_OK)
        throw std::runtime_error("zlib cannot start");
    const std::size_t stride = (static_cast<std::size_t>(image.Width()) + 7) / 8;
    std::vector<uint8_t> row(stride + 1);
    std::vector<uint8_t> out;
    std::vector<uint8_t> buffer(1 << 16);
    auto pump = [&](int flush) {
        do {
            z.next_out = buffer.data();
            z.avail_out = static_cast<uInt>(buffer.size());
            deflate(&z, flush);
            out.insert(out.end(), buffer.data(), buffer.data() + (buffer.size() - z.avail_out));
        } while (z.avail_out == 0);
    };
    for (int y = 0; y < image.Height(); ++y) {
        row[0] = 0; // filter: none
        const uint8_t* bits = image.Row(y);
        for (std::size_t i = 0; i < stride; ++i)
            row[i + 1] = static_cast<uint8_t>(~bits[i]);
        z.next_in = row.data();
        z.avail_in = static_cast<uInt>(row.size());
        pump(Z_NO_FLUSH);
    }
    pump(Z_FINISH);
    deflateEnd(&z);
    return out;
}

} // namespace

std::vector<uint8_t> EncodePng(const PrintedImage& image)
{
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutU32(header, static_cast<uint32_t>(std::max(image.Width(), 1)));
    PutU32(header, static_cast<uint32_t>(std::max(image.Height(), 1)));
    header.insert(header.end(), {1, 0, 0, 0, 0}); // bit depth 1, greyscale, deflate, filter 0, no interlace
    PutChunk(png, "IHDR", header);
    if (image.Width() > 0 && image.Height() > 0) {
        PutChunk(png, "IDAT", DeflateRows(image));
    } else {
        PrintedImage blank;
        blank.Reserve(1, 1);
        PutChunk(png, "IDAT", DeflateRows(blank));
    }
    PutChunk(png, "IEND", {});
    return png;
}

} // namespace qv::sim
