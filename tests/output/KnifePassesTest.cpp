#include "output/KnifePasses.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace qv {
namespace {

struct Step {
    int32_t x;
    int32_t y;
    char code;
};

// Knife records at the given pulse positions, measured at 80 pulses per mm (length = major / 2 page units).
std::vector<KnifeRecord> Records(const std::vector<Step>& steps)
{
    std::vector<KnifeRecord> records;
    for (const Step& s : steps) {
        KnifeRecord r;
        r.x = s.x;
        r.y = s.y;
        r.code = s.code;
        records.push_back(r);
    }
    MeasureKnifeSegments(records, 80, 80);
    return records;
}

// The thinning pass as the plain description reads: walk j over the list, erase from the middle.
void ReferenceThin(std::vector<KnifeRecord>& r)
{
    long limit = static_cast<long>(r.size()) - 4;
    if (limit <= 1)
        return;
    for (long j = 3; j - 2 < limit; ++j) {
        const auto u = static_cast<std::size_t>(j);
        const char c = r[u].code;
        const bool sameCut = c != 'M' && r[u - 2].code == c && r[u - 1].code == c && r[u + 1].code == c;
        if (sameCut && r[u - 1].major < 50 && r[u].major < 50 && r[u + 1].major < 50) {
            r.erase(r.begin() + j);
            KnifeRecord& next = r[u];
            next.dx = next.x - r[u - 1].x;
            next.dy = next.y - r[u - 1].y;
            next.major = static_cast<uint32_t>(std::max(std::abs(next.dx), std::abs(next.dy)));
            --limit;
        }
    }
}

std::string Dump(const std::vector<KnifeRecord>& records)
{
    std::ostringstream s;
    for (const KnifeRecord& r : records)
        s << r.code << "(" << r.x << "," << r.y << " d" << r.dx << "," << r.dy << " m" << r.major << ") ";
    return s.str();
}

bool SameThinned(const std::vector<KnifeRecord>& a, const std::vector<KnifeRecord>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].code != b[i].code || a[i].dx != b[i].dx ||
            a[i].dy != b[i].dy || a[i].major != b[i].major)
            return false;
    }
    return true;
}

TEST(ThinKnifeRecords, StraightRunLosesEveryOtherInteriorRecord)
{
    std::vector<Step> steps{{0, 0, 'M'}};
    for (int32_t x = 10; x <= 110; x += 10)
        steps.push_back({x, 0, 'F'});
    std::vector<KnifeRecord> records = Records(steps);
    ThinKnifeRecords(records);
    std::vector<int32_t> xs;
    for (const KnifeRecord& r : records)
        xs.push_back(r.x);
    EXPECT_EQ(xs, (std::vector<int32_t>{0, 10, 20, 40, 60, 80, 100, 110}));
    EXPECT_EQ(records[3].dx, 20);
    EXPECT_EQ(records[3].major, 20u);
}

TEST(ThinKnifeRecords, LeavesWhatNoWindowFits)
{
    struct Row {
        const char* name;
        std::vector<Step> steps;
    };
    const Row rows[] = {
        {"five records: no window before the last",
         {{0, 0, 'M'}, {10, 0, 'F'}, {20, 0, 'F'}, {30, 0, 'F'}, {40, 0, 'F'}}},
        {"a move inside the window",
         {{0, 0, 'M'}, {10, 0, 'F'}, {20, 0, 'F'}, {30, 0, 'M'}, {40, 0, 'F'}, {50, 0, 'F'}}},
        {"half and full cuts mixed",
         {{0, 0, 'M'}, {10, 0, 'F'}, {20, 0, 'F'}, {30, 0, 'H'}, {40, 0, 'F'}, {50, 0, 'F'}}},
        {"a segment of 50 pulses", {{0, 0, 'M'}, {10, 0, 'F'}, {20, 0, 'F'}, {70, 0, 'F'}, {80, 0, 'F'}, {90, 0, 'F'}}},
        {"empty", {}},
    };
    for (const Row& row : rows) {
        std::vector<KnifeRecord> records = Records(row.steps);
        ThinKnifeRecords(records);
        EXPECT_EQ(records.size(), row.steps.size()) << row.name;
    }
}

TEST(ThinKnifeRecords, MatchesTheEraseFromTheMiddleReference)
{
    std::mt19937 rng(20240611);
    for (int round = 0; round < 400; ++round) {
        std::vector<Step> steps;
        const int curves = std::uniform_int_distribution<int>(0, 6)(rng);
        int32_t x = 0;
        int32_t y = 0;
        for (int c = 0; c < curves; ++c) {
            const char code = std::uniform_int_distribution<int>(0, 3)(rng) == 0 ? 'H' : 'F';
            const int points = std::uniform_int_distribution<int>(1, 40)(rng);
            for (int p = 0; p < points; ++p) {
                const int spread = std::uniform_int_distribution<int>(0, 9)(rng) == 0 ? 300 : 45;
                x += std::uniform_int_distribution<int>(-spread, spread)(rng);
                y += std::uniform_int_distribution<int>(-spread, spread)(rng);
                steps.push_back({x, y, p == 0 ? 'M' : code});
            }
        }
        std::vector<KnifeRecord> fast = Records(steps);
        std::vector<KnifeRecord> plain = fast;
        for (int pass = 0; pass < 4; ++pass) {
            ThinKnifeRecords(fast);
            ReferenceThin(plain);
            ASSERT_TRUE(SameThinned(fast, plain))
                << "round " << round << " pass " << pass << "\nfast:  " << Dump(fast) << "\nplain: " << Dump(plain);
            MeasureKnifeSegments(fast, 80, 80);
            MeasureKnifeSegments(plain, 80, 80);
        }
    }
}

