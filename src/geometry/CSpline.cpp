#include "geometry/CSpline.h"

#include "geometry/PointMath.h"
#include "geometry/Smoothing.h"
#include "model/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>

namespace qv {

namespace {

struct Vec2 {
    double x = 0;
    double y = 0;
};

constexpr int kSweeps = 10;

// Gauss-Seidel on the tridiagonal system A[i] T[i-1] + B[i] T[i] + C[i] T[i+1] = rhs[i] (row 0 without A, the
// last row without C), a fixed number of sweeps without a convergence test: the fits the machine was tuned
// with are the tenth sweep, not the exact solution. The solution replaces rhs.
void SolveTangents(const std::vector<float>& A, const std::vector<float>& B, const std::vector<float>& C,
                   std::vector<Vec2>& rhs)
{
    const std::size_t n = rhs.size();
    std::vector<Vec2> t(n);
    for (std::size_t i = 0; i < n; ++i)
        t[i] = {rhs[i].x / B[i], rhs[i].y / B[i]};
    for (int sweep = 0; sweep < kSweeps; ++sweep) {
        t[0] = {(rhs[0].x - C[0] * t[1].x) / B[0], (rhs[0].y - C[0] * t[1].y) / B[0]};
        for (std::size_t i = 1; i + 1 < n; ++i) {
            t[i] = {(rhs[i].x - A[i] * t[i - 1].x - C[i] * t[i + 1].x) / B[i],
                    (rhs[i].y - A[i] * t[i - 1].y - C[i] * t[i + 1].y) / B[i]};
        }
        t[n - 1] = {(rhs[n - 1].x - A[n - 1] * t[n - 2].x) / B[n - 1],
                    (rhs[n - 1].y - A[n - 1] * t[n - 2].y) / B[n - 1]};
    }
    rhs = std::move(t);
}

// max(|trunc(dx)|, |trunc(dy)|) / step, at least 1.
int64_t SampleCount(const Vec2& chord, int32_t step)
{
    const int64_t major = std::max(std::llabs(TruncToInt32(chord.x)), std::llabs(TruncToInt32(chord.y)));
    return std::max<int64_t>(major / step, 1);
}

} // namespace

CSpline::CSpline(int32_t fitDistHpgl) : fitDist(std::max(fitDistHpgl, 1)) {}

void CSpline::ThinControlPoints(double d)
{
    MergeCloseNeighbours(controlPoints, d);
    const std::size_t n = controlPoints.size();
    if (n >= 2 && Distance(controlPoints[n - 2], controlPoints[n - 1]) < d)
        controlPoints.erase(controlPoints.end() - 2);
}

void CSpline::GenerateSpline()
{
    outputPoints.clear();

    std::vector<float> px;
    std::vector<float> py;
    px.reserve(controlPoints.size());
    py.reserve(controlPoints.size());
    for (const CPoint& p : controlPoints) {
        const auto x = static_cast<float>(p.x);
        const auto y = static_cast<float>(p.y);
        if (!px.empty() && px.back() == x && py.back() == y)
            continue;
        px.push_back(x);
        py.push_back(y);
    }
    const std::size_t n = px.size();
    if (n < 2)
        return;

    // Chord vectors, each difference taken in float.
    std::vector<Vec2> chords(n);
    for (std::size_t i = 0; i + 1 < n; ++i)
        chords[i] = {px[i + 1] - px[i], py[i + 1] - py[i]};
    const auto chordLength = [&chords](std::size_t i) {
        return static_cast<float>(std::sqrt(chords[i].x * chords[i].x + chords[i].y * chords[i].y));
    };

    std::vector<float> k(n);
    for (std::size_t i = 1; i + 1 < n; ++i)
        k[i - 1] = chordLength(i - 1) / chordLength(i);
    k[n - 2] = 1;

    std::vector<float> A(n);
    std::vector<float> B(n);
    std::vector<float> C(n);
    for (std::size_t i = 1; i + 1 < n; ++i) {
        A[i] = 1;
        B[i] = (k[i - 1] + 1) * (2 * k[i - 1]);
        C[i] = k[i - 1] * k[i - 1] * k[i];
    }
    B[0] = 2;
    C[0] = k[0];
    A[n - 1] = 1;
    B[n - 1] = 2 * k[n - 2];

    std::vector<Vec2> tangents(n);
    tangents[0] = {3 * chords[0].x, 3 * chords[0].y};
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const float k2 = k[i - 1] * k[i - 1];
        tangents[i] = {3 * (k2 * chords[i].x + chords[i - 1].x), 3 * (k2 * chords[i].y + chords[i - 1].y)};
    }
    tangents[n - 1] = {3 * chords[n - 2].x, 3 * chords[n - 2].y};

    SolveTangents(A, B, C, tangents);

    std::vector<Vec2> endTangents(n);
    for (std::size_t i = 0; i + 1 < n; ++i)
        endTangents[i] = {k[i] * tangents[i + 1].x, k[i] * tangents[i + 1].y};

    std::size_t total = 0;
    for (std::size_t i = 0; i + 1 < n; ++i)
        total += static_cast<std::size_t>(SampleCount(chords[i], fitDist)) + 1;
    outputPoints.reserve(total);

    for (std::size_t i = 0; i + 1 < n; ++i) {
        const Vec2& d = chords[i];
        const Vec2& t0 = tangents[i];
        const Vec2& t1 = endTangents[i];
        const int64_t s = SampleCount(d, fitDist);
        outputPoints.push_back({TruncToInt32(px[i]), TruncToInt32(py[i])});
        for (int64_t j = 1; j <= s; ++j) {
            const float t = static_cast<float>(j) / static_cast<float>(s);
            const float h1 = 3 * t * t - 2 * t * t * t;
            const float h2 = t * t * t - 2 * t * t + t;
            const float h3 = t * t * t - t * t;
            outputPoints.push_back({TruncToInt32(((h1 * d.x + px[i]) + t0.x * h2) + t1.x * h3),
                                    TruncToInt32(((h1 * d.y + py[i]) + t0.y * h2) + t1.y * h3)});
        }
    }
}

void FitSpline(CCurve& curve, int32_t fitDistHpgl)
{
    CSpline spline(fitDistHpgl);
    spline.controlPoints.assign(curve.points.begin(), curve.points.end());
    spline.ThinControlPoints(spline.FitDist() * 2.5);
    spline.GenerateSpline();
    if (!spline.outputPoints.empty())
        curve.points = spline.outputPoints;
}

} // namespace qv
