#include "output/KnifeData.h"

#include "OutputFixtures.h"
#include "app/Notifier.h"
#include "geometry/PageSamples.h"
#include "output/KnifeList.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv {
namespace {

using test::AddCurve;

struct Pos {
    int32_t x;
    int32_t y;
    char code;
    bool operator==(const Pos&) const = default;
};

std::vector<Pos> Positions(const KnifeList& list)
{
    std::vector<Pos> out;
    for (const KnifeRecord& r : list.records)
        out.push_back({r.x, r.y, r.code});
    return out;
}

std::string Describe(const std::vector<Pos>& v)
{
    std::string s;
    for (const Pos& p : v)
        s += std::string(1, p.code) + "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ") ";
    return s;
}

class KnifeDataTest : public ::testing::Test {
protected:
    void SetUp() override { test::ZeroCoarseOffsets(settings); }

    int Build()
    {
        notifier.Clear();
        return BuildKnifeData(list, page, params, settings, notifier);
    }

    COnePage page;
    MachineParams params = test::PlainKnifeParams();
    CSettings settings;
    RecordingNotifier notifier;
    KnifeList list;
};

TEST_F(KnifeDataTest, PageWithoutCutsGivesNoRecords)
{
    AddCurve(page, {{0, 0}, {100, 100}}, CurveKind::Plot);
    AddCurve(page, {{0, 0}, {100, 100}}, CurveKind::PenZero);
    list.records.resize(3); // nothing of an earlier build survives
    EXPECT_EQ(Build(), 0);
    EXPECT_TRUE(list.records.empty());
    EXPECT_TRUE(notifier.Messages().empty());
}

TEST_F(KnifeDataTest, HalfCutsFirstThenFullCutsInPageOrder)
{
    AddCurve(page, {{100, 0}, {200, 0}}, CurveKind::FullCut);
    AddCurve(page, {{0, 100}, {0, 200}, {0, 300}}, CurveKind::HalfCut);
    AddCurve(page, {{5, 5}, {6, 6}}, CurveKind::Plot);
    AddCurve(page, {{1000, 1000}}, CurveKind::FullCut);
    AddCurve(page, {{400, 400}, {500, 400}}, CurveKind::HalfCut);
    ASSERT_EQ(Build(), 0);
    const std::vector<Pos> expected{
        {0, 200, 'M'},    {0, 400, 'H'}, {0, 600, 'H'}, {800, 800, 'M'},
        {1000, 800, 'H'}, {200, 0, 'M'}, {400, 0, 'F'}, {2000, 2000, 'M'},
    };
    EXPECT_EQ(Positions(list), expected) << Describe(Positions(list));
}

TEST_F(KnifeDataTest, OnePointCurveIsOneMoveRecord)
{
    AddCurve(page, {{10, 20}}, CurveKind::FullCut);
    ASSERT_EQ(Build(), 0);
    ASSERT_EQ(list.records.size(), 1u);
    const KnifeRecord& r = list.records[0];
    EXPECT_EQ((Pos{r.x, r.y, r.code}), (Pos{20, 40, 'M'}));
    EXPECT_EQ(r.speed, 0);
    EXPECT_EQ(r.lookAhead, 0);
}

TEST_F(KnifeDataTest, KnifeOffsetsInPulses)
{
    struct Row {
        const char* name;
        uint8_t sameKnife;
        double pulsesPerMm;
        CPoint point;
        int32_t kind;
        int32_t x;
        int32_t y;
    };
    // Full-cut knife 33 + 0 (X) and 50 - 10 (Y) tenths of a mm, half-cut knife 50 + 60 and 50 - 665. The Y base
    // also holds the acceleration run: 16 x trunc(40 x pulses per mm / 16) pulses.
    const Row rows[] = {
        {"full-cut X base trunc(3.3 x 80) = 264", 1, 80, {0, 0}, CurveKind::FullCut, 264, 3200 + 320},
        {"point adds trunc(x x 80 / 40)", 1, 80, {40, 40}, CurveKind::FullCut, 264 + 80, 3200 + 320 + 80},
        {"same knife: half cuts take the full-cut offsets", 1, 80, {0, 0}, CurveKind::HalfCut, 264, 3200 + 320},
        {"own knife: half cuts take the half-cut offsets", 0, 80, {0, 0}, CurveKind::HalfCut, 880, 3200 - 4920},
        // 3.3 x 104.25 = 344.025; 40 x 104.25 / 16 = 260.6; 4 x 104.25 = 417; -1 x 104.25 / 40 = -2.6
        {"truncation toward zero", 1, 104.25, {-1, -1}, CurveKind::FullCut, 344 - 2, 4160 + 417 - 2},
    };
    for (const Row& row : rows) {
        page.ClearCurves();
        params.settings.fullCutOffsetX = 33;
        params.settings.fullCutOffsetY = 50;
        params.settings.halfCutOffsetX = 50;
        params.settings.halfCutOffsetY = 50;
        settings.FCYYYY = -10;
        settings.HCXXXX = 60;
        settings.HCYYYY = -665;
        params.settings.sameKnife = row.sameKnife;
        params.advanced.xPulsesPerMm = row.pulsesPerMm;
        params.advanced.yPulsesPerMm = row.pulsesPerMm;
        params.advanced.inkjetAccelDistance = 40;
        params.advanced.inkjetIntervalPulses = 16;
        AddCurve(page, {row.point}, row.kind);
        ASSERT_EQ(Build(), 0) << row.name;
        ASSERT_EQ(list.records.size(), 1u) << row.name;
        EXPECT_EQ(list.records[0].x, row.x) << row.name;
        EXPECT_EQ(list.records[0].y, row.y) << row.name;
    }
}

