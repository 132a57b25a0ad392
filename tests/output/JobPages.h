#pragma once

#include "RasterTestSupport.h"

namespace qv::test {

// A page `bands` raster bands wide for "HP45" with both heads and an overlap of 1 (w = 299 pixels) and a pen
// of 1 pixel (W = pixels + 2): one plot line across, 10 mm high, with its plot extent measured.
inline COnePage PageOfBands(int32_t bands)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {PageX(bands * 299 - 150), 400}});
    MeasurePlotExtent(page);
    page.maxX = page.plotMaxX;
    page.maxY = page.plotMaxY;
    return page;
}

} // namespace qv::test
