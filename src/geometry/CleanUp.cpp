#include "geometry/CleanUp.h"

#include <algorithm>

namespace qv {

void RemoveDuplicatePoints(COnePage& page)
{
    for (auto& curve : page.curves) {
        auto& points = curve->points;
        points.erase(std::unique(points.begin(), points.end()), points.end());
    }
    std::erase_if(page.curves, [](const std::unique_ptr<CCurve>& curve) { return curve->points.size() <= 1; });
}

void SimplifyCurves(COnePage& page)
{
    for (auto& curve : page.curves)
        curve->RemoveCollinear();
    std::erase_if(page.curves, [](const std::unique_ptr<CCurve>& curve) { return curve->points.empty(); });
}

} // namespace qv
