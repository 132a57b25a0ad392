#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace qv {

// Conversions of computed coordinates to int32. A value outside the int32 range saturates at the limit and
// NaN becomes 0, so no conversion is ever undefined whatever a drawing or a calculation produces.

inline int32_t SaturateToInt32(int64_t v)
{
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v < lo ? lo : v > hi ? hi : v);
}

// Truncation toward zero: the default way a computed coordinate becomes an integer.
inline int32_t TruncToInt32(double v)
{
    if (std::isnan(v))
        return 0;
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

// Rounding to the nearest integer, floor(v + 0.5).
inline int32_t RoundToInt32(double v)
{
    return TruncToInt32(std::floor(v + 0.5));
}

} // namespace qv
