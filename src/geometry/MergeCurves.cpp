#include "geometry/MergeCurves.h"

#include "geometry/EndPointIndex.h"
#include "geometry/PointMath.h"
#include "model/CurveKind.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace qv {

namespace {

bool Joinable(const CCurve& c)
{
    return c.points.size() >= 2 && c.points.front() != c.points.back();
}

// Appends all of r to q in the first of the four orientations whose ends meet: q's last point against r's
// first and last, then q's first point (q reversed) against r's first and last.
void Join(CCurve& q, const CCurve& r, double tol)
{
    const auto near = [tol](CPoint a, CPoint b) { return Distance(a, b) < tol; };
    const CPoint qL = q.points.back();
    const CPoint qF = q.points.front();
    const auto& rp = r.points;
    const bool atLast = near(qL, rp.front()) || near(qL, rp.back());
    const bool reverseR = atLast ? !near(qL, rp.front()) : !near(qF, rp.front());
    if (!atLast)
        q.Reverse();
    if (reverseR)
        q.points.insert(q.points.end(), rp.rbegin(), rp.rend());
    else
        q.points.insert(q.points.end(), rp.begin(), rp.end());
}

// The participants, owned here while they sit in the page's scratch list; on leaving, however that happens,
// the survivors go back behind the other curves in scratch order and the scratch list is emptied.
class ScratchList {
public:
    ScratchList(COnePage& page, std::vector<std::unique_ptr<CCurve>> taking) : page_(page), owned_(std::move(taking))
    {
        page_.scratchCurves.clear();
        for (const auto& curve : owned_)
            page_.scratchCurves.push_back(curve.get());
    }
    ScratchList(const ScratchList&) = delete;
    ScratchList& operator=(const ScratchList&) = delete;
    ~ScratchList()
    {
        for (auto& curve : owned_) {
            if (curve)
                page_.curves.push_back(std::move(curve));
        }
        page_.scratchCurves.clear();
    }

    uint32_t size() const { return static_cast<uint32_t>(owned_.size()); }
    CCurve* at(uint32_t i) const { return page_.scratchCurves[i]; }
    void Destroy(uint32_t i)
    {
        page_.scratchCurves[i] = nullptr;
        owned_[i].reset();
    }

private:
    COnePage& page_;
    std::vector<std::unique_ptr<CCurve>> owned_;
};

} // namespace

void MergeCurves(COnePage& page, bool selectedOnly, bool wide)
{
    const double tol = wide ? 20.0 : 1.0;
    const auto takesPart = [selectedOnly](const CCurve& c) {
        return selectedOnly ? c.selected != 0 : IsCutWork(c.kind);
    };

    std::vector<std::unique_ptr<CCurve>> staying;
    std::vector<std::unique_ptr<CCurve>> taking;
    for (auto& curve : page.curves)
        (takesPart(*curve) ? taking : staying).push_back(std::move(curve));
    page.curves = std::move(staying);
    ScratchList scratch(page, std::move(taking));

    // An end within the distance differs by less than tol in each coordinate.
    EndPointIndex ends(static_cast<int32_t>(std::ceil(tol)) - 1);
    for (uint32_t id = 0; id < scratch.size(); ++id) {
        const CCurve& c = *scratch.at(id);
        if (Joinable(c)) {
            ends.Add(id, c.kind, c.points.front());
            ends.Add(id, c.kind, c.points.back());
        }
    }

    const auto near = [tol](CPoint a, CPoint b) { return Distance(a, b) < tol; };
    const auto firstNear = [&](uint32_t k, const CCurve& q, CPoint p) {
        return ends.FirstAfter(k, q.kind, p, [&](CPoint end) { return near(p, end); });
    };
    for (uint32_t k = 0; k < scratch.size(); ++k) {
        CCurve* q = scratch.at(k);
        if (q == nullptr || !Joinable(*q))
            continue;
        // A join appends at q's last point, so its first point usually stays; the curve found there stays the
        // first one near it until it is itself joined, as joins only remove curves.
        std::optional<uint32_t> atFirst = firstNear(k, *q, q->points.front());
        for (;;) {
            const CPoint first = q->points.front();
            const std::optional<uint32_t> atLast = firstNear(k, *q, q->points.back());
            if (!atLast && !atFirst)
                break;
            const uint32_t m = atLast && atFirst ? std::min(*atLast, *atFirst) : atLast ? *atLast : *atFirst;
            Join(*q, *scratch.at(m), tol);
            ends.Remove(m);
            scratch.Destroy(m);
            if (q->points.front() != first || atFirst == m)
                atFirst = firstNear(k, *q, q->points.front());
        }
    }
}

} // namespace qv
