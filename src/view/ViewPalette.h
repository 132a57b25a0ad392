#pragma once

#include "model/CurveKind.h"
#include "view/DisplayList.h"

#include <cstdint>

namespace qv {

// The drawing view's colours and fonts.
inline constexpr Rgb kViewBackground{0, 0, 0};
inline constexpr Rgb kFrameColour{0, 240, 0};
inline constexpr Rgb kGridLabelColour{0, 255, 0};
inline constexpr Rgb kGridLineColour{20, 60, 60};
inline constexpr Rgb kPlotColour{0, 0, 255};
inline constexpr Rgb kHalfCutColour{255, 255, 0};
inline constexpr Rgb kFullCutColour{255, 0, 0};
inline constexpr Rgb kSequenceColour{160, 222, 150};
inline constexpr Rgb kArrowFill{255, 255, 255};
inline constexpr Rgb kBandColour{0, 0, 0};

// Grid labels take the surface's font, the cut sequence numbers Arial (Liberation Sans has its metrics).
inline constexpr Font kGridLabelFont{};
inline constexpr Font kSequenceFont{"Arial", 16};

// Plot work blue, half cuts yellow, full cuts and any other kind above them red.
inline Rgb KindColour(int32_t kind)
{
    if (IsPlotWork(kind))
        return kPlotColour;
    return kind == CurveKind::HalfCut ? kHalfCutColour : kFullCutColour;
}

} // namespace qv
