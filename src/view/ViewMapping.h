#pragma once

#include "app/CSetDisp.h"
#include "model/CPoint.h"
#include "view/ScreenGeometry.h"

#include <cstdint>

namespace qv {

// The drawing view's mapping between plotter units (y up) and window pixels (y down), kept in CSetDisp:
// pixelsPerUnit is the zoom, panX and panY move the picture. The display area's origin sits 20 pixels from
// the left and 30 pixels above the bottom of the window before panning.
//
// The zoom stays within these bounds, so no mapping divides by zero or runs out of range; a conversion to
// pixels that still would saturates at the int32 range.
inline constexpr double kMinPixelsPerUnit = 1e-6;
inline constexpr double kMaxPixelsPerUnit = 100;

// The display area the view frames, in millimetres: DispSizeX and DispSizeY within the ranges the settings
// dialog allows (40 .. 4000 and 40 .. 3000), so a settings file with other values still gives a usable view.
struct DisplayArea {
    int32_t widthMm = 0;
    int32_t heightMm = 0;
};
DisplayArea DisplayAreaOf(const CSetDisp& disp);

// (trunc(x * s + 20 - panX), trunc(viewHeight - y * s - 30 - panY)).
ScreenPoint ToScreen(const CSetDisp& disp, int32_t x, int32_t y);
inline ScreenPoint ToScreen(const CSetDisp& disp, CPoint p)
{
    return ToScreen(disp, p.x, p.y);
}
// (trunc((panX + px - 20) / s), trunc((viewHeight - panY - py - 30) / s)), the integer sums formed first.
// Not an exact inverse of ToScreen: both truncate.
CPoint ToModel(const CSetDisp& disp, ScreenPoint p);

// The whole display area in the window of viewWidth x viewHeight: panX = -20, panY = 0 and the zoom the
// smaller of (viewWidth - 40) / width and (viewHeight - 80) / height, in plotter units, within the bounds.
void FitToWindow(CSetDisp& disp);

// One wheel step at window point `at`: the zoom times 1.25 for a positive delta, times 0.8 for a negative
// one, and the pan moved so that the model point under `at` stays there (up to the truncations). A zero delta
// (a horizontal wheel) and a step that would leave the zoom bounds change nothing; false then.
bool ZoomAt(CSetDisp& disp, ScreenPoint at, int32_t delta);

// Panning by a mouse move from `from` to `to`: the picture follows the mouse.
void PanBy(CSetDisp& disp, ScreenPoint from, ScreenPoint to);

} // namespace qv
