#include "geometry/JoinTouchingCuts.h"

#include "geometry/CurveListHelpers.h"
#include "geometry/EndPointIndex.h"
#include "model/CurveKind.h"

namespace qv {

void JoinTouchingCuts(COnePage& page)
{
    auto& curves = page.curves;
    const auto isCut = [](const CCurve& c) { return IsCutWork(c.kind); };
    RequirePoints(page, "JoinTouchingCuts", isCut);

    // Start points only: a join needs an exact match, so the reach is 0.
    EndPointIndex starts(0);
    for (uint32_t id = 0; id < curves.size(); ++id) {
        if (isCut(*curves[id]))
            starts.Add(id, curves[id]->kind, curves[id]->points.front());
    }

    CloseHolesOnExit closeHoles(curves);
    for (uint32_t j = 0; j < curves.size(); ++j) {
        CCurve* p = curves[j].get();
        if (p == nullptr || !isCut(*p))
            continue;
        // One scan runs forward from the curve after p; after a join it goes on behind the joined curve with
        // p's new end. A scan that joined something is followed by a fresh one.
        uint32_t scanAfter = j;
        bool joinedInScan = false;
        for (;;) {
            const CPoint end = p->points.back();
            const auto next = starts.FirstAfter(scanAfter, p->kind, end, [&](CPoint start) { return start == end; });
            if (next) {
                auto& q = curves[*next]->points;
                p->points.insert(p->points.end(), q.begin() + 1, q.end());
                curves[*next].reset();
                starts.Remove(*next);
                scanAfter = *next;
                joinedInScan = true;
            } else if (joinedInScan) {
                scanAfter = j;
                joinedInScan = false;
            } else {
                break;
            }
        }
    }
}

} // namespace qv
