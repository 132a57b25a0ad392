#pragma once

#include "model/COnePage.h"

namespace qv {

// Removal of degenerate points and curves, run by the import and before a job.

// Consecutive equal points are reduced to one; a curve left with fewer than two points is removed.
void RemoveDuplicatePoints(COnePage& page);

// RemoveCollinear on every curve; a curve left without points is removed.
void SimplifyCurves(COnePage& page);

} // namespace qv
