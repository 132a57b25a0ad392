#include "Reference.h"

#include "model/CurveKind.h"

#include <cmath>
#include <cstdlib>

namespace qv::reference {

namespace {

double Dist(CPoint a, CPoint b)
{
    const double dx = static_cast<double>(a.x) - b.x;
    const double dy = static_cast<double>(a.y) - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

bool Box(CPoint a, CPoint b, int32_t tol)
{
    return std::llabs(int64_t{a.x} - b.x) <= tol && std::llabs(int64_t{a.y} - b.y) <= tol;
}

void AppendFrom(CCurve& to, const CCurve& from, std::size_t first)
{
    for (std::size_t i = first; i < from.points.size(); ++i)
        to.points.push_back(from.points[i]);
}

} // namespace

void MergeCurves(COnePage& page, bool selectedOnly, bool wide)
{
    const double tol = wide ? 20.0 : 1.0;
    std::vector<std::unique_ptr<CCurve>> S;
    std::vector<std::unique_ptr<CCurve>> rest;
    for (auto& c : page.curves) {
        const bool takes = selectedOnly ? c->selected != 0 : c->kind > 1;
        (takes ? S : rest).push_back(std::move(c));
    }
    page.curves = std::move(rest);
    std::size_t n = S.size();
    for (std::size_t k = 0; n >= 2 && k < n - 1; ++k) {
        CCurve& q = *S[k];
        if (q.points.size() < 2 || q.points.front() == q.points.back())
            continue;
        // After a join the scan starts again behind q with q's new ends; q is not tested for closure again.
        for (std::size_t m = k + 1; m < n; ++m) {
            CCurve& r = *S[m];
            if (r.points.size() < 2 || r.kind != q.kind || r.points.front() == r.points.back())
                continue;
            const CPoint qF = q.points.front(), qL = q.points.back(), rF = r.points.front(), rL = r.points.back();
            if (Dist(qL, rF) < tol) {
            } else if (Dist(qL, rL) < tol) {
                r.Reverse();
            } else if (Dist(qF, rF) < tol) {
                q.Reverse();
            } else if (Dist(qF, rL) < tol) {
                q.Reverse();
                r.Reverse();
            } else {
                continue;
            }
            AppendFrom(q, r, 0);
            S.erase(S.begin() + static_cast<std::ptrdiff_t>(m));
            --n;
            m = k;
        }
    }
    for (auto& c : S)
        page.curves.push_back(std::move(c));
}

void JoinChains(COnePage& page, int32_t tol)
{
    auto& C = page.curves;
    for (std::size_t i = 0; i + 1 < C.size(); ++i) {
        CCurve& p = *C[i];
        if (p.notch == 1 || (Box(p.points.front(), p.points.back(), tol) && p.points.size() > 3))
            continue;
        for (std::size_t m = i + 1; m < C.size(); ++m) {
            CCurve& q = *C[m];
            if (q.notch == 1 || q.kind != p.kind ||
                (Box(q.points.front(), q.points.back(), tol) && q.points.size() > 3))
                continue;
            const CPoint F = p.points.front(), L = p.points.back(), G = q.points.front(), H = q.points.back();
            if (Box(L, G, tol)) {
            } else if (Box(F, G, tol)) {
                p.Reverse();
            } else if (Box(L, H, tol)) {
                q.Reverse();
            } else if (Box(F, H, tol)) {
                p.Reverse();
                q.Reverse();
            } else {
                continue;
            }
            AppendFrom(p, q, 1);
            C.erase(C.begin() + static_cast<std::ptrdiff_t>(m));
            m = i;
        }
    }
}

void JoinTouchingCuts(COnePage& page)
{
    auto& C = page.curves;
    for (std::size_t j = 0; j < C.size(); ++j) {
        CCurve& p = *C[j];
        if (p.kind <= 1)
            continue;
        bool joined = true;
        while (joined) {
            joined = false;
            std::size_t k = j + 1;
            while (k < C.size()) {
                CCurve& q = *C[k];
                if (q.kind == p.kind && p.points.back() == q.points.front()) {
                    AppendFrom(p, q, 1);
                    C.erase(C.begin() + static_cast<std::ptrdiff_t>(k));
                    joined = true;
                } else {
                    ++k;
                }
            }
        }
    }
}

} // namespace qv::reference
