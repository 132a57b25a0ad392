#pragma once

#include "model/COnePage.h"

#include <cstdint>

namespace qv {

// The rebuild of a page's cut curves for a smoother knife path: cut curves are broken at segments longer than
// 20 mm and at vertices turning by more than 15 degrees, each stretch longer than 10 mm with more than four
// points is replaced by a spline sampled every fitDistHpgl units (keeping its exact end points), and the pieces
// are joined end to end again behind the plot curves. A page is rebuilt once: `optimized` is set afterwards
// and a page that has it set is left alone.
void OptimizeCutCurves(COnePage& page, int32_t fitDistHpgl);

// Cuts every cut curve of three or more points apart at each segment longer than `limit` units; such a segment
// becomes a two-point curve of its own. The pieces follow their source in the list. Curves of at most one
// point, of any kind, are removed afterwards.
void SplitLongSegments(COnePage& page, double limit);

// Cuts every cut curve apart at each vertex whose turn exceeds `maxTurn` radians; the corner point belongs to
// both pieces, which follow their source in the list.
void SplitAtCorners(COnePage& page, double maxTurn);

// RemoveCollinear on every cut curve, in list order.
void RemoveCollinearCuts(COnePage& page);

} // namespace qv
