#include "geometry/CutOptimisation.h"

#include "geometry/CSpline.h"
#include "geometry/CleanUp.h"
#include "geometry/MergeCurves.h"
#include "geometry/PointMath.h"

#include <cmath>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace qv {

namespace {

constexpr double kLongSegment = 800.0;
constexpr double kCornerTurn = 0.26179938779916667;
constexpr double kMinFitLength = 400;
constexpr std::size_t kMinFitPoints = 5;

// Index ranges [first, last] of the pieces one curve is cut into.
using Pieces = std::vector<std::pair<std::size_t, std::size_t>>;

// Replaces every cut curve by its pieces, in place in the list: the first piece stays in the curve itself, each
// further one is a new curve with the curve's kind, selection, line style and bounds. Building the new list in
// one sweep gives the order of inserting each piece directly after the one it was cut from.
template <class Cut>
void ReplaceByPieces(COnePage& page, Cut cut)
{
    std::vector<std::unique_ptr<CCurve>> out;
    out.reserve(page.curves.size());
    for (auto& curve : page.curves) {
        const Pieces pieces = IsCutWork(curve->kind) ? cut(curve->points) : Pieces{};
        if (pieces.size() <= 1) {
            out.push_back(std::move(curve));
            continue;
        }
        PointList all = std::move(curve->points);
        curve->points.clear();
        const auto slice = [&all](const std::pair<std::size_t, std::size_t>& piece) {
            return PointList(all.begin() + static_cast<std::ptrdiff_t>(piece.first),
                             all.begin() + static_cast<std::ptrdiff_t>(piece.second) + 1);
        };
        CCurve* source = curve.get();
        out.push_back(std::move(curve));
        for (std::size_t i = 1; i < pieces.size(); ++i) {
            auto piece = std::make_unique<CCurve>();
            piece->CopyFrom(*source); // the source holds no points now, so this copies just its attributes
            piece->points = slice(pieces[i]);
            out.push_back(std::move(piece));
        }
        source->points = slice(pieces[0]);
    }
    page.curves = std::move(out);
}

} // namespace

void SplitLongSegments(COnePage& page, double limit)
{
    ReplaceByPieces(page, [limit](const PointList& p) {
        Pieces pieces;
        if (p.size() < 3)
            return pieces;
        std::size_t start = 0;
        for (std::size_t k = 0; k + 1 < p.size(); ++k) {
            if (Distance(p[k], p[k + 1]) <= limit)
                continue;
            if (k > start)
                pieces.emplace_back(start, k);
            pieces.emplace_back(k, k + 1);
            start = k + 1;
        }
        if (start + 1 < p.size())
            pieces.emplace_back(start, p.size() - 1);
        return pieces;
    });
    std::erase_if(page.curves, [](const std::unique_ptr<CCurve>& c) { return c->points.size() <= 1; });
}

void SplitAtCorners(COnePage& page, double maxTurn)
{
    ReplaceByPieces(page, [maxTurn](const PointList& p) {
        Pieces pieces;
        std::size_t start = 0;
        for (std::size_t m = 1; m + 1 < p.size(); ++m) {
            if (std::abs(TurnAt(p[m - 1], p[m], p[m + 1])) > maxTurn) {
                pieces.emplace_back(start, m);
                start = m;
            }
        }
        if (!pieces.empty())
            pieces.emplace_back(start, p.size() - 1);
        return pieces;
    });
}

void RemoveCollinearCuts(COnePage& page)
{
    for (auto& curve : page.curves) {
        if (IsCutWork(curve->kind))
            curve->RemoveCollinear();
    }
}

void OptimizeCutCurves(COnePage& page, int32_t fitDistHpgl)
{
    if (page.optimized == 1)
        return;
    SplitLongSegments(page, kLongSegment);
    SplitAtCorners(page, kCornerTurn);
    for (auto& curve : page.curves) {
        if (!IsCutWork(curve->kind))
            continue;
        curve->ComputeLength();
        if (curve->length <= kMinFitLength || curve->points.size() < kMinFitPoints)
            continue;
        // The fit thins and resamples; the knife must still start and stop exactly where the drawing does.
        const CPoint first = curve->points.front();
        const CPoint last = curve->points.back();
        FitSpline(*curve, fitDistHpgl);
        curve->points.front() = first;
        curve->points.back() = last;
    }
    MergeCurves(page, false, false);
    RemoveDuplicatePoints(page);
    page.optimized = 1;
}

} // namespace qv
