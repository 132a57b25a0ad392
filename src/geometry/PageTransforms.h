#pragma once

#include "app/MachineParams.h"
#include "model/CCurve.h"
#include "model/COnePage.h"

#include <cstdint>

namespace qv {

// Whole-page moves and corrections applied by the import and by the job preparation. Curves are processed in
// list order; only the operations that say so touch the page bounds.

// Scale(sx, sy) on every curve; bounds are left stale.
void ScaleAll(COnePage& page, double sx, double sy);

// Every y grows by `margin`; maxY grows with it and minY becomes 0, the margin counting as part of the page.
// A page without curves is left as it is.
void AddYMargin(COnePage& page, int32_t margin);

// Moves the drawing right and adds the block of short plot lines the heads fire through before a job:
// "HP45" 40 bands every 200 units, "IUT308" 20 bands every 400 units, each band
// 35 lines high. The page bounds are not updated.
void AddCleaningPattern(COnePage& page, Cartridge cartridge);

// Shears every curve against the machine's perpendicularity error (50 to 150, neutral 100, one step 0.01
// degree), using the page's stored maxX as the reference for negative angles.
void CorrectSkew(COnePage& page, int32_t perpendicularity);

// y += N(tan(angle) * x) for angle >= 0, else y += N(|tan(angle)| * (refX - x)), N(v) = floor(v + 0.5).
// x and the bounds stay.
void ShearY(CCurve& curve, double angle, int32_t refX);

// Translate so that minX (MoveToLeft) or minY (MoveToBottom) becomes 0, using the page's stored bounds.
// A page without curves is left as it is.
void MoveToLeft(COnePage& page);
void MoveToBottom(COnePage& page);

} // namespace qv
