#pragma once

#include "model/COnePage.h"

namespace qv {

// Joins cut curves (kind > 1) of one kind where one ends exactly where a later one starts: the later curve's
// points from its second on are appended and it is removed. A curve that took part in a join is scanned again
// until nothing more joins. Plot curves, curves of different kinds and reversed directions are left alone;
// the list order of the rest is kept. A cut curve without points is an InvalidArgument error.
void JoinTouchingCuts(COnePage& page);

} // namespace qv
