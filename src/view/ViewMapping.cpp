#include "view/ViewMapping.h"

#include "model/Rounding.h"

#include <algorithm>

namespace qv {

namespace {

constexpr int32_t kMinDispSize = 40;
constexpr int32_t kMaxDispSizeX = 4000;
constexpr int32_t kMaxDispSizeY = 3000;
constexpr int32_t kUnitsPerMm = 40;

} // namespace

DisplayArea DisplayAreaOf(const CSetDisp& disp)
{
    return {std::clamp(disp.DispSizeX, kMinDispSize, kMaxDispSizeX),
            std::clamp(disp.DispSizeY, kMinDispSize, kMaxDispSizeY)};
}

ScreenPoint ToScreen(const CSetDisp& disp, int32_t x, int32_t y)
{
    const double s = disp.pixelsPerUnit;
    return {TruncToInt32(x * s + 20 - disp.panX), TruncToInt32(disp.viewHeight - y * s - 30 - disp.panY)};
}

CPoint ToModel(const CSetDisp& disp, ScreenPoint p)
{
    const double s = disp.pixelsPerUnit;
    const int64_t sx = int64_t{disp.panX} + p.x - 20;
    const int64_t sy = int64_t{disp.viewHeight} - disp.panY - p.y - 30;
    return {TruncToInt32(static_cast<double>(sx) / s), TruncToInt32(static_cast<double>(sy) / s)};
}

void FitToWindow(CSetDisp& disp)
{
    const DisplayArea area = DisplayAreaOf(disp);
    disp.panX = -20;
    disp.panY = 0;
    const double sx = (disp.viewWidth - 40.0) / (static_cast<double>(area.widthMm) * kUnitsPerMm);
    const double sy = (disp.viewHeight - 80.0) / (static_cast<double>(area.heightMm) * kUnitsPerMm);
    disp.pixelsPerUnit = std::clamp(std::min(sx, sy), kMinPixelsPerUnit, kMaxPixelsPerUnit);
}

bool ZoomAt(CSetDisp& disp, ScreenPoint at, int32_t delta)
{
    if (delta == 0)
        return false;
    const double zoom = disp.pixelsPerUnit * (delta > 0 ? 1.25 : 0.8);
    if (zoom < kMinPixelsPerUnit || zoom > kMaxPixelsPerUnit)
        return false;
    const CPoint under = ToModel(disp, at);
    disp.pixelsPerUnit = zoom;
    const ScreenPoint moved = ToScreen(disp, under);
    disp.panX = SaturateToInt32(int64_t{disp.panX} + moved.x - at.x);
    disp.panY = SaturateToInt32(int64_t{disp.panY} + moved.y - at.y);
    return true;
}

void PanBy(CSetDisp& disp, ScreenPoint from, ScreenPoint to)
{
    disp.panX = SaturateToInt32(int64_t{disp.panX} + from.x - to.x);
    disp.panY = SaturateToInt32(int64_t{disp.panY} + from.y - to.y);
}

} // namespace qv
