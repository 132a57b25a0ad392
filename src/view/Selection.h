#pragma once

#include "app/CSetDisp.h"
#include "model/COnePage.h"
#include "view/ScreenGeometry.h"

namespace qv {

// Toggles the selection of the first curve under window point `p`, looking at the pen-0 curves first, then
// the plot curves, the half cuts and the full cuts (with any kind above them), each in list order; so a plot
// line wins over a cut line at the same place. False when no curve is there.
bool SelectAt(COnePage& page, const CSetDisp& disp, ScreenPoint p);

// Selects every curve that lies wholly inside `r`, and with `crossing` also every curve with a segment of at
// least 5 plotter units that crosses one of its edges. Measures each curve's bounds on the way; never clears
// a selection.
void SelectInRect(COnePage& page, const CSetDisp& disp, const ScreenRect& r, bool crossing);

// A drag of the left button: the band from where it went down to where the mouse is. Dragged to the right
// it selects what it crosses, to the left only what it encloses.
struct RubberBand {
    ScreenRect rect;
    bool crossing = false;
};
RubberBand BandOf(ScreenPoint anchor, ScreenPoint to);
// A band no wider and no taller than 10 pixels counts as a click at the release point.
bool IsClick(const RubberBand& band);

// What the release of the left button at `to` selects after a press at `anchor`: a click toggles the curve
// under `to`, a band selects what it encloses or crosses.
void SelectOnRelease(COnePage& page, const CSetDisp& disp, ScreenPoint anchor, ScreenPoint to);

} // namespace qv
