#pragma once

#include "model/COnePage.h"

#include <cstdint>
#include <cstdlib>

namespace qv {

// The nearness of outline recognition: a square box of half-width `tol` around b, bounds included.
inline bool Near(CPoint a, CPoint b, int32_t tol)
{
    return std::llabs(int64_t{a.x} - b.x) <= tol && std::llabs(int64_t{a.y} - b.y) <= tol;
}

// Joins open curves of one kind whose ends lie within the box tolerance `tol`, keeping list order: each
// curve takes, in list order, the first later curve with an end near one of its ends, testing its last point
// against the other's first, its first point against the other's first, its last against the other's last,
// then its first against the other's last, reversing whichever curve needs it, and appends the other's points
// from the second on. Notch curves and closed curves (ends near each other and more than three points) are
// never joined. A curve without points is an InvalidArgument error.
void JoinChains(COnePage& page, int32_t tol);

} // namespace qv
