#include "model/CCurve.h"

#include "app/InvalidArgument.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace qv {
namespace {

CCurve CurveOf(std::initializer_list<CPoint> points)
{
    CCurve c;
    c.points = points;
    return c;
}

TEST(CCurve, ConstructionValues)
{
    const CCurve c;
    EXPECT_EQ(c.kind, CurveKind::Plot);
    EXPECT_EQ(c.lineStyle, 0);
    EXPECT_EQ(c.selected, 0);
    EXPECT_EQ(c.notch, 0);
    EXPECT_EQ(c.PointCount(), 0u);
}

TEST(CCurve, PointContainer)
{
    CCurve c;
    c.AddPoint(1, 1);
    c.InsertPoint(0, 0, 0);
    c.InsertPoint(4, 9, 9); // past the end: the gap fills with (0, 0)
    EXPECT_EQ(c.points, (std::vector<CPoint>{{0, 0}, {1, 1}, {0, 0}, {0, 0}, {9, 9}}));
    c.RemovePoint(1);
    EXPECT_EQ(c.GetPoint(3), (CPoint{9, 9}));
    EXPECT_THROW(c.GetPoint(4), InvalidArgument);
    EXPECT_THROW(c.RemovePoint(4), InvalidArgument);
    EXPECT_EQ(c.PointCount(), 4u);
}

TEST(CCurve, BoundsOfAnEmptyCurveAreRefusedWithoutChange)
{
    CCurve c;
    c.minX = 7;
    EXPECT_THROW(c.ComputeBounds(), InvalidArgument);
    EXPECT_EQ(c.minX, 7);
}

TEST(CCurve, BoundsLengthAndTranslate)
{
    CCurve c = CurveOf({{10, -5}, {40, 35}, {-20, 0}});
    c.ComputeBounds();
    EXPECT_EQ((std::array{c.minX, c.maxX, c.minY, c.maxY}), (std::array{-20, 40, -5, 35}));
    c.ComputeLength();
    EXPECT_DOUBLE_EQ(c.length, 50.0 + std::sqrt(60.0 * 60 + 35 * 35));

    c.Translate(c.minX, 0);
    EXPECT_EQ(c.minX, 0);
    EXPECT_EQ(c.maxX - c.minX, 60);
    EXPECT_EQ(c.points.front(), (CPoint{30, -5}));

    CCurve one = CurveOf({{3, 4}});
    one.ComputeLength();
    EXPECT_EQ(one.length, 0);
}

TEST(CCurve, TranslateSaturatesInsteadOfWrapping)
{
    CCurve c = CurveOf({{INT32_MAX - 1, INT32_MIN + 1}});
    c.Translate(-10, 10);
    EXPECT_EQ(c.points.front(), (CPoint{INT32_MAX, INT32_MIN}));
}

TEST(CCurve, ScaleTruncatesTowardZero)
{
    CCurve c = CurveOf({{-3, 5}, {7, -7}});
    c.Scale(0.5, 0.5);
    EXPECT_EQ(c.points, (std::vector<CPoint>{{-1, 2}, {3, -3}}));
    c.Scale(1e12, std::nan(""));
    EXPECT_EQ(c.points.front(), (CPoint{INT32_MIN, 0})) << "out of range saturates, NaN is 0";
}

TEST(CCurve, RemoveCollinear)
{
    struct Case {
        const char* name;
        std::vector<CPoint> in;
        std::vector<CPoint> out;
    };
    const Case cases[] = {
        {"inner point of a straight run", {{0, 0}, {10, 0}, {20, 0}, {20, 10}}, {{0, 0}, {20, 0}, {20, 10}}},
        {"two points untouched", {{0, 0}, {10, 0}}, {{0, 0}, {10, 0}}},
        {"several in a row against the same anchor", {{0, 0}, {1, 1}, {2, 2}, {3, 3}}, {{0, 0}, {3, 3}}},
        {"reversal is not collinear", {{0, 0}, {10, 0}, {5, 0}}, {{0, 0}, {10, 0}, {5, 0}}},
        {"zero-length segments have direction 0", {{0, 0}, {0, 0}, {5, 0}}, {{0, 0}, {5, 0}}},
        {"ends are kept", {{0, 0}, {0, 0}, {0, 0}}, {{0, 0}, {0, 0}}},
    };
    for (const Case& c : cases) {
        CCurve curve;
        curve.points = c.in;
        curve.RemoveCollinear();
        EXPECT_EQ(curve.points, c.out) << c.name;
    }
}

// The rule is "the same atan2 direction"; the sweep skips atan2 where the answer is plain. Long near-parallel
// segments, whose atan2 values may round together, are where a shortcut would go wrong.
TEST(CCurve, RemoveCollinearKeepsExactlyThePointsWhereTheAtan2DirectionChanges)
{
    const auto reference = [](std::vector<CPoint> p) {
        const auto dir = [](CPoint a, CPoint b) {
            return std::atan2(static_cast<double>(b.y) - a.y, static_cast<double>(b.x) - a.x);
        };
        std::vector<CPoint> kept{p.front()};
        for (std::size_t k = 1; k + 1 < p.size(); ++k) {
            if (dir(kept.back(), p[k]) != dir(p[k], p[k + 1]))
                kept.push_back(p[k]);
        }
        kept.push_back(p.back());
        return kept;
    };
    std::mt19937 rng(7);
    const int32_t reach[] = {3, 1000, 2'000'000'000};
    for (int round = 0; round < 3000; ++round) {
        const int32_t r = reach[round % 3];
        std::uniform_int_distribution<int32_t> step(-r, r), small(-2, 2), pick(0, 3);
        std::vector<CPoint> in{{0, 0}};
        for (int i = 0; i < 12; ++i) {
            const CPoint last = in.back();
            const auto add = [](int32_t a, int64_t b) {
                return static_cast<int32_t>(std::clamp<int64_t>(a + b, INT32_MIN, INT32_MAX));
            };
            switch (pick(rng)) {
            case 0: // anywhere
                in.push_back({add(last.x, step(rng)), add(last.y, step(rng))});
                break;
            case 1: // on along the last segment, or a hair off it
                if (in.size() >= 2) {
                    const CPoint before = in[in.size() - 2];
                    in.push_back({add(last.x, int64_t{last.x} - before.x + small(rng)),
                                  add(last.y, int64_t{last.y} - before.y)});
                    break;
                }
                [[fallthrough]];
            case 2: // no move
                in.push_back(last);
                break;
            default: // a far point nearly parallel to an axis
                in.push_back({add(last.x, r), add(last.y, small(rng))});
                break;
            }
        }
        CCurve curve;
        curve.points = in;
        curve.RemoveCollinear();
        ASSERT_EQ(curve.points, reference(in)) << "round " << round;
    }
}

TEST(CCurve, CopyFromKeepsTargetNotchAndLength)
{
    CCurve source = CurveOf({{1, 2}, {3, 4}});
    source.selected = 1;
    source.kind = CurveKind::HalfCut;
    source.lineStyle = 1;
    source.notch = 1;
    source.length = 99;
    source.ComputeBounds();

    CCurve target = CurveOf({{9, 9}, {8, 8}, {7, 7}});
    target.length = 5;
    target.CopyFrom(source);
    EXPECT_EQ(target.selected, 1);
    EXPECT_EQ(target.kind, CurveKind::HalfCut);
    EXPECT_EQ(target.lineStyle, 1);
    EXPECT_EQ(target.maxY, 4);
    EXPECT_EQ(target.points, source.points);
    EXPECT_EQ(target.notch, 0);
    EXPECT_EQ(target.length, 5);
}

TEST(CCurve, RecordRoundTripOfLargeCurve)
{
    CCurve c;
    c.kind = CurveKind::PenZero;
    c.lineStyle = 1;
    for (int i = 0; i < 0x10000; ++i)
        c.AddPoint(i, -i);
    c.ComputeBounds();
    c.selected = 1;
    ArchiveWriter w;
    c.Serialize(w);
    EXPECT_EQ(w.bytes()[29], 0xFF) << "0x10000 points need the long count";

    ArchiveReader r(w.bytes(), {});
    CCurve back;
    back.Serialize(r);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(back.points, c.points);
    EXPECT_EQ(back.kind, CurveKind::PenZero);
    EXPECT_EQ(back.selected, 0) << "selection is not stored";
}

TEST(CCurve, ForeignTagIsAccepted)
{
    ArchiveWriter w;
    w.WriteString("something else");
    for (int i = 0; i < 6; ++i)
        w.WriteInt32(i);
    w.WriteCount(1);
    w.WriteInt32(5);
    w.WriteInt32(6);
    ArchiveReader r(w.bytes(), {});
    CCurve c;
    c.Serialize(r);
    EXPECT_EQ(c.kind, 0);
    EXPECT_EQ(c.lineStyle, 5);
    EXPECT_EQ(c.points, (std::vector<CPoint>{{5, 6}}));
}

} // namespace
} // namespace qv
