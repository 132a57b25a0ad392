#include "geometry/OutlineRecognition.h"

#include "geometry/CurveEdits.h"
#include "geometry/CurveListHelpers.h"
#include "geometry/JoinChains.h"
#include "geometry/NestingCandidates.h"
#include "geometry/PointMath.h"
#include "model/CurveKind.h"

#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace qv {

namespace {

constexpr int32_t kCloseTolerance = 9; // units, box
constexpr double kMinContourSideMm = 10;
constexpr double kMinContourAreaMm2 = 400;
constexpr double kMaxGapForDirectionTest = 100;   // units
constexpr double kDirectionTolerance = 0.001;     // radians
constexpr double kNotchMinTurn = 0.7853981633975; // 45 degrees

void JoinOpenPieces(COnePage& page)
{
    JoinChains(page, 1);
    JoinChains(page, 9);
}

// E0 is the end point, E3 the fourth point from that end.
bool IsNotch(CPoint e0, CPoint e1, CPoint e2, CPoint e3)
{
    const double l1 = Distance(e0, e1);
    const double l2 = Distance(e1, e2);
    const double l3 = Distance(e2, e3);
    const double turn = NormalizeTurn(Heading(e1, e0) - Heading(e3, e2));
    return std::fabs(turn) > kNotchMinTurn && l3 >= 300 && l3 <= 500 && l1 > 100 && l1 < 400 && l2 > 50 && l2 < 200 &&
           std::fabs(l1 - 2 * l2) < 20;
}

void SplitOff(COnePage& page, CCurve& c, const std::array<CPoint, 4>& e)
{
    auto notch = std::make_unique<CCurve>();
    notch->CopyFrom(c);
    notch->points.assign(e.begin(), e.end());
    notch->notch = 1;
    notch->ComputeBounds();
    c.ComputeBounds();
    page.AddCurve(std::move(notch));
}

// Full cut for a large enough curve whose ends meet, or nearly meet in one of the ways a drawing program
// leaves them; a point that doubles the closure is dropped.
void ClassifyContour(CCurve& c)
{
    auto& P = c.points;
    const std::size_t n = P.size();
    c.ComputeBounds();
    if (n < 4 || c.notch == 1)
        return;
    const double w = (static_cast<double>(c.maxX) - c.minX) / 40.0;
    const double h = (static_cast<double>(c.maxY) - c.minY) / 40.0;
    if (w < kMinContourSideMm || h < kMinContourSideMm || w * h < kMinContourAreaMm2)
        return;
    if (Near(P[0], P[n - 1], kCloseTolerance)) {
        c.kind = CurveKind::FullCut;
    } else if (Near(P[0], P[n - 2], kCloseTolerance) && Near(P[n - 1], P[n - 2], kCloseTolerance)) {
        P.pop_back();
        c.kind = CurveKind::FullCut;
    } else if (Near(P[1], P[n - 1], kCloseTolerance) && Near(P[0], P[1], kCloseTolerance)) {
        P.erase(P.begin());
        c.kind = CurveKind::FullCut;
    } else if (n > 4 && Distance(P[0], P[n - 1]) < kMaxGapForDirectionTest) {
        const double a = std::fabs(Heading(P[1], P[0]));
        const double b = std::fabs(Heading(P[n - 1], P[n - 2]));
        if (std::fabs(a - b) < kDirectionTolerance)
            c.kind = CurveKind::FullCut;
    }
}

// ContainsPoint with the answers the polyline's box (its measured bounds) already gives. Beside or beyond the
// box's y range no edge crosses the point's row; right of the box every edge has the point on its outer side;
// left of it every upward edge counts +1 and every downward one -1, which sums to whether the ends lie on
// different sides of the row. The floating-point signs agree with the full test in all of these cases.
bool ContainsPointInBox(const CCurve& c, CPoint pt)
{
    if (pt.y < c.minY || pt.y >= c.maxY || pt.x > c.maxX)
        return false;
    if (pt.x < c.minX)
        return (c.points.back().y > pt.y) != (c.points.front().y > pt.y);
    return ContainsPoint(c, pt.x, pt.y);
}

bool HoldsHeadOf(const CCurve& outer, const CCurve& inner)
{
    const auto& o = inner.points;
    return ContainsPointInBox(outer, o[0]) && ContainsPointInBox(outer, o[1]) && ContainsPointInBox(outer, o[2]);
}

} // namespace

