#include "geometry/PageStatistics.h"

#include "model/CurveKind.h"

#include <algorithm>

namespace qv {

namespace {

struct Bounds {
    int32_t maxX = 0;
    int32_t minX = 0;
    int32_t maxY = 0;
    int32_t minY = 0;
    bool any = false;

    void Extend(const CCurve& c)
    {
        if (!any) {
            *this = {c.maxX, c.minX, c.maxY, c.minY, true};
            return;
        }
        maxX = std::max(maxX, c.maxX);
        minX = std::min(minX, c.minX);
        maxY = std::max(maxY, c.maxY);
        minY = std::min(minY, c.minY);
    }
};

Bounds BoundsOfKind(const COnePage& page, int32_t kind)
{
    Bounds b;
    for (const auto& curve : page.curves) {
        if (curve->kind == kind)
            b.Extend(*curve);
    }
    return b;
}

} // namespace

void ComputePageBounds(COnePage& page)
{
    if (page.curves.empty())
        return;
    Bounds b;
    for (auto& curve : page.curves) {
        curve->ComputeBounds();
        b.Extend(*curve);
    }
    page.maxX = b.maxX;
    page.minX = b.minX;
    page.maxY = b.maxY;
    page.minY = b.minY;
}

void ComputePlotExtent(COnePage& page)
{
    page.plotMaxX = 0;
    page.plotMaxY = 0;
    for (const auto& curve : page.curves) {
        if (IsPlotWork(curve->kind)) {
            page.plotMaxX = std::max(page.plotMaxX, curve->maxX);
            page.plotMaxY = std::max(page.plotMaxY, curve->maxY);
        }
    }
}

void ComputeFullCutBounds(COnePage& page)
{
    const Bounds b = BoundsOfKind(page, CurveKind::FullCut);
    page.fullCutMaxX = b.maxX;
    page.fullCutMinX = b.minX;
    page.fullCutMaxY = b.maxY;
    page.fullCutMinY = b.minY;
    page.hasFullCut = b.any ? 1 : 0;
}

void ComputeHalfCutBounds(COnePage& page)
{
    const Bounds b = BoundsOfKind(page, CurveKind::HalfCut);
    page.halfCutMaxX = b.maxX;
    page.halfCutMinX = b.minX;
    page.halfCutMaxY = b.maxY;
    page.halfCutMinY = b.minY;
    page.hasHalfCut = b.any ? 1 : 0;
}

} // namespace qv
