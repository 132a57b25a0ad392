#include "geometry/Paging.h"

#include "geometry/CurveListHelpers.h"
#include "geometry/PageStatistics.h"
#include "model/PageState.h"
#include "model/Rounding.h"

#include <algorithm>
#include <optional>

namespace qv {

namespace {

__extension__ typedef __int128 Int128;

constexpr int32_t kMinPageLenMm = 500;

// One two-point piece of a curve being split. Pages are split on these plain records and curves are made only
// for what ends up on a page, so a long drawing is not copied and exploded again for every page cut off it.
struct Segment {
    CPoint from;
    CPoint to;
    const CCurve* source; // lends kind, line style, selection and bounds
    bool whole;           // the source is this very two-point curve, which keeps its notch and length
};

// Hands `take` every two-point piece of the curves in order, made as it is needed: a long drawing is never
// held a second time as a list of pieces.
template <class Take>
void ForEachSegment(const std::vector<std::unique_ptr<CCurve>>& curves, bool keepWhole, Take&& take)
{
    for (const auto& curve : curves) {
        const auto& P = curve->points;
        const bool whole = keepWhole && P.size() == 2;
        for (std::size_t i = 0; i + 1 < P.size(); ++i)
            take(Segment{P[i], P[i + 1], curve.get(), whole});
    }
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
void Keep(std::vector<std::unique_ptr<CCurve>>& kept, const Segment& s)
{
    if (!kept.empty() && Continues(*kept.back(), s.source->kind, s.from)) {
        kept.back()->points.push_back(s.from);
        kept.back()->points.push_back(s.to);
    } else {
        kept.push_back(CurveOf(*s.source, s.whole, s.from, s.to));
    }
}

// Where the segment crosses x = b. The product can exceed 64 bits at the far ends of the coordinate range;
// the quotient always lies between the two y values.
int32_t CutY(CPoint p0, CPoint p1, int64_t b)
{
    const Int128 num = Int128{b - p0.x} * (int64_t{p1.y} - p0.y);
    const auto quotient = static_cast<int64_t>(num / (int64_t{p1.x} - p0.x));
    return SaturateToInt32(p0.y + quotient);
}

// A segment against the cut at x = b: what stays on the page that ends at b and what lies beyond, in the
// same coordinates. The boundary belongs to the page; a segment that only touches it from beyond leaves.
struct Cut {
    std::optional<Segment> kept;
    std::optional<Segment> beyond;
};

Cut CutAt(const Segment& s, int64_t b)
{
    const int64_t x0 = s.from.x;
    const int64_t x1 = s.to.x;
    if (x0 <= b && x1 <= b)
        return {s, std::nullopt};
    // Piece beyond b are new curves; the part kept is the segment itself, shortened.
    if ((x0 < b && b < x1) || (x1 < b && b < x0)) {
        const CPoint at{static_cast<int32_t>(b), CutY(s.from, s.to, b)};
        if (x0 < b)
            return {Segment{s.from, at, s.source, s.whole}, Segment{at, s.to, s.source, false}};
        return {Segment{at, s.to, s.source, s.whole}, Segment{s.from, at, s.source, false}};
    }
    return {std::nullopt, Segment{s.from, s.to, s.source, false}};
}

// The first page j whose end (j + 1) * a the segment does not lie wholly beyond.
int64_t FirstPage(const Segment& s, int32_t a)
{
    const int64_t lo = std::min(s.from.x, s.to.x);
    const int64_t hi = std::max(s.from.x, s.to.x);
    if (lo < a)
        return 0;
    const int64_t k = lo / a;
    return lo == hi && lo % a == 0 ? k - 1 : k;
}

Segment ShiftedLeft(const Segment& s, int64_t by)
{
    const auto shift = [by](CPoint p) { return CPoint{SaturateToInt32(p.x - by), p.y}; };
    return {shift(s.from), shift(s.to), s.source, s.whole};
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
//
// Cutting page after page moves the rest of the drawing along each time; here every segment is followed on
// its own through the cuts it meets, in the page's coordinates, which gives each page the same pieces in the
// same order (the cut position depends only on the segment's ends relative to the cut). Each page then joins
// its pieces as SplitAt does.
std::vector<std::unique_ptr<COnePage>> CutPages(COnePage& q, int32_t a, int64_t cuts, const ImportOptions& options)
{
    // Every piece is made from a copy of the page, and copies carry no notch or length.
    const std::vector<std::unique_ptr<CCurve>> sources = std::move(q.curves);
    q.curves.clear();

    // Each piece with the page it lands on; page `cuts` is the rest q keeps.
    std::vector<std::vector<Segment>> onPage(static_cast<std::size_t>(cuts) + 1);
    ForEachSegment(sources, false, [&](const Segment& s) {
        Segment piece = s;
        int64_t j = FirstPage(piece, a);
        bool placed = false;
        while (j < cuts && !placed) {
            const Cut cut = CutAt(piece, (j + 1) * int64_t{a});
            if (cut.kept)
                onPage[static_cast<std::size_t>(j)].push_back(ShiftedLeft(*cut.kept, j * int64_t{a}));
            placed = !cut.beyond;
            if (cut.beyond) {
                piece = *cut.beyond;
                j = std::max(j + 1, FirstPage(piece, a));
            }
        }
        if (!placed)
            onPage[static_cast<std::size_t>(cuts)].push_back(ShiftedLeft(piece, cuts * int64_t{a}));
    });

    std::vector<std::unique_ptr<COnePage>> pieces;
    for (int64_t j = 0; j < cuts; ++j) {
        const auto& segments = onPage[static_cast<std::size_t>(j)];
        if (segments.empty())
            continue; // nothing on this stretch
        auto p = std::make_unique<COnePage>();
        p->fileName = q.fileName;
        p->optimized = q.optimized;
        p->state = PieceState(q, options);
        p->pageNumber = SaturateToInt32(j + 1);
        for (const Segment& s : segments)
            Keep(p->curves, s);
        ComputePageBounds(*p);
        pieces.push_back(std::move(p));
    }
    q.pageNumber = SaturateToInt32(cuts + 1);
    for (const Segment& s : onPage[static_cast<std::size_t>(cuts)])
        q.AddCurve(CurveOf(*s.source, false, s.from, s.to));
    ComputePageBounds(q);
    return pieces;
}

int32_t PageLength(const ImportOptions& options)
{
    return TruncToInt32(options.PLTFilePageLen * 40.0);
}

// The stretch of length a an x lies on; a cut belongs to the stretch before it.
int64_t StretchOf(int64_t x, int32_t a)
{
    return x <= 0 ? 0 : (x - 1) / a;
}

} // namespace

bool PagingFits(const std::vector<std::unique_ptr<COnePage>>& pages, std::size_t from, const ImportOptions& options)
{
    const bool paging = options.PLTFilePageLen >= kMinPageLenMm;
    const int32_t a = paging ? PageLength(options) : 0;
    int64_t pageCount = 0;
    int64_t crossings = 0;
    std::vector<std::pair<int64_t, int64_t>> stretches;
    for (std::size_t i = from; i < pages.size(); ++i) {
        const COnePage& page = *pages[i];
        if (page.state == PageState::Printing)
            continue;
        if (!paging) {
            ++pageCount;
            continue;
        }
        stretches.clear();
        for (const auto& curve : page.curves) {
            const auto& P = curve->points;
            for (std::size_t k = 0; k + 1 < P.size(); ++k) {
                const int64_t s0 = StretchOf(std::min(P[k].x, P[k + 1].x), a);
                const int64_t s1 = StretchOf(std::max(P[k].x, P[k + 1].x), a);
                crossings += s1 - s0;
                stretches.emplace_back(s0, s1);
            }
            if (crossings > kMaxPageCutCrossings)
                return false;
        }
        // The stretches covered, each once.
        std::sort(stretches.begin(), stretches.end());
        int64_t coveredTo = -1;
        for (const auto& [s0, s1] : stretches) {
            pageCount += std::max<int64_t>(0, s1 - std::max(s0, coveredTo + 1) + 1);
            coveredTo = std::max(coveredTo, s1);
        }
        if (pageCount > kMaxDrawingPages)
            return false;
    }
    return pageCount <= kMaxDrawingPages;
}

void PaginatePages(std::vector<std::unique_ptr<COnePage>>& pages, const ImportOptions& options)
{
    if (options.PLTFilePageLen < kMinPageLenMm)
        return;
    const int32_t a = PageLength(options);
    // The list is built anew once: inserting the pieces in place would move every later page for each page cut.
    std::vector<std::unique_ptr<COnePage>> paged;
    paged.reserve(pages.size());
    for (auto& page : pages) {
        COnePage& q = *page;
        if (q.state == PageState::Printing) {
            paged.push_back(std::move(page));
            continue;
        }
        ComputePageBounds(q);
        if (q.maxX <= a) {
            paged.push_back(std::move(page));
            continue;
        }
        // The fewest cuts that leave every piece at most a long: maxX <= (cuts + 1) * a.
        const int64_t cuts = (int64_t{q.maxX} + a - 1) / a - 1;
        auto pieces = CutPages(q, a, cuts, options);
        paged.insert(paged.end(), std::make_move_iterator(pieces.begin()), std::make_move_iterator(pieces.end()));
        // Only curves of fewer than two points beyond the last cut can leave the page itself empty.
        if (!q.curves.empty())
            paged.push_back(std::move(page));
    }
    pages = std::move(paged);
}

void SplitAt(COnePage& p, COnePage& q, int32_t a)
{
    if (p.curves.empty())
        return;
    const std::vector<std::unique_ptr<CCurve>> sources = std::move(p.curves);
    p.curves.clear();
    ForEachSegment(sources, true, [&](const Segment& s) {
        const Cut cut = CutAt(s, a);
        if (cut.kept)
            Keep(p.curves, *cut.kept);
        if (cut.beyond) {
            const Segment rest = ShiftedLeft(*cut.beyond, a);
            q.AddCurve(CurveOf(*rest.source, false, rest.from, rest.to));
        }
    });
    ComputePageBounds(p);
    ComputePageBounds(q);
}

void ExplodeSegments(COnePage& page)
{
    const std::vector<std::unique_ptr<CCurve>> sources = std::move(page.curves);
    page.curves.clear();
    ForEachSegment(sources, true,
                   [&](const Segment& s) { page.curves.push_back(CurveOf(*s.source, s.whole, s.from, s.to)); });
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
