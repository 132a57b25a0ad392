#include "geometry/Paging.h"

#include "geometry/CurveListHelpers.h"
#include "geometry/PageStatistics.h"
#include "model/PageState.h"
#include "model/Rounding.h"

namespace qv {

namespace {

__extension__ typedef __int128 Int128;

constexpr int32_t kMinPageLenMm = 500;

// One two-point piece of a curve being split. Pages are split on these plain records and curves are made only
// for what ends up on a page, so a long drawing is not copied and exploded again for every page cut off it.
struct Segment {
    CPoint from;
    CPoint to;
    const CCurve* source;   // lends kind, line style, selection and bounds
    bool whole;             // the source is this very two-point curve, which keeps its notch and length
};

std::vector<Segment> Explode(const std::vector<std::unique_ptr<CCurve>>& curves, bool keepWhole)
{
    std::vector<Segment> segments;
    for (const auto& curve : curves) {
        const auto& P = curve->points;
        for (std::size_t i = 0; i + 1 < P.size(); ++i)
            segments.push_back({P[i], P[i + 1], curve.get(), keepWhole && P.size() == 2});
    }
    return segments;
}

std::unique_ptr<CCurve> CurveOf(const CCurve& source, bool whole, CPoint from, CPoint to)
{
    auto c = std::make_unique<CCurve>();
    c->selected = source.selected;
    c->kind = source.kind;
    c->lineStyle = source.lineStyle;
    c->minX = source.minX;
    c->maxX = source.maxX;
    c->minY = source.minY;
    c->maxY = source.maxY;
    if (whole) {
        c->notch = source.notch;
        c->length = source.length;
    }
    c->points = {from, to};
    return c;
}

// The joining rule of paging: a curve continues the one before it when both are of one kind and it starts
// exactly where the other ends.
bool Continues(const CCurve& before, int32_t kind, CPoint start)
{
    return before.kind == kind && before.points.back() == start;
}

// Puts a segment that stays on the page behind the curves kept so far, joining it to the last one as
// JoinConnected would.
void Keep(std::vector<std::unique_ptr<CCurve>>& kept, const Segment& s, CPoint from, CPoint to)
{
    if (!kept.empty() && Continues(*kept.back(), s.source->kind, from)) {
        kept.back()->points.push_back(from);
        kept.back()->points.push_back(to);
    } else {
        kept.push_back(CurveOf(*s.source, s.whole, from, to));
    }
}

// Where the segment crosses x = a. The product can exceed 64 bits at the far ends of the coordinate range;
// the quotient always lies between the two y values.
int32_t CutY(CPoint p0, CPoint p1, int32_t a)
{
    const Int128 num = Int128{int64_t{a} - p0.x} * (int64_t{p1.y} - p0.y);
    const auto quotient = static_cast<int64_t>(num / (int64_t{p1.x} - p0.x));
    return SaturateToInt32(p0.y + quotient);
}

// Sorts the segments of a page cut at a into the curves that stay (clipped at a) and the pieces beyond a,
// shifted by -a. The boundary belongs to the first part.
void SplitSegments(const std::vector<Segment>& segments, int32_t a, std::vector<std::unique_ptr<CCurve>>& kept,
                   std::vector<Segment>& beyond)
{
    const auto shifted = [a](int32_t x, int32_t y) { return CPoint{SaturateToInt32(int64_t{x} - a), y}; };
    for (const Segment& s : segments) {
        const auto [x0, y0] = s.from;
        const auto [x1, y1] = s.to;
        if (x0 <= a && x1 <= a) {
            Keep(kept, s, s.from, s.to);
        } else if (x0 < a && a < x1) {
            const int32_t y = CutY(s.from, s.to, a);
            Keep(kept, s, s.from, {a, y});
            beyond.push_back({{0, y}, shifted(x1, y1), s.source, false});
        } else if (x1 < a && a < x0) {
            const int32_t y = CutY(s.from, s.to, a);
            Keep(kept, s, {a, y}, s.to);
            beyond.push_back({shifted(x0, y0), {0, y}, s.source, false});
        } else {
            beyond.push_back({shifted(x0, y0), shifted(x1, y1), s.source, false});
        }
    }
}

int32_t PieceState(const COnePage& page, const ImportOptions& options)
{
    // A page already output stays output in its pieces; anything else would send its work again.
    if (page.state == PageState::Done)
        return PageState::Done;
    return options.AutoStartWork != 0 ? PageState::Auto : PageState::Manual;
}

// Cuts `cuts` pages of length a off the front of q, which keeps the rest. Returns the pieces that hold
// curves, in order.
std::vector<std::unique_ptr<COnePage>> CutPages(COnePage& q, int32_t a, int64_t cuts, const ImportOptions& options)
{
    // Every piece is made from a copy of the page, and copies carry no notch or length.
    const std::vector<std::unique_ptr<CCurve>> sources = std::move(q.curves);
    q.curves.clear();
    std::vector<Segment> rest = Explode(sources, false);
    std::vector<Segment> beyond;
    std::vector<std::unique_ptr<COnePage>> pieces;
    for (int64_t j = 0; j < cuts; ++j) {
        auto p = std::make_unique<COnePage>();
        p->fileName = q.fileName;
        p->optimized = q.optimized;
        p->state = PieceState(q, options);
        p->pageNumber = SaturateToInt32(j + 1);
        beyond.clear();
        SplitSegments(rest, a, p->curves, beyond);
        rest.swap(beyond);
        if (p->curves.empty())
            continue;
        ComputePageBounds(*p);
        pieces.push_back(std::move(p));
    }
    q.pageNumber = SaturateToInt32(cuts + 1);
    for (const Segment& s : rest)
        q.AddCurve(CurveOf(*s.source, false, s.from, s.to));
    ComputePageBounds(q);
    return pieces;
}

} // namespace

void PaginatePages(std::vector<std::unique_ptr<COnePage>>& pages, const ImportOptions& options)
{
    if (options.PLTFilePageLen < kMinPageLenMm)
        return;
    const int32_t a = TruncToInt32(options.PLTFilePageLen * 40.0);
    for (std::size_t i = 0; i < pages.size();) {
        COnePage& q = *pages[i];
        if (q.state == PageState::Printing) {
            ++i;
            continue;
        }
        ComputePageBounds(q);
        if (q.maxX <= a) {
            ++i;
            continue;
        }
        // The fewest cuts that leave every piece at most a long: maxX <= (cuts + 1) * a.
        const int64_t cuts = (int64_t{q.maxX} + a - 1) / a - 1;
        auto pieces = CutPages(q, a, cuts, options);
        const std::size_t added = pieces.size();
        pages.insert(pages.begin() + static_cast<std::ptrdiff_t>(i), std::make_move_iterator(pieces.begin()),
                     std::make_move_iterator(pieces.end()));
        i += added;
        // Only curves of fewer than two points beyond the last cut can leave the page itself empty.
        if (pages[i]->curves.empty())
            pages.erase(pages.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
}

void SplitAt(COnePage& p, COnePage& q, int32_t a)
{
    if (p.curves.empty())
        return;
    const std::vector<std::unique_ptr<CCurve>> sources = std::move(p.curves);
    p.curves.clear();
    std::vector<Segment> beyond;
    SplitSegments(Explode(sources, true), a, p.curves, beyond);
    for (const Segment& s : beyond)
        q.AddCurve(CurveOf(*s.source, false, s.from, s.to));
    ComputePageBounds(p);
    ComputePageBounds(q);
}

void ExplodeSegments(COnePage& page)
{
    const std::vector<std::unique_ptr<CCurve>> sources = std::move(page.curves);
    page.curves.clear();
    for (const Segment& s : Explode(sources, true))
        page.curves.push_back(CurveOf(*s.source, s.whole, s.from, s.to));
}

void JoinConnected(COnePage& page)
{
    RequirePoints(page, "JoinConnected");
    std::vector<std::unique_ptr<CCurve>> joined;
    for (auto& d : page.curves) {
        if (!joined.empty() && Continues(*joined.back(), d->kind, d->points.front()))
            joined.back()->points.insert(joined.back()->points.end(), d->points.begin(), d->points.end());
        else
            joined.push_back(std::move(d));
    }
    page.curves = std::move(joined);
}

} // namespace qv
