#pragma once

#include <cstdint>

namespace qv {

// Display state of the drawing view. The two display sizes persist in the settings file; the rest lives
// only while the program runs.
struct CSetDisp {
    int32_t viewWidth = 0;       // pixels
    int32_t viewHeight = 400;    // pixels
    int32_t panX = 0;            // pixels
    int32_t panY = 0;            // pixels
    double pixelsPerUnit = 0.01; // window pixels per plotter unit
    int32_t DispSizeX = 0;       // mm, 1200 once the settings are read
    int32_t DispSizeY = 900;     // mm

    bool operator==(const CSetDisp&) const = default;
};

} // namespace qv