TEST_F(KnifeDataTest, IntervalOfZeroGivesNoAccelerationRun)
{
    params.advanced.inkjetAccelDistance = 40;
    params.advanced.inkjetIntervalPulses = 0;
    AddCurve(page, {{10, 10}}, CurveKind::FullCut);
    ASSERT_EQ(Build(), 0);
    EXPECT_EQ(list.records[0].y, 20);
}

// 10-pulse segments along X thin down over four passes: 0..110 -> 0,10,20,40,60,80,100,110 ->
// 0,10,20,60,100,110 -> 0,10,20,100,110, which no window fits any more.
TEST_F(KnifeDataTest, PlainVariantThinsFourTimes)
{
    CCurve& c = AddCurve(page, {}, CurveKind::FullCut);
    for (int32_t x = 0; x <= 55; x += 5)
        c.AddPoint(x, 0);
    settings.CutEffectOptmize = 0;
    ASSERT_EQ(Build(), 0);
    std::vector<int32_t> xs;
    for (const KnifeRecord& r : list.records)
        xs.push_back(r.x);
    EXPECT_EQ(xs, (std::vector<int32_t>{0, 10, 20, 100, 110}));
    // The last geometry pass measured the thinned list.
    EXPECT_EQ(list.records[3].dx, 80);
    EXPECT_EQ(list.records[3].major, 80u);
    EXPECT_EQ(list.records[3].length, 40u);

    settings.CutEffectOptmize = 1;
    ASSERT_EQ(Build(), 0);
    EXPECT_EQ(list.records.size(), 12u);
}

TEST_F(KnifeDataTest, CutSegmentLengthOfZeroCountsAsOne)
{
    AddCurve(page, {{0, 0}, {250, 0}, {251, 0}}, CurveKind::FullCut);
    params.advanced.cutSegmentLength = 0;
    ASSERT_EQ(Build(), 0);
    EXPECT_EQ(list.records[1].steps, 500);
    EXPECT_EQ(list.records[2].steps, 1); // 2 steps still count as 1

    params.advanced.cutSegmentLength = 80;
    ASSERT_EQ(Build(), 0);
    EXPECT_EQ(list.records[1].steps, 6);
}

TEST_F(KnifeDataTest, RecordLimit)
{
    struct Row {
        const char* name;
        int32_t points;
        int32_t spacing; // page units between points
        int32_t optimise;
        int expected;
    };
    const Row rows[] = {
        {"131070 records pass", 131070, 100, 1, 0},
        {"131071 records fail", 131071, 100, 1, -1},
        {"the limit counts the records left after thinning", 131071, 5, 0, 0},
    };
    for (const Row& row : rows) {
        page.ClearCurves();
        CCurve& c = AddCurve(page, {}, CurveKind::FullCut);
        for (int32_t i = 0; i < row.points; ++i)
            c.AddPoint(i * row.spacing, 0);
        settings.CutEffectOptmize = row.optimise;
        settings.Language = 1;
        EXPECT_EQ(Build(), row.expected) << row.name;
        if (row.expected == 0) {
            EXPECT_TRUE(notifier.Messages().empty()) << row.name;
        } else {
            EXPECT_EQ(notifier.Texts(), std::vector<std::string>{"切割数据缓冲失败,原因:数据太大"}) << row.name;
            EXPECT_TRUE(list.records.empty()) << row.name;
        }
    }
}

TEST(EncodeKnifeData, GoldenBytes)
{
    KnifeList list;
    KnifeRecord r;
    r.x = 264;
    r.y = -3;
    r.code = 'M';
    list.records.push_back(r);
    r.x = 0x01020304;
    r.y = 70000;
    r.speed = 160;
    r.lookAhead = 5;
    r.code = 'F';
    r.dx = 99; // working fields never reach the wire
    r.segmentClass = 2;
    list.records.push_back(r);
    r.x = -1;
    r.y = 0;
    r.speed = 570; // beyond a byte: the fastest a byte says, not 570 mod 256
    r.lookAhead = 300;
    r.code = 'H';
    list.records.push_back(r);

    std::vector<uint8_t> out(3 * 12 + 2, 0xEE);
    EncodeKnifeData(list, out);
    const std::vector<uint8_t> expected{
        0x08, 0x01, 0x00, 0x00, 0xFD, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x4D, 0x00, 0x04,
        0x03, 0x02, 0x01, 0x70, 0x11, 0x01, 0x00, 0xA0, 0x05, 0x46, 0x00, 0xFF, 0xFF,
        0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x48, 0x00, 0xEE, 0xEE,
    };
    EXPECT_EQ(out, expected);
}

TEST(EncodeKnifeData, RefusesShortBuffer)
{
    KnifeList list;
    list.records.resize(2);
    std::vector<uint8_t> out(23);
    EXPECT_ANY_THROW(EncodeKnifeData(list, out));
    std::vector<uint8_t> empty;
    EXPECT_NO_THROW(EncodeKnifeData(KnifeList{}, empty));
}

} // namespace
} // namespace qv
