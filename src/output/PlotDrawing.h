#pragma once

#include "model/COnePage.h"
#include "output/RasterGeometry.h"

#include <cstdint>

namespace qv {

// A one-bit image: rows of `stride` bytes, the most significant bit of each byte the leftmost pixel.
struct OneBitImage {
    uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0; // bytes per row, at least StrideFor(width)

    // Whole 32-bit words, so that Word never reads past a row.
    static constexpr int32_t StrideFor(int32_t width) { return (width + 31) / 32 * 4; }

    // Pixels 32k to 32k + 31 of row y, pixel 32k in the most significant bit.
    uint32_t Word(int32_t y, int32_t k) const;
    bool Get(int32_t x, int32_t y) const
    {
        return (bits[static_cast<std::ptrdiff_t>(y) * stride + x / 8] >> (7 - x % 8)) & 1;
    }
};

struct PlotPen {
    int32_t lineWidth = 1; // lw, pixels
    RowScale rows;
};

// Draws the plot curves (kind <= 1) of `page` in page order into `image`, setting bits to 1. The page point
// (x, y) at pixel (px, py) becomes the vertex (lw + px - originX - 1, py + lw - 1), and a pixel is inked when its
// centre lies inside the pen's shape around the curve, the pen being a disc of diameter lw centred on the
// vertices' pixel centres:
// - a solid curve is every point within lw / 2 of the polyline (round ends and joins);
// - a dashed curve keeps only the stretches 100 on, 40 off (pixels along the curve, from its first point),
//   cut square across (flat ends), with round joins inside a dash.
// A centre exactly on the outline counts when the outline faces up or left there, so a pen of width lw along an
// axis covers exactly lw rows or columns. Curves with fewer than two points draw nothing.
// Each pixel depends only on the curve and its own position relative to the vertices, so drawing a band of a
// page gives the same pixels as drawing the whole page and cutting the band out of it.
void DrawPlotCurves(const COnePage& page, const PlotPen& pen, int64_t originX, const OneBitImage& image);

} // namespace qv
