#pragma once

#include "model/CCurve.h"
#include "model/COnePage.h"

#include <vector>

namespace qv {

// One merge pass over a point list: from point 1 on, a pair closer than `distance` becomes its midpoint and
// the scan goes on after the pair, so a merged point is not compared again in the same pass. The first point
// never moves. Returns whether anything merged. For a curve's points and a spline's control points alike.
template <class Points>
bool MergeCloseNeighbours(Points& points, double distance);

// Point smoothing: neighbouring points closer than 4, 8, 12, 20, 26 and 32 units, stage by stage, are merged
// into their midpoint. The first point never moves; the last may merge with the one before it.
void MergeClosePoints(CCurve& curve);

// MergeClosePoints on every cut curve (kind > 1), in list order.
void SmoothCutCurves(COnePage& page);

} // namespace qv
