#include "Reference.h"

#include "geometry/OutlineRecognition.h"
#include "geometry/PageStatistics.h"
#include "model/PageState.h"

#include <algorithm>

namespace qv::reference {

namespace {

__extension__ typedef __int128 Int128;

void AppendAll(CCurve& to, const CCurve& from)
{
    to.points.insert(to.points.end(), from.points.begin(), from.points.end());
}

} // namespace

void ResolveNesting(COnePage& page)
{
    auto& C = page.curves;
    const std::size_t count = C.size();
    for (std::size_t pi = 0; pi < count; ++pi) {
        CCurve& p = *C[pi];
        if (p.points.size() < 4 || p.kind != 3)
            continue;
        for (std::size_t si = 0; si < C.size(); ++si) {
            CCurve& s = *C[si];
            if (si == pi || s.kind != 3 || s.points.size() < 4)
                continue;
            const auto& P = p.points;
            const auto& Q = s.points;
            if (ContainsPoint(p, Q[0].x, Q[0].y) && ContainsPoint(p, Q[1].x, Q[1].y) &&
                ContainsPoint(p, Q[2].x, Q[2].y))
                s.kind = 1;
            if (ContainsPoint(s, P[0].x, P[0].y) && ContainsPoint(s, P[1].x, P[1].y) &&
                ContainsPoint(s, P[2].x, P[2].y))
                p.kind = 1;
            p.ComputeBounds();
            s.ComputeBounds();
            if (p.kind == 3 && s.kind == 3) {
                if (s.minX >= p.minX && p.maxX >= s.maxX && p.minY <= s.minY && p.maxY >= s.maxY)
                    s.kind = 1;
                else if (!(s.minX > p.minX) && s.maxX >= p.maxX && s.minY <= p.minY && s.maxY >= p.maxY)
                    p.kind = 1;
            }
        }
    }
}

namespace {

void ExplodeLiterally(COnePage& page)
{
    std::vector<std::unique_ptr<CCurve>> out;
    for (auto& c : page.curves) {
        if (c->points.size() < 2)
            continue;
        if (c->points.size() == 2) {
            out.push_back(std::move(c));
            continue;
        }
        for (std::size_t i = 0; i + 1 < c->points.size(); ++i) {
            auto s = std::make_unique<CCurve>();
            s->CopyFrom(*c);
            s->points = {c->points[i], c->points[i + 1]};
            out.push_back(std::move(s));
        }
    }
    page.curves = std::move(out);
}

void JoinConnectedLiterally(COnePage& page)
{
    auto& C = page.curves;
    std::size_t i = 0;
    while (i + 1 < C.size()) {
        if (C[i]->kind == C[i + 1]->kind && C[i]->points.back() == C[i + 1]->points.front()) {
            AppendAll(*C[i], *C[i + 1]);
            C.erase(C.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        } else {
            ++i;
        }
    }
}

CCurve& NewPiece(COnePage& q, const CCurve& s, CPoint a, CPoint b)
{
    CCurve& c = q.AddCurve();
    c.CopyFrom(s);
    c.points = {a, b};
    return c;
}

} // namespace

void SplitAt(COnePage& p, COnePage& q, int32_t a)
{
    if (p.curves.empty())
        return;
    ExplodeLiterally(p);
    std::vector<std::unique_ptr<CCurve>> keep;
    for (auto& s : p.curves) {
        const auto [x0, y0] = s->points[0];
        const auto [x1, y1] = s->points[1];
        const auto yCut = [&] {
            const Int128 num = static_cast<Int128>(int64_t{a} - x0) * (int64_t{y1} - y0);
            return static_cast<int32_t>(y0 + static_cast<int64_t>(num / (int64_t{x1} - x0)));
        };
        if (x0 <= a && x1 <= a) {
            keep.push_back(std::move(s));
        } else if (x0 < a && a < x1) {
            const int32_t y = yCut();
            NewPiece(q, *s, {0, y}, {x1 - a, y1});
            s->points = {{x0, y0}, {a, y}};
            keep.push_back(std::move(s));
        } else if ((x0 == a && a < x1) || (a < x0 && x1 >= a)) {
            NewPiece(q, *s, {x0 - a, y0}, {x1 - a, y1});
        } else {
            const int32_t y = yCut();
            NewPiece(q, *s, {x0 - a, y0}, {0, y});
            s->points = {{a, y}, {x1, y1}};
            keep.push_back(std::move(s));
        }
    }
    p.curves = std::move(keep);
    JoinConnectedLiterally(p);
    ComputePageBounds(p);
    ComputePageBounds(q);
}

void PaginatePages(std::vector<std::unique_ptr<COnePage>>& pages, int32_t pageLenMm, bool autoStart)
{
    if (pageLenMm < 500)
        return;
    const int32_t a = static_cast<int32_t>(pageLenMm * 40.0);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        COnePage* q = pages[i].get();
        ComputePageBounds(*q);
        if (q->maxX <= a)
            continue;
        int32_t n = 1;
        while (q->maxX > static_cast<int64_t>(n + 1) * a)
            ++n;
        for (int32_t j = 0; j < n; ++j) {
            auto p = std::make_unique<COnePage>();
            p->CopyFrom(*q);
            p->state = autoStart ? PageState::Auto : PageState::Manual;
            q->pageNumber = n + 1;
            q->ClearCurves();
            SplitAt(*p, *q, a);
            p->pageNumber = j + 1;
            const auto at = std::find_if(pages.begin(), pages.end(), [q](const auto& x) { return x.get() == q; });
            pages.insert(at, std::move(p));
        }
        // The pieces inserted are passed over. (Taken literally, "passed over" means measured again; an empty
        // piece keeps the bounds copied from the whole drawing and would be cut again without end.)
        i += static_cast<std::size_t>(n);
    }
}

} // namespace qv::reference