bool ContainsPoint(const CCurve& curve, int32_t x, int32_t y)
{
    const auto& P = curve.points;
    int64_t winding = 0;
    for (std::size_t i = 0; i + 1 < P.size(); ++i) {
        const double isLeft = (static_cast<double>(P[i + 1].x) - P[i].x) * 0.025 * (static_cast<double>(y) - P[i].y) -
                              (static_cast<double>(x) - P[i].x) * 0.025 * (static_cast<double>(P[i + 1].y) - P[i].y);
        if (P[i].y <= y) {
            if (P[i + 1].y > y && isLeft > 0)
                ++winding;
        } else if (P[i + 1].y <= y && isLeft < 0) {
            --winding;
        }
    }
    return winding != 0;
}

void SplitNotches(COnePage& page)
{
    const std::size_t count = page.curves.size();
    for (std::size_t i = 0; i < count; ++i) {
        CCurve& c = *page.curves[i];
        auto& P = c.points;
        if (P.size() < 4)
            continue;
        if (IsNotch(P[0], P[1], P[2], P[3])) {
            SplitOff(page, c, {P[0], P[1], P[2], P[3]});
            P.erase(P.begin(), P.begin() + 3);
        }
        const std::size_t n = P.size();
        if (n >= 4 && IsNotch(P[n - 1], P[n - 2], P[n - 3], P[n - 4])) {
            SplitOff(page, c, {P[n - 1], P[n - 2], P[n - 3], P[n - 4]});
            P.resize(n - 3);
        }
    }
}

bool ResolveNesting(COnePage& page)
{
    const auto isContour = [](const CCurve& c) { return c.kind == CurveKind::FullCut && c.points.size() >= 4; };
    // Kinds only go from full cut to plot here, so the contours of the start are all that can take part.
    std::vector<CCurve*> contours;
    for (auto& curve : page.curves) {
        if (isContour(*curve))
            contours.push_back(curve.get());
    }
    if (contours.size() < 2)
        return true;
    // The points do not change while nesting is resolved, so one measurement serves every comparison.
    for (CCurve* c : contours)
        c->ComputeBounds();
    // A pair outside the candidates changes nothing whatever the kinds, so visiting only the candidates in
    // list order gives what comparing every pair in list order gives.
    const std::optional<std::vector<std::vector<uint32_t>>> candidates = NestingCandidates(contours);
    if (!candidates)
        return false;
    for (std::size_t i = 0; i < contours.size(); ++i) {
        CCurve* p = contours[i];
        if (!isContour(*p))
            continue;
        for (const uint32_t j : (*candidates)[i]) {
            CCurve* s = contours[j];
            if (!isContour(*s))
                continue;
            if (HoldsHeadOf(*p, *s))
                s->kind = CurveKind::Plot;
            if (HoldsHeadOf(*s, *p))
                p->kind = CurveKind::Plot;
            if (p->kind != CurveKind::FullCut || s->kind != CurveKind::FullCut)
                continue;
            if (s->minX >= p->minX && p->maxX >= s->maxX && p->minY <= s->minY && p->maxY >= s->maxY)
                s->kind = CurveKind::Plot;
            else if (!(s->minX > p->minX) && s->maxX >= p->maxX && s->minY <= p->minY && s->maxY >= p->maxY)
                p->kind = CurveKind::Plot;
        }
    }
    return true;
}

bool RecognizeOutlines(COnePage& page)
{
    if (page.curves.empty())
        return true;
    RequirePoints(page, "RecognizeOutlines");
    SetAllPlot(page);
    JoinOpenPieces(page);
    // Notches are split off as copies of their curve, so every kind is still plot for the second join.
    SplitNotches(page);
    JoinOpenPieces(page);
    for (auto& curve : page.curves)
        ClassifyContour(*curve);
    return ResolveNesting(page);
}

} // namespace qv
