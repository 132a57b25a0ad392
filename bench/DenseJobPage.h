#pragma once

#include "model/COnePage.h"

#include <cmath>
#include <cstdint>
#include <random>

namespace qv::bench {

// The dense job page: 1600 mm x 1000 mm holding 500 garment pieces in a 25 x 20 grid. Every piece has a closed
// cut outline of 200 points (a wobbly ellipse, every third a half cut; radii from 10 to 28 mm, so its segments
// run from about 0.3 to 0.9 mm and the shorter ones fall under the thinning threshold) and 400 plot points: an
// inner outline and three zigzag strokes of 100 points each. 100 000 cut points, 200 000 plot points.
inline qv::COnePage DenseJobPage()
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> wobble(0.97, 1.03);
    qv::COnePage page;
    constexpr double kTwoPi = 6.28318530718;
    for (int piece = 0; piece < 500; ++piece) {
        const double cx = (piece % 25) * 2560.0 + 1280;
        const double cy = (piece / 25) * 2000.0 + 1000;
        const double r = 400 + (piece % 10) * 70;
        qv::CCurve& cut = page.AddCurve();
        cut.kind = piece % 3 == 0 ? qv::CurveKind::HalfCut : qv::CurveKind::FullCut;
        for (int k = 0; k < 199; ++k) {
            const double a = k * kTwoPi / 199;
            const double w = wobble(rng);
            cut.AddPoint(static_cast<int32_t>(cx + 1.2 * r * w * std::cos(a)),
                         static_cast<int32_t>(cy + r * w * std::sin(a)));
        }
        cut.points.push_back(cut.points.front());

        qv::CCurve& outline = page.AddCurve();
        for (int k = 0; k < 100; ++k) {
            const double a = k * kTwoPi / 99;
            outline.AddPoint(static_cast<int32_t>(cx + 0.9 * r * std::cos(a)),
                             static_cast<int32_t>(cy + 0.75 * r * std::sin(a)));
        }
        for (int stroke = 0; stroke < 3; ++stroke) {
            qv::CCurve& zigzag = page.AddCurve();
            const double y0 = cy - 0.3 * r + stroke * 0.3 * r;
            for (int k = 0; k < 100; ++k)
                zigzag.AddPoint(static_cast<int32_t>(cx - 0.6 * r + k * 0.012 * r),
                                static_cast<int32_t>(y0 + (k % 2 == 0 ? -40 : 40)));
        }
    }
    return page;
}

} // namespace qv::bench
