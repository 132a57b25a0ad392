#include "hpgl/ShapeBytes.h"

#include "app/InvalidArgument.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <limits>

namespace qv {

namespace {

// Direction of a vector byte as multiples of (l, h): 2 stands for l, 1 for h.
constexpr std::array<std::array<int8_t, 2>, 16> kDirections{{
    {2, 0},
    {2, 1},
    {2, 2},
    {1, 2},
    {0, 2},
    {-1, 2},
    {-2, 2},
    {-2, 1},
    {-2, 0},
    {-2, -1},
    {-2, -2},
    {-1, -2},
    {0, -2},
    {1, -2},
    {2, -2},
    {2, -1},
}};

int64_t Component(int8_t multiple, int64_t l, int64_t h)
{
    switch (multiple) {
    case 2:
        return l;
    case 1:
        return h;
    case -1:
        return -h;
    case -2:
        return -l;
    default:
        return 0;
    }
}

int64_t Signed(uint8_t b)
{
    return static_cast<int8_t>(b);
}

constexpr int64_t kMaxStep = 127;
constexpr int kVectorReach = 15; // longest vector, in glyph units

// The vector byte for each move of at most 15 glyph units that one lands on exactly at a given scale.
class VectorTable {
public:
    explicit VectorTable(int64_t scale)
    {
        // Where two bytes land on the same move (a zero h), the one along an axis or a diagonal is kept.
        static constexpr std::array<int, 16> kPreferred{0, 4, 8, 12, 2, 6, 10, 14, 1, 3, 5, 7, 9, 11, 13, 15};
        for (const int direction : kPreferred) {
            for (int length = 1; length <= kVectorReach; ++length) {
                const int64_t l = length * scale;
                const int64_t h = l / 2;
                const auto& d = kDirections[static_cast<std::size_t>(direction)];
                const int64_t x = Component(d[0], l, h);
                const int64_t y = Component(d[1], l, h);
                if (x % scale == 0 && y % scale == 0 && Byte(x / scale, y / scale) == 0)
                    Byte(x / scale, y / scale) = static_cast<uint8_t>(length << 4 | direction);
            }
        }
    }

    // 0 when no vector byte lands there.
    uint8_t Find(int64_t dx, int64_t dy) const
    {
        if (std::abs(dx) > kVectorReach || std::abs(dy) > kVectorReach)
            return 0;
        return bytes_[Slot(dx, dy)];
    }

private:
    static std::size_t Slot(int64_t dx, int64_t dy)
    {
        return static_cast<std::size_t>((dx + kVectorReach) * (2 * kVectorReach + 1) + dy + kVectorReach);
    }
    uint8_t& Byte(int64_t dx, int64_t dy) { return bytes_[Slot(dx, dy)]; }

    std::array<uint8_t, (2 * kVectorReach + 1) * (2 * kVectorReach + 1)> bytes_{};
};

struct Move {
    int64_t dx;
    int64_t dy;
};

// Pieces of at most 127 units each that add up to the move.
int64_t PieceCount(const Move& m)
{
    const int64_t longest = std::max(std::abs(m.dx), std::abs(m.dy));
    return std::max<int64_t>(1, (longest + kMaxStep - 1) / kMaxStep);
}

template <typename Emit>
void ForEachPiece(const Move& m, Emit emit)
{
    const int64_t n = PieceCount(m);
    for (int64_t k = 0; k < n; ++k)
        emit(m.dx * (k + 1) / n - m.dx * k / n, m.dy * (k + 1) / n - m.dy * k / n);
}

void PushSigned(std::vector<uint8_t>& out, int64_t v)
{
    out.push_back(static_cast<uint8_t>(static_cast<int8_t>(v)));
}

// One stretch of movements with the same pen state, each either a single command (a vector byte or 8s) or
// part of a run of 9. A run costs 1 byte to open, 2 per pair and 2 to close; the cheapest mix is found by
// walking the moves once with the best cost of ending each move inside and outside a run.
void EncodeMoves(const std::vector<Move>& moves, const VectorTable& vectors, std::vector<uint8_t>& out)
{
    constexpr int64_t kNever = std::numeric_limits<int64_t>::max() / 4;
    enum State { Outside = 0, InRun = 1 };
    const std::size_t n = moves.size();
    std::vector<std::array<int64_t, 2>> cost(n + 1, {kNever, kNever});
    std::vector<std::array<State, 2>> from(n + 1, {Outside, Outside});
    cost[0][Outside] = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const int64_t pieces = PieceCount(moves[i]);
        const int64_t single = vectors.Find(moves[i].dx, moves[i].dy) ? 1 : 3 * pieces;
        const int64_t viaOutside = cost[i][Outside] + single;
        const int64_t viaRunEnd = cost[i][InRun] + 2 + single;
        cost[i + 1][Outside] = std::min(viaOutside, viaRunEnd);
        from[i + 1][Outside] = viaOutside <= viaRunEnd ? Outside : InRun;
        const int64_t stayInRun = cost[i][InRun] + 2 * pieces;
        const int64_t openRun = cost[i][Outside] + 1 + 2 * pieces;
        cost[i + 1][InRun] = std::min(stayInRun, openRun);
        from[i + 1][InRun] = stayInRun <= openRun ? InRun : Outside;
    }

