#include "geometry/PageTransforms.h"

#include "geometry/PointMath.h"
#include "model/CurveKind.h"
#include "model/Rounding.h"

#include <cmath>

namespace qv {

namespace {

struct CleaningLayout {
    int32_t move;    // the drawing moves this far right
    int32_t lineEnd; // each line runs from x = 0 to here
    int32_t spacing; // band bases are this far apart
    int32_t bands;
};

constexpr int32_t kCleaningLinesPerBand = 35;

CleaningLayout CleaningLayoutFor(Cartridge cartridge)
{
    if (cartridge == Cartridge::HP45)
        return {1000, 1000, 200, 40}; // "HP45"
    return {2080, 2040, 400, 20};     // "IUT308"
}

int32_t Shifted(int32_t v, int64_t by)
{
    return SaturateToInt32(int64_t{v} + by);
}

} // namespace

void ScaleAll(COnePage& page, double sx, double sy)
{
    for (auto& curve : page.curves)
        curve->Scale(sx, sy);
}

void AddYMargin(COnePage& page, int32_t margin)
{
    if (page.curves.empty())
        return;
    const int32_t down = SaturateToInt32(-int64_t{margin});
    for (auto& curve : page.curves)
        curve->Translate(0, down);
    page.maxY = Shifted(page.maxY, margin);
    page.minY = 0;
}

void AddCleaningPattern(COnePage& page, Cartridge cartridge)
{
    const CleaningLayout layout = CleaningLayoutFor(cartridge);
    for (auto& curve : page.curves)
        curve->Translate(-layout.move, 0);
    for (int32_t band = 0; band < layout.bands; ++band) {
        const int32_t base = band * layout.spacing;
        for (int32_t y = base; y < base + kCleaningLinesPerBand; ++y) {
            CCurve& line = page.AddCurve();
            line.kind = CurveKind::Plot;
            line.AddPoint(0, y);
            line.AddPoint(layout.lineEnd, y);
        }
    }
}

void CorrectSkew(COnePage& page, int32_t perpendicularity)
{
    if (page.curves.empty() || perpendicularity == 100)
        return;
    const double angle = (100 - static_cast<double>(perpendicularity)) * 0.01 * kPi / 180;
    for (auto& curve : page.curves)
        ShearY(*curve, angle, page.maxX);
}

void ShearY(CCurve& curve, double angle, int32_t refX)
{
    const double slope = std::tan(angle);
    for (CPoint& p : curve.points) {
        const double rise = angle >= 0 ? slope * p.x : std::fabs(slope) * (static_cast<double>(refX) - p.x);
        p.y = Shifted(p.y, RoundToInt32(rise));
    }
}

void MoveToLeft(COnePage& page)
{
    if (page.curves.empty())
        return;
    for (auto& curve : page.curves)
        curve->Translate(page.minX, 0);
    page.maxX = Shifted(page.maxX, -int64_t{page.minX});
    page.minX = 0;
}

void MoveToBottom(COnePage& page)
{
    if (page.curves.empty())
        return;
    for (auto& curve : page.curves)
        curve->Translate(0, page.minY);
    page.maxY = Shifted(page.maxY, -int64_t{page.minY});
    page.minY = 0;
}

} // namespace qv
