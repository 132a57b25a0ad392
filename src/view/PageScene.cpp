#include "view/PageScene.h"

#include "model/Angles.h"
#include "model/CurveKind.h"
#include "view/ViewPalette.h"

#include <cmath>
#include <cstdio>

namespace qv {

namespace {

constexpr double kArrowLength = 15;
constexpr double kArrowHalfWidth = 6;

void AddCurve(PageScene& scene, const CCurve& curve, int32_t index, std::size_t sequence)
{
    SceneCurve c;
    c.curve = index;
    c.pen = Pen{KindColour(curve.kind), curve.lineStyle == 1 ? LineStyle::Dashed : LineStyle::Solid};
    c.selected = curve.selected != 0;
    c.first = static_cast<uint32_t>(scene.points.size());
    c.count = static_cast<uint32_t>(curve.points.size());
    scene.points.insert(scene.points.end(), curve.points.begin(), curve.points.end());
    if (IsCutWork(curve.kind) && c.selected && c.count >= 2) {
        // The first segment's direction in window coordinates, whose y runs downwards.
        const CPoint& p0 = curve.points[0];
        const CPoint& p1 = curve.points[1];
        const double a = std::atan2(static_cast<double>(p0.y) - p1.y, static_cast<double>(p1.x) - p0.x);
        const double angles[3] = {a, a + kHalfPi, a - kHalfPi};
        const double lengths[3] = {kArrowLength, kArrowHalfWidth, kArrowHalfWidth};
        c.arrow = true;
        for (int k = 0; k < 3; ++k) {
            c.arrowX[k] = std::cos(angles[k]) * lengths[k];
            c.arrowY[k] = std::sin(angles[k]) * lengths[k];
        }
    }
    if (sequence > 0 && c.count > 0) {
        char text[24];
        std::snprintf(text, sizeof text, "%02zu", sequence);
        c.sequence = text;
        c.sequenceAt = {static_cast<int32_t>((int64_t{curve.minX} + curve.maxX) / 2),
                        static_cast<int32_t>((int64_t{curve.minY} + curve.maxY) / 2)};
    }
    scene.curves.push_back(std::move(c));
}

} // namespace

PageScene BuildPageScene(const COnePage& page, bool displaySequence)
{
    PageScene scene;
    std::size_t points = 0;
    for (const auto& curve : page.curves)
        points += curve->points.size();
    scene.points.reserve(points);
    for (std::size_t i = 0; i < page.curves.size(); ++i) {
        if (page.curves[i]->kind == CurveKind::Plot)
            AddCurve(scene, *page.curves[i], static_cast<int32_t>(i), 0);
    }
    std::size_t sequence = 0;
    for (std::size_t i = 0; i < page.curves.size(); ++i) {
        if (IsCutWork(page.curves[i]->kind)) {
            ++sequence;
            AddCurve(scene, *page.curves[i], static_cast<int32_t>(i), displaySequence ? sequence : 0);
        }
    }
    return scene;
}

} // namespace qv
