#pragma once

#include <cstdint>

namespace qv {

// What the machine does along a curve (the code in CCurve::kind). Codes 0 and 1 are both plot work but must
// stay distinct: some consumers take kind <= 1, others exactly 1. Scoped by name, plain int32 by value.
struct CurveKind {
    enum : int32_t {
        PenZero = 0, // HP-GL pen 0, or a pen selection without a number
        Plot = 1,    // drawn by the inkjet heads
        HalfCut = 2, // the half-cut knife
        FullCut = 3, // the full-cut knife
    };
};

inline bool IsPlotWork(int32_t kind)
{
    return kind <= CurveKind::Plot;
}
inline bool IsCutWork(int32_t kind)
{
    return kind > CurveKind::Plot;
}

} // namespace qv
