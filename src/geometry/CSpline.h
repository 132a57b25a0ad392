#pragma once

#include "model/CCurve.h"
#include "model/CPoint.h"

#include <cstdint>
#include <vector>

namespace qv {

// One spline fit: a parametric cubic through the thinned control points, each segment a Hermite curve whose
// tangents are scaled between neighbours by their chord length ratio, with natural end conditions, sampled
// at the point spacing FitDistHpgl. Single precision where the machine's fits were computed in float, so the
// sampled points come out the same.
class CSpline {
public:
    // fitDistHpgl: sampling step in plotter units; below 1 it counts as 1.
    explicit CSpline(int32_t fitDistHpgl);

    std::vector<CPoint> controlPoints;
    std::vector<CPoint> outputPoints;

    int32_t FitDist() const { return fitDist; }

    // Merges neighbouring control points closer than d into their midpoint (the first point stays), then drops
    // the last but one point when it lies closer than d to the last.
    void ThinControlPoints(double d);

    // Fills outputPoints with the sampled segments: each segment's start point, then its s samples up to and
    // including its end, so inner control points appear twice in a row. Consecutive control points that are
    // equal in single precision are dropped first, as a zero-length chord would make the tangent system
    // singular; fewer than two distinct points leave outputPoints empty.
    void GenerateSpline();

private:
    int32_t fitDist;
};

// Replaces the curve's points by a fitted spline: control points thinned at 2.5 × FitDistHpgl, samples every
// FitDistHpgl units. A curve with fewer than two distinct points stays as it is.
void FitSpline(CCurve& curve, int32_t fitDistHpgl);

} // namespace qv