TEST(MeasureKnifeSegments, HeadingTurnAndLength)
{
    // 104.25 pulses per mm: length = trunc(major x 80 / 208.5), at least 1.
    std::vector<KnifeRecord> r = Records({{5, 5, 'M'}, {5, 5, 'F'}, {-100, 5, 'F'}, {-100, -300, 'F'}, {0, -300, 'F'}});
    MeasureKnifeSegments(r, 104.25, 104.25);
    EXPECT_EQ(r[0].dx, 0);
    EXPECT_EQ(r[0].length, 1u);
    EXPECT_EQ(r[1].major, 0u);
    EXPECT_EQ(r[1].length, 1u);
    EXPECT_DOUBLE_EQ(r[2].heading, std::atan2(0.0, -105.0));
    EXPECT_DOUBLE_EQ(r[2].turn, r[2].heading); // a reversal stays at +pi
    EXPECT_EQ(r[2].length, 40u);               // 105 x 80 / 208.5 = 40.3
    EXPECT_EQ(r[3].major, 305u);
    EXPECT_NEAR(r[3].turn, 1.570796326795, 1e-9); // from pi to -pi/2 comes round to +pi/2
    EXPECT_NEAR(r[4].turn, 1.570796326795, 1e-9);
}

struct ClassRow {
    const char* name;
    bool optimised;
    std::vector<Step> steps;
    std::vector<int32_t> classes;
    std::vector<int32_t> speeds;
};

// Lengths in page units are half the pulse distances here; curve speed 8, FitDistHpgl 28 (tight below 22, curve
// below 33).
TEST(ClassifyKnifeSegments, HandMadePaths)
{
    const ClassRow rows[] = {
        {"optimised: tight, curve and normal by length",
         true,
         {{0, 0, 'M'}, {42, 0, 'F'}, {106, 0, 'F'}, {172, 0, 'F'}},
         {0, 2, 1, 0},
         {0, 10, 76, 160}},
        {"optimised: segments between sharp turns are corners",
         true,
         {{0, 0, 'M'}, {200, 0, 'F'}, {200, 200, 'F'}, {400, 200, 'F'}, {400, 400, 'F'}},
         {0, 0, 3, 3, 0},
         {0, 160, 0, 0, 160}},
        {"optimised: corner piece of 200 units is not a corner",
         true,
         {{0, 0, 'M'}, {400, 0, 'F'}, {400, 400, 'F'}, {800, 400, 'F'}},
         {0, 0, 0, 0},
         {0, 160, 160, 160}},
        {"optimised: a stub under 10 units between sharp turns",
         true,
         {{0, 0, 'M'}, {400, 0, 'F'}, {400, 18, 'F'}, {800, 18, 'F'}},
         {0, 0, 3, 0},
         {0, 160, 0, 160}},
        {"optimised: no corner across a change of knife",
         true,
         {{0, 0, 'M'}, {200, 0, 'F'}, {200, 200, 'F'}, {400, 200, 'M'}, {400, 400, 'H'}},
         {0, 0, 0, 0, 0},
         {0, 160, 160, 0, 160}},
        {"plain: short is tight, bent is curve",
         false,
         {{0, 0, 'M'}, {28, 0, 'F'}, {1028, 200, 'F'}, {3028, 200, 'F'}},
         {0, 2, 1, 0},
         {0, 5, 8, 160}},
        {"plain: a short normal segment between slowed ones is slowed",
         false,
         {{0, 0, 'M'}, {20, 0, 'F'}, {60, 0, 'F'}, {80, 0, 'F'}},
         {0, 2, 1, 2},
         {0, 5, 8, 5}},
        {"plain: 30 units between slowed ones stay normal",
         false,
         {{0, 0, 'M'}, {20, 0, 'F'}, {80, 0, 'F'}, {100, 0, 'F'}},
         {0, 2, 0, 2},
         {0, 5, 160, 5}},
        {"plain: two normal segments under 60 units together",
         false,
         {{0, 0, 'M'}, {20, 0, 'F'}, {70, 0, 'F'}, {120, 0, 'F'}, {140, 0, 'F'}},
         {0, 2, 1, 1, 2},
         {0, 5, 8, 8, 5}},
        {"plain: two normal segments of 60 units together stay",
         false,
         {{0, 0, 'M'}, {20, 0, 'F'}, {80, 0, 'F'}, {140, 0, 'F'}, {160, 0, 'F'}},
         {0, 2, 0, 0, 2},
         {0, 5, 160, 160, 5}},
        // The third length of the three-segment rule is the closing slowed segment's: 35 + 35 + 10 < 90.
        {"plain: three normal segments between slowed ones",
         false,
         {{0, 0, 'M'}, {20, 0, 'F'}, {90, 0, 'F'}, {160, 0, 'F'}, {230, 0, 'F'}, {250, 0, 'F'}},
         {0, 2, 1, 1, 1, 2},
         {0, 5, 8, 8, 8, 5}},
        {"plain: the rules need one knife throughout",
         false,
         {{0, 0, 'M'}, {20, 0, 'H'}, {60, 0, 'H'}, {80, 0, 'M'}, {100, 0, 'F'}, {140, 0, 'F'}, {160, 0, 'F'}},
         {0, 2, 0, 0, 2, 1, 2},
         {0, 5, 160, 0, 5, 8, 5}},
    };
    for (const ClassRow& row : rows) {
        std::vector<KnifeRecord> r = Records(row.steps);
        ClassifyKnifeSegments(r, row.optimised, 28);
        SetKnifeSpeedsAndSteps(r, row.optimised, 8, 80);
        std::vector<int32_t> classes;
        std::vector<int32_t> speeds;
        for (const KnifeRecord& k : r) {
            classes.push_back(k.segmentClass);
            speeds.push_back(k.speed);
        }
        EXPECT_EQ(classes, row.classes) << row.name;
        EXPECT_EQ(speeds, row.speeds) << row.name;
    }
}

