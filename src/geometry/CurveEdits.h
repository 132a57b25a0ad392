#pragma once

#include "model/COnePage.h"

#include <cstdint>

namespace qv {

// The edits behind the drawing view's commands. None of them clears `selected`; the curves they keep stay in
// their relative order unless said otherwise.

// Rebuilds the list as the plot group (kind <= 1) and the cut group (kind > 1), each in its previous order;
// the plot group first when plotFirst.
void RegroupByKind(COnePage& page, bool plotFirst);

// `kind` on every selected curve.
void SetKindOfSelected(COnePage& page, int32_t kind);

// Reverse on every selected curve.
void ReverseSelected(COnePage& page);

// Removes every selected curve.
void DeleteSelected(COnePage& page);

// Removes every cut curve (kind > 1).
void DeleteCutCurves(COnePage& page);

// Removes every plot curve (kind 0 and 1).
void DeletePlotCurves(COnePage& page);

// kind = 1 on every curve.
void SetAllPlot(COnePage& page);

} // namespace qv
