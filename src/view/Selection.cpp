#include "view/Selection.h"

#include "geometry/PointMath.h"
#include "model/CurveKind.h"
#include "view/HitTest.h"
#include "view/ViewMapping.h"

namespace qv {

namespace {

constexpr double kMinCrossingSegment = 5;

// The round of the click search a curve belongs to; full cuts take every kind above them.
int32_t ClickRound(int32_t kind)
{
    return kind > CurveKind::FullCut ? CurveKind::FullCut : kind;
}

DoublePoint At(int32_t x, int32_t y)
{
    return {static_cast<double>(x), static_cast<double>(y)};
}

bool CrossesAnEdge(const CCurve& curve, CPoint m1, CPoint m2)
{
    const DoublePoint topLeft = At(m1.x, m1.y), bottomLeft = At(m1.x, m2.y);
    const DoublePoint topRight = At(m2.x, m1.y), bottomRight = At(m2.x, m2.y);
    const DoublePoint edges[4][2] = {
        {bottomLeft, topLeft}, {bottomRight, topRight}, {bottomLeft, bottomRight}, {topLeft, topRight}};
    for (std::size_t i = 0; i + 1 < curve.points.size(); ++i) {
        const CPoint& p = curve.points[i];
        const CPoint& q = curve.points[i + 1];
        if (Distance(p, q) < kMinCrossingSegment)
            continue;
        for (const auto& edge : edges) {
            if (SegmentsCross(At(p.x, p.y), At(q.x, q.y), edge[0], edge[1]))
                return true;
        }
    }
    return false;
}

} // namespace

bool SelectAt(COnePage& page, const CSetDisp& disp, ScreenPoint p)
{
    for (int32_t round = CurveKind::PenZero; round <= CurveKind::FullCut; ++round) {
        for (const auto& curve : page.curves) {
            if (ClickRound(curve->kind) == round && NearSegment(*curve, disp, p)) {
                curve->selected = curve->selected ? 0 : 1;
                return true;
            }
        }
    }
    return false;
}

void SelectInRect(COnePage& page, const CSetDisp& disp, const ScreenRect& r, bool crossing)
{
    const CPoint m1 = ToModel(disp, {r.left, r.top});
    const CPoint m2 = ToModel(disp, {r.right, r.bottom});
    for (const auto& curve : page.curves) {
        if (!curve->points.empty())
            curve->ComputeBounds();
        if (AllPointsInRect(*curve, disp, r) || (crossing && CrossesAnEdge(*curve, m1, m2)))
            curve->selected = 1;
    }
}

RubberBand BandOf(ScreenPoint anchor, ScreenPoint to)
{
    return {RectBetween(anchor, to), anchor.x < to.x};
}

bool IsClick(const RubberBand& band)
{
    constexpr int64_t kClickSize = 10;
    return int64_t{band.rect.right} - band.rect.left <= kClickSize &&
           int64_t{band.rect.bottom} - band.rect.top <= kClickSize;
}

void SelectOnRelease(COnePage& page, const CSetDisp& disp, ScreenPoint anchor, ScreenPoint to)
{
    const RubberBand band = BandOf(anchor, to);
    if (IsClick(band))
        SelectAt(page, disp, to);
    else
        SelectInRect(page, disp, band.rect, band.crossing);
}

} // namespace qv
