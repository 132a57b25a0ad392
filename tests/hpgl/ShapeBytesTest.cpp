#include "hpgl/ShapeBytes.h"

#include "app/InvalidArgument.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace qv {
namespace {

struct Move {
    int64_t x, y;
    bool down;
    bool operator==(const Move&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Move& m)
{
    return os << (m.down ? "draw(" : "move(") << m.x << "," << m.y << ")";
}

// The walk over a copy of exactly these bytes, so that reading past them is caught by the sanitizer.
std::vector<Move> Walk(std::vector<uint8_t> shape, int64_t startX = 0, int64_t scale = 1)
{
    std::vector<Move> moves;
    WalkShape(shape, startX, scale, [&](const ShapeMove& m) { moves.push_back({m.x, m.y, m.penDown}); });
    return moves;
}

TEST(ShapeWalk, EveryVectorDirection)
{
    // Length 3 at scale 1: l = 3, h = floor(3 / 2) = 1. Length 3 at scale 4: l = 12, h = 6.
    struct Row {
        int64_t x3, y3, x12, y12;
    };
    const Row rows[16] = {
        {3, 0, 12, 0},    {3, 1, 12, 6},   {3, 3, 12, 12},   {1, 3, 6, 12},     {0, 3, 0, 12},      {-1, 3, -6, 12},
        {-3, 3, -12, 12}, {-3, 1, -12, 6}, {-3, 0, -12, 0},  {-3, -1, -12, -6}, {-3, -3, -12, -12}, {-1, -3, -6, -12},
        {0, -3, 0, -12},  {1, -3, 6, -12}, {3, -3, 12, -12}, {3, -1, 12, -6},
    };
    for (int d = 0; d < 16; ++d) {
        const auto byte = static_cast<uint8_t>(0x30 | d);
        const Row& r = rows[d];
        EXPECT_EQ(Walk({byte}), (std::vector<Move>{{r.x3, r.y3, true}})) << "direction " << d;
        EXPECT_EQ(Walk({byte}, 0, 4), (std::vector<Move>{{r.x12, r.y12, true}})) << "direction " << d;
    }
    EXPECT_EQ(Walk({0x0F}), (std::vector<Move>{{0, 0, true}})) << "byte 15: a vector of length 0";
    EXPECT_EQ(Walk({0xF0}, 100, 16), (std::vector<Move>{{100 + 240, 0, true}})) << "starts at the advance";
}

TEST(ShapeWalk, CommandsTable)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> shape;
        std::vector<Move> expected;
    };
    const Case cases[] = {
        {"0 does nothing, pen up and down", {0, 2, 0x10, 1, 0x14, 0}, {{1, 0, false}, {1, 1, true}}},
        {"3 and 4 skip their operand", {3, 0x10, 4, 0x40, 0x20}, {{2, 0, true}}},
        {"8 moves by signed bytes", {8, 0xFF, 5, 2, 8, 127, 0x80}, {{-1, 5, true}, {126, -123, false}}},
        {"9 moves by pairs until (0, 0)",
         {9, 1, 0, 0, 2, 0xFE, 0xFE, 0, 0, 0x10},
         {{1, 0, true}, {1, 2, true}, {-1, 0, true}, {0, 0, true}}},
        {"9 takes (0, 1) and (1, 0) as moves", {9, 0, 1, 1, 0, 0, 0}, {{0, 1, true}, {1, 1, true}}},
        {"14 skips the next vector", {14, 0x10, 0x14}, {{0, 1, true}}},
        {"14 skips an 8", {14, 8, 5, 5, 0x10}, {{1, 0, true}}},
        {"14 skips a whole 9", {14, 9, 1, 1, 2, 2, 0, 0, 0x10}, {{1, 0, true}}},
        {"pen bytes act between 14 and what it skips", {14, 2, 0, 0x10, 0x14}, {{0, 1, false}}},
        {"3 and its operand are consumed while a skip waits", {14, 3, 0x40, 0x10, 0x14}, {{0, 1, true}}},
        {"5-7 and 10-13 are one-byte no-ops", {5, 6, 7, 10, 11, 12, 13, 0x10}, {{1, 0, true}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Walk(c.shape), c.expected) << c.name;
    EXPECT_EQ(Walk({8, 3, 4}, 10, 16), (std::vector<Move>{{10 + 48, 64, true}})) << "8 is scaled";
}

TEST(ShapeWalk, CommandsCutShortEndTheWalk)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> shape;
        std::vector<Move> expected;
    };
    const Case cases[] = {
        {"empty", {}, {}},
        {"8 without operands", {0x10, 8}, {{1, 0, true}}},
        {"8 with one operand", {0x10, 8, 1}, {{1, 0, true}}},
        {"9 without its end pair", {9, 1, 1, 2, 2}, {{1, 1, true}, {3, 3, true}}},
        {"9 with half a pair", {9, 1, 1, 0}, {{1, 1, true}}},
        {"3 without its operand", {0x10, 3}, {{1, 0, true}}},
        {"14 at the end", {0x10, 14}, {{1, 0, true}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Walk(c.shape), c.expected) << c.name;
}

using Bytes = std::vector<uint8_t>;

Bytes Encode(std::vector<GlyphPolyline> polylines, int64_t scale = 1)
{
    return EncodeShape(polylines, scale);
}

TEST(EncodeShape, ExactBytes)
{
    struct Case {
        const char* name;
        std::vector<GlyphPolyline> polylines;
        int64_t scale;
        Bytes expected;
    };
    const Case cases[] = {
        {"vectors from the start point, pen already down", {{{0, 0}, {3, 0}, {3, 2}}}, 2, {0x30, 0x24}},
        {"pen up, a vector move, pen down", {{{5, 5}, {5, 6}}}, 2, {2, 0x52, 1, 0x14}},
        {"a vector where h = floor(l / 2) lands", {{{0, 0}, {7, 3}}}, 1, {0x71}},
        {"odd scale: the same move is no vector", {{{0, 0}, {7, 3}}}, 21, {8, 7, 3}},
        {"one move off the vectors: an 8", {{{0, 0}, {7, 2}}}, 1, {8, 7, 2}},
        {"four such moves: one run of 9",
         {{{0, 0}, {7, 2}, {9, 9}, {16, 11}, {18, 18}}},
         1,
         {9, 7, 2, 2, 7, 7, 2, 2, 7, 0, 0}},
        {"four vectors between runs",
         {{{0, 0},
           {7, 2},
           {9, 9},
           {16, 11},
           {18, 18},
           {19, 18},
           {19, 19},
           {20, 19},
           {20, 20},
           {27, 22},
           {29, 29},
           {36, 31},
           {38, 38}}},
         1,
         {9, 7, 2, 2, 7, 7, 2, 2, 7, 0, 0, 0x10, 0x14, 0x10, 0x14, 9, 7, 2, 2, 7, 7, 2, 2, 7, 0, 0}},
        {"one vector inside a run stays a pair",
         {{{0, 0}, {7, 2}, {9, 9}, {16, 11}, {17, 11}, {24, 13}, {26, 20}, {33, 22}}},
         1,
         {9, 7, 2, 2, 7, 7, 2, 1, 0, 7, 2, 2, 7, 7, 2, 0, 0}},
        {"a long move cut into pieces of at most 127",
         {{{0, 0}, {300, -5}}},
         1,
         {8, 100, 0xFF, 8, 100, 0xFE, 8, 100, 0xFE}},
        {"a long pen-up move in pieces", {{{200, 0}, {201, 0}}}, 1, {2, 8, 100, 0, 8, 100, 0, 1, 0x10}},
        {"repeated points and lone points draw nothing",
         {{{0, 0}, {0, 0}, {1, 0}}, {{9, 9}}, {{4, 4}, {4, 4}}},
         1,
         {0x10}},
        {"a polyline that starts where the last ended keeps the pen down",
         {{{0, 0}, {1, 0}}, {{1, 0}, {1, 1}}},
         1,
         {0x10, 0x14}},
        {"nothing to draw", {}, 1, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Encode(c.polylines, c.scale), c.expected) << c.name;
}

using Edge = std::pair<GlyphPoint, GlyphPoint>;

// Walking the encoded bytes draws exactly the polylines' edges, at any scale. Coordinates stay within 60 so
// that no move needs pieces (those are pinned above).
TEST(EncodeShape, RoundTripsThroughTheWalk)
{
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> coordinate(-60, 60);
    std::uniform_int_distribution<int> small(-4, 4);
    for (const int64_t scale : {1, 2, 16, 21}) {
        for (int round = 0; round < 50; ++round) {
            std::vector<GlyphPolyline> polylines(static_cast<std::size_t>(1 + round % 4));
            std::vector<Edge> expected;
            for (GlyphPolyline& polyline : polylines) {
                GlyphPoint p{coordinate(random), coordinate(random)};
                for (int k = 0; k < 12; ++k) {
                    if (!polyline.empty() && polyline.back() != p)
                        expected.emplace_back(polyline.back(), p);
                    polyline.push_back(p);
                    p = k % 3 ? GlyphPoint{p.x + small(random), p.y + small(random)}
                              : GlyphPoint{coordinate(random), coordinate(random)};
                }
            }

            std::vector<Edge> drawn;
            GlyphPoint at;
            const auto toGlyph = [&](int64_t v) {
                EXPECT_EQ(v % scale, 0);
                return static_cast<int32_t>(v / scale);
            };
            WalkShape(Encode(polylines, scale), 0, scale, [&](const ShapeMove& m) {
                const GlyphPoint to{toGlyph(m.x), toGlyph(m.y)};
                if (m.penDown)
                    drawn.emplace_back(at, to);
                at = to;
            });
            ASSERT_EQ(drawn, expected) << "scale " << scale << " round " << round;
        }
    }
}

TEST(EncodeShape, RefusesAScaleBelowOne)
{
    EXPECT_THROW(Encode({{{0, 0}, {1, 1}}}, 0), InvalidArgument);
}

} // namespace
} // namespace qv
