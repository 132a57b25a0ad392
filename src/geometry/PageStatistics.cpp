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

    // Into the page's per-kind members.
    void Store(int32_t& toMaxX, int32_t& toMinX, int32_t& toMaxY, int32_t& toMinY, int32_t& toAny) const
    {
        toMaxX = maxX;
        toMinX = minX;
        toMaxY = maxY;
        toMinY = minY;
        toAny = any ? 1 : 0;
    }
};

Bounds BoundsOfKinds(const COnePage& page, int32_t kind, int32_t alsoKind)
{
    Bounds b;
    for (const auto& curve : page.curves) {
        if (curve->kind == kind || curve->kind == alsoKind)
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

void ComputeFullCutBounds(COnePage& page, bool withHalfCuts)
{
    BoundsOfKinds(page, CurveKind::FullCut, withHalfCuts ? CurveKind::HalfCut : CurveKind::FullCut)
        .Store(page.fullCutMaxX, page.fullCutMinX, page.fullCutMaxY, page.fullCutMinY, page.hasFullCut);
}

void ComputeHalfCutBounds(COnePage& page)
{
    BoundsOfKinds(page, CurveKind::HalfCut, CurveKind::HalfCut)
        .Store(page.halfCutMaxX, page.halfCutMinX, page.halfCutMaxY, page.halfCutMinY, page.hasHalfCut);
}

} // namespace qv
