#pragma once

namespace qv {

// The values this system uses for pi and 2 pi wherever angles are normalised or converted; the machine's
// results were tuned with these, not with the exact constants.
inline constexpr double kPi = 3.14159265359;
inline constexpr double kTwoPi = 6.28318530718;
inline constexpr double kHalfPi = 1.570796326795;

} // namespace qv
