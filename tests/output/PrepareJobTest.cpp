#include "output/PrepareJob.h"

#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/Notifier.h"
#include "geometry/PageSamples.h"
#include "output/KnifeData.h"
#include "output/KnifeList.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::AddCurve;
using test::PointsOf;

// Options that leave the geometry of a curve alone unless a test turns one on.
class PrepareJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.CutEffectOptmize = 0;
        settings.SharpAngleCompensite = 0;
        settings.StartEndCompensite = 0;
        settings.AutoCleanSP = 0;
        settings.PlotOnly = 0;
    }

    void Prepare() { PrepareJobPage(jobPage, knives, page, params, settings); }

    COnePage page;
    COnePage jobPage;
    KnifeList knives;
    MachineParams params;
    CSettings settings;
};

TEST_F(PrepareJobTest, CalibrationScale)
{
    struct Row {
        const char* name;
        uint16_t oneMetreX;
        uint16_t oneMetreY;
        std::vector<CPoint> expected;
    };
    const Row rows[] = {
        {"10000 is a factor of exactly 1", 10000, 10000, {{0, 0}, {40000, 123}, {39999, 40000}}},
        {"a machine drawing 1001 mm per metre", 10010, 10000, {{0, 0}, {39960, 123}, {39959, 40000}}},
        {"Y calibrated on its own", 10000, 10010, {{0, 0}, {40000, 122}, {39999, 39960}}},
        {"a one-metre value of 0 applies no calibration", 0, 0, {{0, 0}, {40000, 123}, {39999, 40000}}},
    };
    for (const Row& row : rows) {
        page.ClearCurves();
        AddCurve(page, {{0, 0}, {40000, 123}, {39999, 40000}}, CurveKind::Plot);
        params.settings.oneMetreX = row.oneMetreX;
        params.settings.oneMetreY = row.oneMetreY;
        Prepare();
        ASSERT_EQ(jobPage.curves.size(), 1u) << row.name;
        EXPECT_EQ(jobPage.curves[0]->points, row.expected) << row.name;
    }
}

TEST_F(PrepareJobTest, YMargin)
{
    AddCurve(page, {{10, 120}, {500, 900}}, CurveKind::Plot);
    params.settings.yMargin = 0;
    Prepare();
    EXPECT_EQ(jobPage.curves[0]->points, (std::vector<CPoint>{{10, 120}, {500, 900}}));
    EXPECT_EQ(jobPage.minY, 120);

    params.settings.yMargin = 5;
    Prepare();
    EXPECT_EQ(jobPage.curves[0]->points, (std::vector<CPoint>{{10, 320}, {500, 1100}}));
    EXPECT_EQ(jobPage.plotMaxY, 1100);
}

// The margin comes first, then the cleaning pattern beside the drawing: the pattern starts at y = 0.
TEST_F(PrepareJobTest, CleaningPatternAfterTheMargin)
{
    AddCurve(page, {{10, 120}, {500, 900}}, CurveKind::Plot);
    params.settings.yMargin = 5;
    settings.AutoCleanSP = 1;
    Prepare();
    ASSERT_EQ(jobPage.curves.size(), 1u + 1400u);
    EXPECT_EQ(jobPage.curves[0]->points, (std::vector<CPoint>{{1010, 320}, {1500, 1100}}));
    EXPECT_EQ(jobPage.curves[1]->points, (std::vector<CPoint>{{0, 0}, {1000, 0}}));
    EXPECT_EQ(jobPage.minY, 0);
}

TEST_F(PrepareJobTest, PlotOnlyLeavesNothingToCut)
{
    AddCurve(page, {{0, 0}, {1000, 0}, {1000, 1000}}, CurveKind::FullCut);
    AddCurve(page, {{0, 2000}, {1000, 2000}}, CurveKind::HalfCut);
    settings.PlotOnly = 1;
    Prepare();
    EXPECT_EQ(test::KindsOf(jobPage), (std::vector<int32_t>{CurveKind::Plot, CurveKind::Plot}));
    EXPECT_EQ(jobPage.hasFullCut, 0);
    EXPECT_EQ(jobPage.hasHalfCut, 0);
    EXPECT_EQ(jobPage.plotMaxX, 1000);
    EXPECT_EQ(jobPage.plotMaxY, 2000);

    RecordingNotifier notifier;
    EXPECT_EQ(BuildKnifeData(knives, jobPage, params, settings, notifier), 0);
    EXPECT_TRUE(knives.records.empty());
}

