#include "view/MachineParamsForm.h"
#include "view/AdvancedParamsForm.h"

#include "link/CommandCodes.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <variant>

namespace qv {
namespace {

// One edit field: the two ends of what OK accepts, and where the value lands in the record.
template <typename Record>
struct RangeRow {
    int control;
    int64_t low;
    int64_t high;
    std::function<int64_t(const Record&)> stored;
};

// Each end is stored in its record field; one beyond either end is refused with the range prompt naming both
// ends, the focus on that field.
template <typename Record, typename Form, typename Check>
void ExpectRanges(const std::vector<RangeRow<Record>>& rows, const Form& loaded, Check check)
{
    for (const auto& row : rows) {
        SCOPED_TRACE("control " + std::to_string(row.control));
        for (const int64_t v : {row.low, row.high}) {
            Form form = loaded;
            form.values.texts[row.control] = std::to_string(v);
            const auto result = check(form);
            ASSERT_TRUE(std::holds_alternative<Record>(result)) << v;
            EXPECT_EQ(row.stored(std::get<Record>(result)), v);
        }
        const std::string prompt =
            "请输入一个 " + std::to_string(row.low) + " 至 " + std::to_string(row.high) + " 之间的整数。";
        for (const int64_t v : {row.low - 1, row.high + 1}) {
            Form form = loaded;
            form.values.texts[row.control] = std::to_string(v);
            const auto result = check(form);
            const bool minusInUnsigned = v < 0 && std::holds_alternative<FieldRefusal>(result) &&
                                         std::get<FieldRefusal>(result).message == "请输入一个正整数。";
            if (!minusInUnsigned) {
                EXPECT_EQ(std::get<FieldRefusal>(result), (FieldRefusal{row.control, prompt})) << v;
            }
        }
    }
}

TEST(MachineSettingsForm, EveryFieldItsRangeAndItsByte)
{
    using S = MachineSettings;
    const std::vector<RangeRow<S>> rows = {
        {615, 1, 9, [](const S& s) { return s.plotLineWidth; }}, // the label says 1~10
        {616, 0, 20, [](const S& s) { return s.headOverlap; }},
        {617, 100, 250, [](const S& s) { return s.head2Position; }},
        {614, 0, 10, [](const S& s) { return s.bidirCorrection; }},
        {604, 10, 90, [](const S& s) { return s.fullCutStartPressure; }},
        {605, 10, 90, [](const S& s) { return s.fullCutWorkPressure; }},
        {606, 10, 90, [](const S& s) { return s.halfCutStartPressure; }},
        {607, 10, 90, [](const S& s) { return s.halfCutWorkPressure; }},
        {600, -700, 700, [](const S& s) { return s.fullCutOffsetX; }},
        {601, -700, 700, [](const S& s) { return s.fullCutOffsetY; }},
        {602, -700, 700, [](const S& s) { return s.halfCutOffsetX; }},
        {603, -700, 700, [](const S& s) { return s.halfCutOffsetY; }},
        {610, 50, 150, [](const S& s) { return s.perpendicularity; }},
        {619, 0, 100, [](const S& s) { return s.yMargin; }},
        {612, 5000, 20000, [](const S& s) { return s.oneMetreX; }},
        {613, 5000, 20000, [](const S& s) { return s.oneMetreY; }},
        {620, 0, 1, [](const S& s) { return s.panelLanguage; }},
        // 16-bit fields: beyond 65535 the value would wrap on its way to the machine.
        {621, 0, 65535, [](const S& s) { return s.paperCutStartY; }},
        {622, 0, 65535, [](const S& s) { return s.paperCutEndY; }},
        {608, 0, 65535, [](const S& s) { return s.headStopX; }},
        {609, 0, 65535, [](const S& s) { return s.headStopY; }},
    };
    ASSERT_EQ(rows.size(), MachineSettingsFields().size());
    const MachineSettings current;
    ExpectRanges(rows, LoadMachineSettingsForm(current),
                 [&](const MachineSettingsForm& f) { return CheckMachineSettingsForm(f, current, 0); });
}

TEST(MachineSettingsForm, LoadAndOkWithoutChangesKeepTheRecord)
{
    MachineSettings machine;
    machine.cartridgeType = Cartridge::IUT308;
    machine.stopMode = 1;
    machine.bidirPrinting = 0;
    machine.sameKnife = 1;
    machine.fullCutOffsetY = -123;
    machine.headStopY = 40000;
    machine.machineIp = {10, 0, 0, 7};
    const MachineSettingsForm form = LoadMachineSettingsForm(machine);
    EXPECT_EQ(form.values.texts.at(601), "-123");
    EXPECT_EQ(form.values.selections.at(kMacCartridgeType), 1);
    EXPECT_EQ(form.values.selections.at(kMacStopMode), 1);
    EXPECT_FALSE(form.values.checks.at(kMacBidirPrinting));
    EXPECT_TRUE(form.values.checks.at(kMacSameKnife));
    EXPECT_EQ(form.address, machine.machineIp);
    EXPECT_EQ(std::get<MachineSettings>(CheckMachineSettingsForm(form, machine, 0)), machine);
}

TEST(MachineSettingsForm, TheListsAndTheChecks)
{
    EXPECT_EQ(MachineSettingsListItems(kMacCartridgeType, 1), (std::vector<std::string>{"HP45", "IUT308"}));
    EXPECT_EQ(MachineSettingsListItems(kMacStopMode, 0), (std::vector<std::string>{"图形右下角", "指定坐标"}));
    EXPECT_EQ(MachineSettingsListItems(kMacStopMode, 1),
              (std::vector<std::string>{"Xmax Ymin of page", "Specified coord"}));

    // A value the list does not hold selects nothing, and a list without a selection keeps its byte.
    MachineSettings machine;
    machine.stopMode = 7;
    MachineSettingsForm form = LoadMachineSettingsForm(machine);
    EXPECT_EQ(form.values.selections.at(kMacStopMode), -1);
    form.values.selections[kMacCartridgeType] = 1;
    form.values.checks[kMacBidirPrinting] = false;
    form.values.checks[kMacSameKnife] = false;
    form.address = {172, 16, 0, 9};
    const auto stored = std::get<MachineSettings>(CheckMachineSettingsForm(form, machine, 0));
    EXPECT_EQ(stored.stopMode, 7);
    EXPECT_EQ(stored.cartridgeType, Cartridge::IUT308);
    EXPECT_EQ(stored.bidirPrinting, 0);
    EXPECT_EQ(stored.sameKnife, 0);
    EXPECT_EQ(stored.PackedIp(), 172 + 16 * 256 + 9 * 16777216);
}

TEST(MachineSettingsForm, OneHeadStaysTicked)
{
    struct Row {
        const char* name;
        uint8_t headsInUse;
        int clicked;       // 0: none
        bool head1, head2; // shown afterwards
        uint8_t stored;
    };
    const Row rows[] = {
        {"both", 0, 0, true, true, 0},
        {"head 1 only", 1, 0, true, false, 1},
        {"head 2 only", 2, 0, false, true, 2},
        {"any other value ticks both", 9, 0, true, true, 0},
        {"unticking the only head 1 ticks head 2", 1, kMacHead1, false, true, 2},
        {"unticking the only head 2 ticks head 1", 2, kMacHead2, true, false, 1},
        {"unticking one of both", 0, kMacHead2, true, false, 1},
        {"ticking the other", 1, kMacHead2, true, true, 0},
    };
    for (const Row& row : rows) {
        MachineSettings machine;
        machine.headsInUse = row.headsInUse;
        MachineSettingsForm form = LoadMachineSettingsForm(machine);
        if (row.clicked) {
            form.values.checks[row.clicked] = !form.values.checks[row.clicked]; // the box toggles itself
            HeadBoxToggled(form.values, row.clicked);
        }
        EXPECT_EQ(form.values.checks.at(kMacHead1), row.head1) << row.name;
        EXPECT_EQ(form.values.checks.at(kMacHead2), row.head2) << row.name;
        EXPECT_EQ(std::get<MachineSettings>(CheckMachineSettingsForm(form, machine, 0)).headsInUse, row.stored)
            << row.name;
    }
}

TEST(MachineSettingsForm, OfflineOnlyTheAddressChanges)
{
    for (const RecordField& field : MachineSettingsFields())
        EXPECT_FALSE(MachineSettingsControlEnabled(field.control, false)) << field.control;
    for (const ChoiceField& choice : MachineSettingsChoices())
        EXPECT_EQ(MachineSettingsControlEnabled(choice.control, false), choice.control == kMacAddress)
            << choice.control;
    for (const int button : {kMacOk, kMacCancel, kMacScreenshot})
        EXPECT_TRUE(MachineSettingsControlEnabled(button, false));
    EXPECT_TRUE(MachineSettingsControlEnabled(615, true));

    // OK offline keeps the new address in the host's copy and says it cannot reach the machine.
    const MachineSettings startup;
    MachineSettingsForm form = LoadMachineSettingsForm(startup);
    form.address = {192, 168, 1, 50};
    const auto stored = std::get<MachineSettings>(CheckMachineSettingsForm(form, startup, 1));
    MachineSettings expected = startup;
    expected.machineIp = {192, 168, 1, 50};
    EXPECT_EQ(stored, expected);
    EXPECT_EQ(MachineSettingsSaveAfterOk(false), (MachineSettingsSave{std::nullopt, Msg::OfflineCannotSave}));
    EXPECT_EQ(MessageText(Msg::OfflineCannotSave, 1), "Offline!");
    EXPECT_EQ(MachineSettingsSaveAfterOk(true), (MachineSettingsSave{cmd::kSaveSettings, std::nullopt}));
}

TEST(MachineSettingsForm, TheFirstBadFieldIsRefusedInTheReadingOrder)
{
    const MachineSettings machine;
    MachineSettingsForm form = LoadMachineSettingsForm(machine);
    form.values.texts[616] = "5";     // accepted, but not stored
    form.values.texts[604] = "x";     // the first refusal
    form.values.texts[621] = "70000"; // never read
    EXPECT_EQ(std::get<FieldRefusal>(CheckMachineSettingsForm(form, machine, 1)),
              (FieldRefusal{604, "Please enter an integer."}));
}

TEST(AdvancedParamsForm, EveryFieldItsRangeAndItsByte)
{
    using A = AdvancedParams;
    const std::vector<RangeRow<A>> rows = {
        {650, 500, 4000, [](const A& a) { return a.xProtectLength; }},
        {651, 500, 3000, [](const A& a) { return a.yProtectLengthPrint; }},
        {652, 500, 3000, [](const A& a) { return a.yProtectLengthFullCut; }},
        {653, 500, 3000, [](const A& a) { return a.yProtectLengthHalfCut; }},
        {654, 10, 60, [](const A& a) { return a.inkjetAccelDistance; }},
        {655, 1, 5, [](const A& a) { return a.cutSpeed; }},
        {656, 1, 5, [](const A& a) { return a.idleSpeed; }},
        {662, 0, 2, [](const A& a) { return a.boardVersion; }},
        {657, 2, 100, [](const A& a) { return a.inkjetIntervalPulses; }},
        {660, 20, 250, [](const A& a) { return a.cutSegmentLength; }},
        {661, 5, 50, [](const A& a) { return a.curveSpeed; }},
        {663, 20, 40, [](const A& a) { return a.nozzleColumnDistance; }},
        {664, 0, 1, [](const A& a) { return a.holderType; }},
    };
    ASSERT_EQ(rows.size() + 2, AdvancedParamsFields().size());
    const AdvancedParams current;
    ExpectRanges(rows, LoadAdvancedParamsForm(current),
                 [&](const AdvancedParamsForm& f) { return CheckAdvancedParamsForm(f, current, 0); });
}

TEST(AdvancedParamsForm, PulsesPerMillimetreOnlyAfterTheGearRatioButton)
{
    AdvancedParams current;
    current.xPulsesPerMm = 104.2500000000001; // more digits than the field shows
    AdvancedParamsForm form = LoadAdvancedParamsForm(current);
    EXPECT_EQ(form.values.texts.at(kAdvXPulsesPerMm), "104.25");
    EXPECT_FALSE(AdvancedParamsControlEnabled(kAdvXPulsesPerMm, form));
    EXPECT_FALSE(AdvancedParamsControlEnabled(kAdvYPulsesPerMm, form));
    EXPECT_TRUE(AdvancedParamsControlEnabled(650, form));

    // Untouchable fields keep the record's values exactly.
    form.values.texts[kAdvYPulsesPerMm] = "0";
    EXPECT_EQ(std::get<AdvancedParams>(CheckAdvancedParamsForm(form, current, 0)), current);

    form.gearRatioEnabled = true;
    EXPECT_TRUE(AdvancedParamsControlEnabled(kAdvXPulsesPerMm, form));
    struct Row {
        const char* text;
        std::optional<double> stored;
    };
    const Row rows[] = {
        {"104.25", 104.25},        {"80.5", 80.5},
        {"0.001", 0.001},          {"0", std::nullopt}, // every length would become zero pulses
        {"-104.25", std::nullopt}, {"100001", std::nullopt},
    };
    for (const Row& row : rows) {
        form.values.texts[kAdvYPulsesPerMm] = row.text;
        const auto result = CheckAdvancedParamsForm(form, current, 0);
        if (row.stored) {
            EXPECT_EQ(std::get<AdvancedParams>(result).yPulsesPerMm, *row.stored) << row.text;
            EXPECT_EQ(std::get<AdvancedParams>(result).xPulsesPerMm, 104.25) << "the shown text is read";
        } else {
            EXPECT_EQ(std::get<FieldRefusal>(result),
                      (FieldRefusal{kAdvYPulsesPerMm, "请输入一个 0.001 至 100000 之间的数字。"}))
                << row.text;
        }
    }
}

TEST(AdvancedParamsForm, OpensOnlyForAReadyMachineAndTheRightPassword)
{
    EXPECT_TRUE(AdvancedParamsMayOpen({kStatusReady, 0}));
    EXPECT_FALSE(AdvancedParamsMayOpen({kStatusPaused, 0}));
    EXPECT_TRUE(AdvancedParamsPasswordAccepted("50318462"));
    EXPECT_TRUE(AdvancedParamsPasswordAccepted("qv"));
    EXPECT_FALSE(AdvancedParamsPasswordAccepted("QV"));
    EXPECT_FALSE(AdvancedParamsPasswordAccepted("50318462 "));
    EXPECT_FALSE(AdvancedParamsPasswordAccepted(""));
}

} // namespace
} // namespace qv
