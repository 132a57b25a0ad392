#pragma once

#include <cstdint>

namespace qv {

// One vertex in plotter units of 1/40 mm.
struct CPoint {
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const CPoint&) const = default;
};

} // namespace qv
