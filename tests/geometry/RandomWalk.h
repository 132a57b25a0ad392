#pragma once

#include "model/CPoint.h"

#include <cstdint>
#include <random>
#include <vector>

namespace qv::test {

// A random walk of `n` points with steps of up to `maxStep` units in each axis: corners of every angle,
// short and long legs, now and then a repeated point.
inline std::vector<CPoint> RandomWalk(std::mt19937& rng, int n, int32_t maxStep)
{
    std::uniform_int_distribution<int32_t> step(-maxStep, maxStep);
    std::vector<CPoint> points;
    CPoint p{step(rng) * 10, step(rng) * 10};
    for (int i = 0; i < n; ++i) {
        points.push_back(p);
        p.x += step(rng);
        p.y += step(rng);
    }
    return points;
}

} // namespace qv::test