TEST_F(PrepareJobTest, OneKnifeWidensTheFullCutRange)
{
    struct Bounds {
        int32_t hasFullCut, minX, maxX, minY, maxY;
        bool operator==(const Bounds&) const = default;
    };
    struct Row {
        const char* name;
        uint8_t sameKnife;
        bool withFullCut;
        Bounds full;
    };
    const Row rows[] = {
        {"one knife: half cuts reach further", 1, true, {1, 100, 3000, 50, 2500}},
        {"own knives: full cuts keep their own range", 0, true, {1, 500, 1000, 400, 800}},
        {"one knife, half cuts only: the full-cut check still covers them", 1, false, {1, 100, 3000, 50, 2500}},
        {"own knives, half cuts only", 0, false, {0, 0, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        page.ClearCurves();
        if (row.withFullCut)
            AddCurve(page, {{500, 400}, {1000, 800}}, CurveKind::FullCut);
        AddCurve(page, {{100, 50}, {3000, 2500}}, CurveKind::HalfCut);
        params.settings.sameKnife = row.sameKnife;
        Prepare();
        const Bounds full{jobPage.hasFullCut, jobPage.fullCutMinX, jobPage.fullCutMaxX, jobPage.fullCutMinY,
                          jobPage.fullCutMaxY};
        EXPECT_EQ(full, row.full) << row.name;
        EXPECT_EQ(jobPage.halfCutMaxX, 3000) << row.name;
        EXPECT_EQ(jobPage.hasHalfCut, 1) << row.name;
    }
}

// Compensation and skew change the curves before they are measured: the full cut is prolonged by 20 units at
// both ends, and a perpendicularity of 90 (0.1 degree) lifts (40000, 0) to (40000, 70).
TEST_F(PrepareJobTest, MeasuredAfterCompensationAndSkew)
{
    AddCurve(page, {{0, 0}, {1000, 0}}, CurveKind::FullCut);
    AddCurve(page, {{0, 0}, {40000, 0}}, CurveKind::Plot);
    settings.StartEndCompensite = 20;
    params.settings.perpendicularity = 90;
    Prepare();
    EXPECT_EQ(jobPage.fullCutMinX, -20);
    EXPECT_EQ(jobPage.fullCutMaxX, 1020);
    EXPECT_EQ(jobPage.fullCutMaxY, 2);
    EXPECT_EQ(jobPage.plotMaxY, 70);
    EXPECT_EQ(jobPage.maxX, 40000);
    EXPECT_EQ(jobPage.minX, -20);
}

TEST_F(PrepareJobTest, EarlierJobLeavesNothingBehind)
{
    AddCurve(jobPage, {{7, 7}, {8, 8}}, CurveKind::FullCut);
    knives.records.resize(5);
    AddCurve(page, {{0, 0}, {10, 10}}, CurveKind::Plot);
    Prepare();
    EXPECT_EQ(PointsOf(jobPage), (std::vector<std::vector<CPoint>>{{{0, 0}, {10, 10}}}));
    EXPECT_TRUE(knives.records.empty());
    EXPECT_EQ(jobPage.hasFullCut, 0);
}

TEST_F(PrepareJobTest, OperatorsPageIsNeverChanged)
{
    test::RandomPages random(77);
    for (int round = 0; round < 20; ++round) {
        COnePage source = random.Page(40, 12, 400, 20, 3);
        AddCurve(source, {{0, 0}, {2000, 0}, {2000, 1500}, {0, 1500}}, CurveKind::FullCut);
        AddCurve(source, {{2000, 1500}, {3000, 3000}}, CurveKind::FullCut);
        source.fileName = "a.plt";
        source.pageNumber = 3;
        source.state = PageState::Printing;
        source.marked = 1;
        source.maxX = 12345;
        const auto before = test::Clone(source);

        settings.CutEffectOptmize = 1;
        settings.SharpAngleCompensite = 20;
        settings.StartEndCompensite = 20;
        settings.AutoCleanSP = round % 2;
        settings.PlotOnly = round % 5 == 4 ? 1 : 0;
        params.settings.oneMetreX = 10010;
        params.settings.oneMetreY = 9990;
        params.settings.yMargin = 5;
        params.settings.perpendicularity = round % 3 == 0 ? 110 : 90;
        PrepareJobPage(jobPage, knives, source, params, settings);

        EXPECT_TRUE(test::SamePages(*before, source)) << "round " << round;
        EXPECT_EQ(source.optimized, 0) << "round " << round;
        EXPECT_EQ(source.marked, 1) << "round " << round;
        EXPECT_EQ(source.fileName, "a.plt") << "round " << round;
        EXPECT_EQ(jobPage.fileName, "a.plt") << "round " << round;
        EXPECT_EQ(jobPage.optimized, 1) << "round " << round;
    }
}

} // namespace
} // namespace qv
