#include "hpgl/ShapeWalk.h"

#include <array>
#include <cstddef>

namespace qv {

namespace {

// Direction of a vector byte as multiples of (l, h): 2 stands for l, 1 for h.
constexpr std::array<std::array<int8_t, 2>, 16> kDirections{{
    {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}, {-1, 2}, {-2, 2}, {-2, 1},
    {-2, 0}, {-2, -1}, {-2, -2}, {-1, -2}, {0, -2}, {1, -2}, {2, -2}, {2, -1},
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
        default:   // 0, and the unused commands 5-7 and 10-13
            ++i;
            break;
        }
    }
}

} // namespace qv
