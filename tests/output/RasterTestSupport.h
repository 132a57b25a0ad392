#pragma once

#include "model/COnePage.h"
#include "model/Rounding.h"
#include "output/PlotDrawing.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace qv::test {

// Page units of raster column c: rounds back to exactly c.
inline int32_t PageX(int32_t column)
{
    return RoundToInt32(column * 40 * kPixelPitchMm);
}

// With 16 Y pulses per mm and an interval of 16 pulses, one raster row is one millimetre.
constexpr double kOneRowPerMm = 16;
inline int32_t PageY(int32_t row)
{
    return 40 * row;
}

inline CCurve& AddCurve(COnePage& page, std::initializer_list<CPoint> points, int32_t lineStyle = 0,
                        int32_t kind = CurveKind::Plot)
{
    CCurve& c = page.AddCurve();
    c.kind = kind;
    c.lineStyle = lineStyle;
    c.points.assign(points.begin(), points.end());
    return c;
}

// Largest X and Y of the plot curves, as the job preparation's statistics give them.
inline void MeasurePlotExtent(COnePage& page)
{
    page.plotMaxX = 0;
    page.plotMaxY = 0;
    for (const auto& c : page.curves) {
        if (!IsPlotWork(c->kind))
            continue;
        for (const CPoint& p : c->points) {
            page.plotMaxX = std::max(page.plotMaxX, p.x);
            page.plotMaxY = std::max(page.plotMaxY, p.y);
        }
    }
}

// A blank one-bit image with its own storage.
class Canvas {
public:
    Canvas(int32_t width, int32_t height)
        : bits_(static_cast<std::size_t>(OneBitImage::StrideFor(width)) * static_cast<std::size_t>(height)),
          image_{bits_.data(), width, height, OneBitImage::StrideFor(width)}
    {
    }

    const OneBitImage& Image() const { return image_; }
    bool Get(int32_t x, int32_t y) const { return image_.Get(x, y); }

    // Row y as '#' for set and '.' for clear pixels, columns [from, to).
    std::string Row(int32_t y, int32_t from, int32_t to) const
    {
        std::string s;
        for (int32_t x = from; x < to; ++x)
            s += Get(x, y) ? '#' : '.';
        return s;
    }

    int64_t Ink() const
    {
        int64_t n = 0;
        for (int32_t y = 0; y < image_.height; ++y) {
            for (int32_t x = 0; x < image_.width; ++x)
                n += Get(x, y);
        }
        return n;
    }

private:
    std::vector<uint8_t> bits_;
    OneBitImage image_;
};

} // namespace qv::test
