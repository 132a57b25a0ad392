#pragma once

#include "model/COnePage.h"

namespace qv {

// Joins open curves of one kind end to end. Taking part are the selected curves of any kind (selectedOnly)
// or every cut curve (kind > 1); they move, in order, to the page's scratch list, are joined there and are
// appended behind all other curves, merged or not. Two ends join when their Euclidean distance is below
// 20 units (wide) or 1 unit; each curve takes, in list order, the first later curve that meets one of its
// ends, trying its last point against the other's first and last, then its first point against the other's
// first and last, reversing whichever curve needs it, and appends all of the other's points (the junction
// point appears twice). Curves of fewer than two points and closed curves (first point equal to last) are
// never joined. The joined curve keeps the members of the curve that absorbed the other.
void MergeCurves(COnePage& page, bool selectedOnly, bool wide);

} // namespace qv