struct LookRow {
    const char* name;
    bool optimised;
    std::vector<Step> steps;
    std::vector<int32_t> lookAhead;
};

// Cut segment length 80, curve speed 8: a segment of 800 pulses is 10 steps.
TEST(ComputeKnifeLookAhead, StopsAndCaps)
{
    const LookRow rows[] = {
        {"straight run adds up the steps ahead",
         true,
         {{0, 0, 'M'}, {800, 0, 'F'}, {1600, 0, 'F'}, {2400, 0, 'F'}},
         {0, 20, 10, 0}},
        {"a right angle stops the knife", true, {{0, 0, 'M'}, {800, 0, 'F'}, {800, 800, 'F'}}, {0, 0, 0}},
        {"a right angle stops it in the plain variant too",
         false,
         {{0, 0, 'M'}, {800, 0, 'F'}, {800, 800, 'F'}},
         {0, 0, 0}},
        {"a reversal in X stops it even with a small turn",
         true,
         {{0, 0, 'M'}, {2, 800, 'F'}, {0, 1600, 'F'}},
         {0, 0, 0}},
        {"the same path without the reversal runs on", true, {{0, 0, 'M'}, {2, 800, 'F'}, {4, 1600, 'F'}}, {0, 10, 0}},
        {"a turn between 5 degrees and the stop turn caps at K = 8",
         true,
         {{0, 0, 'M'}, {800, 0, 'F'}, {1600, 141, 'F'}},
         {0, 8, 0}},
        {"the plain variant stops at 15 degrees", false, {{0, 0, 'M'}, {800, 0, 'F'}, {1600, 215, 'F'}}, {0, 0, 0}},
        {"the plain variant caps at K = 5", false, {{0, 0, 'M'}, {800, 0, 'F'}, {1600, 141, 'F'}}, {0, 5, 0}},
        {"an axis-parallel segment is capped at curve speed + 20",
         true,
         {{0, 0, 'M'}, {8000, 0, 'F'}, {40000, 0, 'F'}},
         {0, 28, 0}},
        {"a slanted one only by the speeds", true, {{0, 0, 'M'}, {8000, 1, 'F'}, {40000, 5, 'F'}}, {0, 160, 0}},
        {"a change of knife stops it", true, {{0, 0, 'M'}, {800, 0, 'F'}, {1600, 0, 'H'}}, {0, 0, 0}},
    };
    for (const LookRow& row : rows) {
        std::vector<KnifeRecord> r = Records(row.steps);
        ClassifyKnifeSegments(r, row.optimised, 28);
        SetKnifeSpeedsAndSteps(r, row.optimised, 8, 80);
        ComputeKnifeLookAhead(r, row.optimised, 8);
        std::vector<int32_t> lookAhead;
        for (const KnifeRecord& k : r)
            lookAhead.push_back(k.lookAhead);
        EXPECT_EQ(lookAhead, row.lookAhead) << row.name;
    }
}

TEST(ComputeKnifeLookAhead, CappedByTheSlowerNeighbour)
{
    std::vector<KnifeRecord> r = Records({{0, 0, 'M'}, {800, 1, 'F'}, {1600, 2, 'F'}, {2400, 3, 'F'}});
    SetKnifeSpeedsAndSteps(r, true, 8, 80);
    r[1].speed = 160;
    r[2].speed = 3;
    r[3].speed = 160;
    ComputeKnifeLookAhead(r, true, 8);
    EXPECT_EQ(r[1].lookAhead, 3); // by the next record's speed
    EXPECT_EQ(r[2].lookAhead, 3); // by its own
}

} // namespace
} // namespace qv
