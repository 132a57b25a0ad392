#pragma once

#include "model/COnePage.h"

namespace qv {

// The bounds and extents the output stages read. Only ComputePageBounds measures the curves; the others read
// the curves' stored bounds, so the job preparation runs ComputePageBounds first.

// ComputeBounds on every curve, then the page bounds are their union. A page without curves keeps its
// bounds. A curve without points is an InvalidArgument error.
void ComputePageBounds(COnePage& page);

// plotMaxX, plotMaxY: the largest maxX and maxY over the plot curves (kind <= 1), never below 0.
void ComputePlotExtent(COnePage& page);

// The bounds of the full-cut (kind 3) or half-cut (kind 2) curves and hasFullCut / hasHalfCut; all 0 when
// the page holds none. With `withHalfCuts` (one knife cuts both) the full-cut statistics take in the half-cut
// curves as well.
void ComputeFullCutBounds(COnePage& page, bool withHalfCuts = false);
void ComputeHalfCutBounds(COnePage& page);

} // namespace qv
