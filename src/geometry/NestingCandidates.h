#pragma once

#include "model/CCurve.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qv {

// For the nesting of contours: which pairs can decide anything about each other. One contour can only count
// as inside another, by its points or by its box, when its first point lies in the other's region: the
// other's closed box, or, left of that box and within its rows, between the rows of the other's two ends
// (where the open polyline's winding test says inside). Comparing every pair is quadratic; the first points
// sit in a grid of about one cell per contour, and each region asks only the cells it covers.
//
// Contours stacked inside one another make every pair a candidate, so the pairs are bounded: past
// kMaxNestingCandidates entries (each pair counts twice) the answer is nullopt.
inline constexpr std::size_t kMaxNestingCandidates = 16'000'000;

// Contours are known by their position in the span; the bounds must be measured and every contour must have
// points. For each contour the others that may matter, in ascending position, either way round.
std::optional<std::vector<std::vector<uint32_t>>> NestingCandidates(std::span<const CCurve* const> contours);

} // namespace qv
