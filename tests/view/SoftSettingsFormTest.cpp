#include "view/SoftSettingsForm.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <variant>

namespace qv {
namespace {

SoftSettings Ok(const FormValues& values, const SoftSettings& current)
{
    const auto result = CheckSoftSettingsForm(values, current, 0);
    EXPECT_TRUE(std::holds_alternative<SoftSettings>(result)) << std::get<FieldRefusal>(result).message;
    return std::get<SoftSettings>(result);
}

TEST(SoftSettingsForm, TheDefaultsAsShownAndBackUnchanged)
{
    const SoftSettings defaults;
    const FormValues values = LoadSoftSettingsForm(defaults);
    const std::map<int, std::string> texts = {{525, "0"},    {526, "2"},    {624, "0.5"}, {611, "0.5"},
                                              {625, "0.7"},  {520, "1200"}, {521, "900"}, {530, "33"},
                                              {531, "-315"}, {532, "60"},   {533, "-665"}};
    EXPECT_EQ(values.texts, texts);
    EXPECT_EQ(values.selections.at(kSoftPltUnit), 0);
    EXPECT_TRUE(values.checks.at(213));
    EXPECT_FALSE(values.checks.at(219));
    EXPECT_EQ(Ok(values, defaults), defaults);
}

TEST(SoftSettingsForm, ConversionsAndThePageLength)
{
    struct Row {
        const char* name;
        int control;
        const char* text;
        int32_t SoftSettings::*option;
        int32_t stored;
        const char* shownAgain;
    };
    const Row rows[] = {
        {"millimetres times 40, truncated", 611, "0.57", &SoftSettings::SharpAngleCompensite, 22, "0.55"},
        {"upper end of a compensation", 624, "2", &SoftSettings::StartEndCompensite, 80, "2"},
        {"smallest point spacing", 625, "0.4", &SoftSettings::FitDistHpgl, 16, "0.4"},
        {"a page length below 500 means no paging", 525, "499", &SoftSettings::PLTFilePageLen, 0, "0"},
        {"page length 500", 525, "500", &SoftSettings::PLTFilePageLen, 500, "500"},
        {"display size", 521, "3000", &SoftSettings::DispSizeY, 3000, "3000"},
        {"coarse offsets have no range", 531, "-2000000", &SoftSettings::FCYYYY, -2000000, "-2000000"},
    };
    for (const Row& row : rows) {
        const SoftSettings current;
        FormValues values = LoadSoftSettingsForm(current);
        values.texts[row.control] = row.text;
        const SoftSettings stored = Ok(values, current);
        EXPECT_EQ(stored.*row.option, row.stored) << row.name;
        SoftSettings expected = current;
        expected.*row.option = row.stored;
        EXPECT_EQ(stored, expected) << row.name << ": nothing else changes";
        EXPECT_EQ(LoadSoftSettingsForm(stored).texts.at(row.control), row.shownAgain) << row.name;
    }
}

TEST(SoftSettingsForm, RefusalsInTheCheckingOrder)
{
    struct Row {
        const char* name;
        std::map<int, std::string> texts;
        FieldRefusal refusal;
    };
    const Row rows[] = {
        {"page length beyond 3000", {{525, "3001"}}, {525, "请输入一个 0 至 3000 之间的整数。"}},
        {"a range error in the point spacing keeps a valid page length from being stored",
         {{525, "800"}, {625, "0.3"}},
         {625, "请输入一个 0.4 至 10 之间的数字。"}},
        {"unsigned text", {{526, "two"}}, {526, "请输入一个正整数。"}},
        {"decimal text", {{624, "half"}}, {624, "请输入一个数字。"}},
        {"decimal range", {{624, "2.01"}}, {624, "请输入一个 0 至 2 之间的数字。"}},
        {"signed text", {{533, "1.5"}}, {533, "请输入一个整数。"}},
        {"the half-cut pen comes before the display size",
         {{520, "39"}, {526, "10"}},
         {526, "请输入一个 2 至 9 之间的整数。"}},
        {"the display size comes before the offsets",
         {{530, ""}, {520, "4001"}},
         {520, "请输入一个 40 至 4000 之间的整数。"}},
    };
    for (const Row& row : rows) {
        FormValues values = LoadSoftSettingsForm(SoftSettings{});
        for (const auto& [control, text] : row.texts)
            values.texts[control] = text;
        const auto result = CheckSoftSettingsForm(values, SoftSettings{}, 0);
        ASSERT_TRUE(std::holds_alternative<FieldRefusal>(result)) << row.name;
        EXPECT_EQ(std::get<FieldRefusal>(result), row.refusal) << row.name;
    }
}

TEST(SoftSettingsForm, ChecksAndTheUnitList)
{
    SoftSettings current;
    current.FPNoNeedConfirm = 2; // counts as off
    current.Language = 1;
    current.ConnectViaNet = 1;
    current.PltUnit = 5;
    FormValues values = LoadSoftSettingsForm(current);
    EXPECT_FALSE(values.checks.at(1017));
    EXPECT_EQ(values.selections.at(kSoftPltUnit), -1);

    for (const SoftCheck& check : SoftSettingsChecks())
        values.checks[check.control] = true;
    values.selections[kSoftPltUnit] = -1; // typed text that selects no item
    const SoftSettings stored = Ok(values, current);
    for (const SoftCheck& check : SoftSettingsChecks())
        EXPECT_EQ(stored.*check.option, 1) << check.control;
    EXPECT_EQ(stored.PltUnit, -1);
    EXPECT_EQ(stored.Language, 1) << "not the dialog's";
    EXPECT_EQ(stored.ConnectViaNet, 1) << "not the dialog's";

    for (const SoftCheck& check : SoftSettingsChecks())
        values.checks[check.control] = false;
    values.selections[kSoftPltUnit] = 1;
    const SoftSettings cleared = Ok(values, stored);
    for (const SoftCheck& check : SoftSettingsChecks())
        EXPECT_EQ(cleared.*check.option, 0) << check.control;
    EXPECT_EQ(cleared.PltUnit, 1);

    EXPECT_EQ(SoftSettingsListItems(0), (std::vector<std::string>{"0.0250mm (常规)", "0.0254mm (专用)"}));
    EXPECT_EQ(SoftSettingsListItems(1), (std::vector<std::string>{"0.0250mm", "0.0254mm"}));
}

} // namespace
} // namespace qv
