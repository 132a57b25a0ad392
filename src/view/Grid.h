#pragma once

#include "app/CSetDisp.h"
#include "view/DisplayList.h"

#include <cstdint>

namespace qv {

// The millimetre step of the grid at a zoom of `pixelsPerUnit`: 200, 100, 50, 20, 10 or 5, finer as the
// picture grows.
int32_t GridStepMm(double pixelsPerUnit);

// Appends the frame of the display area (grown by 4 pixels on every side), the labels of the y axis (every
// step) and of the x axis (every second step), and the inner grid lines, horizontal then vertical.
void PaintGrid(const CSetDisp& disp, DisplayList& out);

} // namespace qv
