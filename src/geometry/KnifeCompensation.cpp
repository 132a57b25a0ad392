#include "geometry/KnifeCompensation.h"

#include "geometry/PointMath.h"
#include "model/Rounding.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace qv {

namespace {

constexpr int32_t kMinCornerRadius = 5;
constexpr double kMinLeg = 60;
constexpr double kMinCornerDegrees = 45;
constexpr double kArcStepDegrees = 20;
constexpr double kArcStepRounding = 0.9;
constexpr double kMinExtendLength = 400;

// The point at distance `radius` from `centre` in direction `angle`.
CPoint PointAt(const CPoint& centre, double angle, double radius)
{
    return {TruncToInt32(centre.x + std::cos(angle) * radius), TruncToInt32(centre.y + std::sin(angle) * radius)};
}

} // namespace

void CompensateCorners(CCurve& curve, int32_t sharpAngleCompensite)
{
    const PointList& in = curve.points;
    if (in.size() < 3 || sharpAngleCompensite < kMinCornerRadius)
        return;
    // Each corner B is judged with the point before it as the path now runs: after a compensated corner that is
    // its last arc point, not the original vertex.
    PointList out{in[0]};
    for (std::size_t b = 1; b + 1 < in.size(); ++b) {
        const CPoint A = out.back();
        const CPoint& B = in[b];
        const CPoint& C = in[b + 1];
        out.push_back(B);
        if (Distance(A, B) < kMinLeg || Distance(B, C) < kMinLeg)
            continue;
        const double a1 = Heading(A, B);
        const double t = NormalizeTurn(Heading(B, C) - a1);
        const double degrees = std::abs(t) * 180 / kPi;
        if (degrees <= kMinCornerDegrees)
            continue;
        const int32_t m = TruncToInt32(degrees / kArcStepDegrees + kArcStepRounding);
        for (int32_t i = 1; i <= m; ++i)
            out.push_back(PointAt(B, a1 + i * t / m, sharpAngleCompensite));
    }
    out.push_back(in.back());
    curve.points = std::move(out);
}

void ExtendEnds(CCurve& curve, int32_t startEndCompensite)
{
    curve.ComputeLength();
    PointList& p = curve.points;
    if (curve.length < kMinExtendLength || p.size() < 2)
        return;
    const std::size_t n = p.size();
    const CPoint start = PointAt(p[0], Heading(p[0], p[1]), -static_cast<double>(startEndCompensite));
    const CPoint end = PointAt(p[n - 1], Heading(p[n - 2], p[n - 1]), startEndCompensite);
    p.front() = start;
    p.back() = end;
}

void CompensateCutCorners(COnePage& page, int32_t sharpAngleCompensite)
{
    for (auto& curve : page.curves) {
        if (curve->kind != CurveKind::Plot)
            CompensateCorners(*curve, sharpAngleCompensite);
    }
}

void ExtendCutEnds(COnePage& page, int32_t startEndCompensite)
{
    for (auto& curve : page.curves) {
        if (curve->kind != CurveKind::Plot)
            ExtendEnds(*curve, startEndCompensite);
    }
}

} // namespace qv
