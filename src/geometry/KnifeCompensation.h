#pragma once

#include "model/CCurve.h"
#include "model/COnePage.h"

#include <cstdint>

namespace qv {

// Sharp-angle compensation: after every corner that turns by more than 45 degrees, with legs of at least 60
// units on both sides, the knife steps out to the circle of radius sharpAngleCompensite around the corner and
// follows it round to the outgoing leg, so the blade turns before it cuts on. Radii below 5 change nothing.
void CompensateCorners(CCurve& curve, int32_t sharpAngleCompensite);

// Start/end compensation: a curve of length 400 or more has its first segment prolonged backwards and its last
// segment forwards by startEndCompensite units; the old end points are replaced, the point count stays.
void ExtendEnds(CCurve& curve, int32_t startEndCompensite);

// CompensateCorners on every curve whose kind is not Plot: half cuts, full cuts and pen 0 curves.
void CompensateCutCorners(COnePage& page, int32_t sharpAngleCompensite);

// ExtendEnds on every curve whose kind is not Plot.
void ExtendCutEnds(COnePage& page, int32_t startEndCompensite);

} // namespace qv
