#pragma once

#include "model/Angles.h"
#include "model/CPoint.h"

#include <cmath>

namespace qv {

// Euclidean distance in double; coordinates are widened first, so no difference overflows.
inline double Distance(const CPoint& a, const CPoint& b)
{
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

// Direction of the segment from `from` to `to`, atan2(dy, dx); a zero-length segment has direction 0.
inline double Heading(const CPoint& from, const CPoint& to)
{
    return std::atan2(static_cast<double>(to.y) - from.y, static_cast<double>(to.x) - from.x);
}

// Brings a difference of two headings into the range above -pi up to pi.
inline double NormalizeTurn(double t)
{
    if (t > kPi)
        return t - kTwoPi;
    if (t <= -kPi)
        return t + kTwoPi;
    return t;
}

// The turn at `b` on the way from `a` through `b` to `c`, normalised.
inline double TurnAt(const CPoint& a, const CPoint& b, const CPoint& c)
{
    return NormalizeTurn(Heading(b, c) - Heading(a, b));
}

// Midpoint with each half an integer division truncating toward zero, summed in 64 bits.
inline CPoint Midpoint(const CPoint& a, const CPoint& b)
{
    return {static_cast<int32_t>((int64_t{a.x} + b.x) / 2), static_cast<int32_t>((int64_t{a.y} + b.y) / 2)};
}

} // namespace qv
