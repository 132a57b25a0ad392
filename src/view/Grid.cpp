#include "view/Grid.h"

#include "view/ViewMapping.h"
#include "view/ViewPalette.h"

#include <cstdio>

namespace qv {

namespace {

constexpr int32_t kUnitsPerMm = 40;

Text Label(int32_t value, ScreenPoint at)
{
    char text[16];
    std::snprintf(text, sizeof text, "%03d", value);
    return {at, text, kGridLabelColour, kGridLabelFont};
}

} // namespace

int32_t GridStepMm(double pixelsPerUnit)
{
    struct Step {
        double below;
        int32_t mm;
    };
    constexpr Step kSteps[] = {{0.005, 200}, {0.01, 100}, {0.02, 50}, {0.05, 20}, {0.1, 10}};
    for (const Step& step : kSteps) {
        if (pixelsPerUnit < step.below)
            return step.mm;
    }
    return 5;
}

void PaintGrid(const CSetDisp& disp, DisplayList& out)
{
    const DisplayArea area = DisplayAreaOf(disp);
    const int32_t width = area.widthMm * kUnitsPerMm;
    const int32_t height = area.heightMm * kUnitsPerMm;
    const ScreenPoint origin = ToScreen(disp, 0, 0);
    const ScreenPoint corner = ToScreen(disp, width, height);
    out.primitives.emplace_back(
        OutlineRect{RectBetween(Offset(origin, -4, 4), Offset(corner, 4, -4)), Pen{kFrameColour}});

    const int32_t f = GridStepMm(disp.pixelsPerUnit);
    const int32_t nx = area.widthMm / f;
    const int32_t ny = area.heightMm / f;
    for (int32_t k = 0; k <= ny; ++k)
        out.primitives.emplace_back(Label(k * f, Offset(ToScreen(disp, 0, k * f * kUnitsPerMm), -36, -8)));
    for (int32_t k = 0; k <= nx / 2; ++k)
        out.primitives.emplace_back(Label(k * 2 * f, Offset(ToScreen(disp, k * 2 * f * kUnitsPerMm, 0), -12, 6)));

    const Pen grid{kGridLineColour};
    for (int32_t k = 1; k < ny; ++k) {
        const int32_t y = k * f * kUnitsPerMm;
        out.primitives.emplace_back(Line{ToScreen(disp, 0, y), ToScreen(disp, width, y), grid});
    }
    for (int32_t k = 1; k < nx; ++k) {
        const int32_t x = k * f * kUnitsPerMm;
        out.primitives.emplace_back(Line{ToScreen(disp, x, 0), ToScreen(disp, x, height), grid});
    }
}

} // namespace qv
