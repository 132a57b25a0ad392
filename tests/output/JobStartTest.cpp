#include "output/JobStart.h"

#include "app/CSettings.h"
#include "app/MessageCatalog.h"
#include "app/Notifier.h"
#include "link/CommandCodes.h"
#include "output/KnifeList.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

KnifeList Knives(std::size_t n)
{
    KnifeList list;
    list.records.resize(n);
    return list;
}

TEST(JobStart, StartRecordXReferenceTruncatesTwiceTowardZero)
{
    struct Row {
        const char* name;
        int16_t knifeOffsetX; // 0.1 mm
        int32_t fcxxxx;       // 0.1 mm
        double xPulsesPerMm;
        int32_t maxX; // page units
        int32_t expected;
    };
    const Row rows[] = {
        // trunc(8.3 * 104.25 = 865.275) = 865; 40000 / 40 * 104.25 = 104250
        {"start-up values, one metre", 50, 33, 104.25, 40000, 105115},
        // trunc(3.3 * 80 = 264.00000000000006) = 264, the knife data's X base
        {"offset of 3.3 mm at 80 pulses", 33, 0, 80.0, 0, 264},
        // trunc(-66.7 * 104.25 = -6953.475) = -6953, then -6953 + 2.60625 = -6950.39 -> -6950, not -6951
        {"negative offset truncates toward zero", -700, 33, 104.25, 1, -6950},
        // 0 + 3 / 40 * 104.25 = 7.81875 -> 7
        {"far edge of a fraction of a pulse", -33, 33, 104.25, 3, 7},
    };
    for (const Row& row : rows) {
        CSettings settings;
        settings.FCXXXX = row.fcxxxx;
        MachineParams params;
        params.settings.fullCutOffsetX = row.knifeOffsetX;
        params.advanced.xPulsesPerMm = row.xPulsesPerMm;
        COnePage page;
        page.maxX = row.maxX;
        const JobStartRecord record = MakeJobStartRecord(page, params, settings, RasterPlan{}, KnifeList{});
        EXPECT_EQ(record.xReference, row.expected) << row.name;
    }
}

TEST(JobStart, SegmentCountAndRowsPerBand)
{
    struct Row {
        const char* name;
        int32_t bands;
        int32_t rowsPerBand;
        std::size_t knifeRecords;
        uint16_t expected;
    };
    const Row rows[] = {
        {"nothing to do: N = 0, R = 0", 0, 0, 0, 0},
        {"knife data only", 0, 0, 3, 1},
        {"bands only", 5, 700, 0, 5},
        {"199 bands and knife data fill the table", 199, 700, 1, 200},
    };
    const CSettings settings;
    const MachineParams params;
    const COnePage page;
    for (const Row& row : rows) {
        RasterPlan plan;
        plan.bands = row.bands;
        plan.rowsPerBand = row.rowsPerBand;
        const KnifeList knives = Knives(row.knifeRecords);
        EXPECT_EQ(JobSegmentCount(plan, knives), row.expected) << row.name;
        const JobStartRecord record = MakeJobStartRecord(page, params, settings, plan, knives);
        EXPECT_EQ(record.segmentCount, row.expected) << row.name;
        EXPECT_EQ(record.rowsPerBand, row.rowsPerBand) << row.name;
    }
}

TEST(JobStart, ConfirmKeyRuleAtTheJobStart)
{
    struct Row {
        const char* name;
        int32_t needPanelConfirm;
        int32_t repeatCut;
        uint8_t expected;
    };
    const Row rows[] = {
        {"no confirm needed", 0, 0, cmd::kStartJobNow},
        {"confirm needed", 1, 0, cmd::kStartJobConfirm},
        {"RepeatCut 1 never waits", 1, 1, cmd::kStartJobNow},
        {"RepeatCut counts only as 1 here", 1, 2, cmd::kStartJobConfirm},
    };
    for (const Row& row : rows) {
        CSettings settings;
        settings.NeedPanelConfirm = row.needPanelConfirm;
        settings.RepeatCut = row.repeatCut;
        EXPECT_EQ(StartCommandCode(settings, settings), row.expected) << row.name;
    }
}

TEST(JobStart, AfterAStartWithoutConfirmLaterPagesWait)
{
    struct Row {
        const char* name;
        bool onlyPage;
        int32_t fpNoNeedConfirm;
        int32_t expected;
    };
    const Row rows[] = {
        {"the only page, FPNoNeedConfirm 1", true, 1, 0},
        {"two pages in the list", false, 1, 1},
        {"the only page, FPNoNeedConfirm 0", true, 0, 1},
        {"FPNoNeedConfirm counts only as 1", true, 2, 1},
    };
    for (const Row& row : rows) {
        CSettings settings;
        settings.NeedPanelConfirm = 0;
        settings.FPNoNeedConfirm = row.fpNoNeedConfirm;
        NoteStartWithoutConfirm(settings, settings, row.onlyPage);
        EXPECT_EQ(settings.NeedPanelConfirm, row.expected) << row.name;
    }
}

TEST(JobStart, RasterPlanRefusesBandsLongerThanTheBuffers)
{
    MachineParams params;
    RecordingNotifier notifier;

    COnePage empty;
    const auto none = PlanJobRaster(empty, params, notifier, 1);
    ASSERT_TRUE(none) << "a page without plot extent is no band at all";
    EXPECT_EQ(none->bands, 0);
    EXPECT_EQ(none->rowsPerBand, 0) << "R of a page without plot extent is 0, never the last job's";

    COnePage page;
    page.plotMaxX = 400;
    page.plotMaxY = 40 * 100; // 100 mm
    const auto shortBands = PlanJobRaster(page, params, notifier, 1);
    ASSERT_TRUE(shortBands);
    EXPECT_GT(shortBands->bands, 0);
    EXPECT_TRUE(notifier.Texts().empty());

    page.plotMaxY = 40 * 2500; // 2.5 m: far more rows than a band may hold
    EXPECT_FALSE(PlanJobRaster(page, params, notifier, 1));
    EXPECT_EQ(notifier.Texts(), std::vector<std::string>{std::string(MessageText(Msg::PlotBandTooLong, 1))});
}

} // namespace
} // namespace qv
