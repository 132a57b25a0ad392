#include "geometry/JoinChains.h"

#include "geometry/CurveListHelpers.h"
#include "geometry/EndPointIndex.h"

#include <algorithm>

namespace qv {

void JoinChains(COnePage& page, int32_t tol)
{
    RequirePoints(page, "JoinChains");
    auto& curves = page.curves;
    const auto joinable = [tol](const CCurve& c) {
        return c.notch != 1 && !(c.points.size() > 3 && Near(c.points.front(), c.points.back(), tol));
    };

    EndPointIndex ends(std::max(tol, 0));
    for (uint32_t id = 0; id < curves.size(); ++id) {
        const CCurve& c = *curves[id];
        if (joinable(c)) {
            ends.Add(id, c.kind, c.points.front());
            ends.Add(id, c.kind, c.points.back());
        }
    }

    CloseHolesOnExit closeHoles(curves);
    const auto near = [tol](CPoint a, CPoint b) { return Near(a, b, tol); };
    for (uint32_t i = 0; i < curves.size(); ++i) {
        CCurve* p = curves[i].get();
        if (p == nullptr || !joinable(*p))
            continue;
        while (const auto next = ends.FirstAfterEither(i, p->kind, p->points.front(), p->points.back(), near)) {
            const uint32_t m = *next;
            const CPoint F = p->points.front();
            const CPoint L = p->points.back();
            const auto& q = curves[m]->points;
            // Orientations in the order L-G, F-G, L-H, F-H: p reversed when only its first point meets,
            // q reversed when only its last point does.
            const CPoint G = q.front();
            const CPoint H = q.back();
            const bool reverseP = !Near(L, G, tol) && (Near(F, G, tol) || !Near(L, H, tol));
            const bool reverseQ = !Near(L, G, tol) && !Near(F, G, tol);
            if (reverseP)
                p->Reverse();
            if (reverseQ)
                p->points.insert(p->points.end(), q.rbegin() + 1, q.rend());
            else
                p->points.insert(p->points.end(), q.begin() + 1, q.end());
            ends.Remove(m);
            curves[m].reset();
        }
    }
}

} // namespace qv