    std::vector<State> states(n + 1);
    states[n] = cost[n][Outside] <= cost[n][InRun] + 2 ? Outside : InRun;
    for (std::size_t i = n; i > 0; --i)
        states[i - 1] = from[i][states[i]];

    for (std::size_t i = 0; i < n; ++i) {
        const Move& m = moves[i];
        if (states[i] == InRun && states[i + 1] == Outside)
            out.insert(out.end(), {0, 0});
        if (states[i + 1] == InRun) {
            if (states[i] == Outside)
                out.push_back(9);
            ForEachPiece(m, [&](int64_t dx, int64_t dy) {
                PushSigned(out, dx);
                PushSigned(out, dy);
            });
        } else if (const uint8_t vector = vectors.Find(m.dx, m.dy)) {
            out.push_back(vector);
        } else {
            ForEachPiece(m, [&](int64_t dx, int64_t dy) {
                out.push_back(8);
                PushSigned(out, dx);
                PushSigned(out, dy);
            });
        }
    }
    if (states[n] == InRun)
        out.insert(out.end(), {0, 0});
}

} // namespace

void WalkShape(std::span<const uint8_t> shape, int64_t startX, int64_t scale,
               const std::function<void(const ShapeMove&)>& onMove)
{
    ShapeMove pen{startX, 0, true};
    bool skipNext = false;
    const auto move = [&](int64_t dx, int64_t dy) {
        if (skipNext) {
            skipNext = false;
            return;
        }
        pen.x += dx;
        pen.y += dy;
        onMove(pen);
    };

    const std::size_t n = shape.size();
    std::size_t i = 0;
    while (i < n) {
        const uint8_t b = shape[i];
        if (b >= 15) {
            const int64_t l = (b >> 4) * scale;
            const int64_t h = l / 2;
            const auto& d = kDirections[b & 15];
            move(Component(d[0], l, h), Component(d[1], l, h));
            ++i;
            continue;
        }
        switch (b) {
        case 1:
            pen.penDown = true;
            ++i;
            break;
        case 2:
            pen.penDown = false;
            ++i;
            break;
        case 3:
        case 4:
            i += 2;
            break;
        case 8:
            if (i + 2 >= n)
                return;
            move(Signed(shape[i + 1]) * scale, Signed(shape[i + 2]) * scale);
            i += 3;
            break;
        case 9: {
            // The pairs of one command are one movement each, but a pending skip passes over all of them.
            const bool skipAll = skipNext;
            skipNext = false;
            for (i += 1;; i += 2) {
                if (i + 1 >= n)
                    return;
                const int64_t dx = Signed(shape[i]);
                const int64_t dy = Signed(shape[i + 1]);
                if (dx == 0 && dy == 0)
                    break;
                if (!skipAll)
                    move(dx * scale, dy * scale);
            }
            i += 2;
            break;
        }
        case 14:
            skipNext = true;
            ++i;
            break;
        default: // 0, and the unused commands 5-7 and 10-13
            ++i;
            break;
        }
    }
}

std::vector<uint8_t> EncodeShape(std::span<const GlyphPolyline> polylines, int64_t scale)
{
    if (scale < 1)
        throw InvalidArgument("shape scale below 1");
    const VectorTable vectors(scale);
    std::vector<uint8_t> out;
    GlyphPoint pen;
    bool penDown = true;
    for (const GlyphPolyline& polyline : polylines) {
        GlyphPolyline points;
        for (const GlyphPoint& p : polyline)
            if (points.empty() || points.back() != p)
                points.push_back(p);
        if (points.size() < 2)
            continue;
        if (points.front() != pen) {
            if (penDown)
                out.push_back(2);
            penDown = false;
            EncodeMoves({{int64_t{points.front().x} - pen.x, int64_t{points.front().y} - pen.y}}, vectors, out);
        }
        if (!penDown)
            out.push_back(1);
        penDown = true;
        std::vector<Move> moves;
        for (std::size_t i = 1; i < points.size(); ++i)
            moves.push_back({int64_t{points[i].x} - points[i - 1].x, int64_t{points[i].y} - points[i - 1].y});
        EncodeMoves(moves, vectors, out);
        pen = points.back();
    }
    return out;
}

} // namespace qv
