#include "tasks/TaskListRow.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

namespace qv {
namespace {

class TaskListRowTest : public ::testing::Test {
protected:
    // Local time is UTC for the duration of a test, so the time cell is predictable.
    void SetUp() override
    {
        if (const char* tz = std::getenv("TZ"))
            savedTz_ = tz;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override
    {
        if (savedTz_)
            setenv("TZ", savedTz_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> savedTz_;
};

TEST_F(TaskListRowTest, CellsOfARow)
{
    COnePage page;
    page.fileName = "裤子.plt";
    page.pageNumber = 2;
    page.state = PageState::Auto;
    page.minX = -20;
    page.maxX = 40000 + 20 + 20; // 1000.5 mm wide: the fraction is cut off
    page.minY = 0;
    page.maxY = 39;             // under one millimetre
    page.fileTime = 1700000000; // 2023-11-14 22:13:20 UTC

    const TaskListRow zh = MakeTaskListRow(page, 4, 0);
    EXPECT_EQ(zh.number, "005");
    EXPECT_EQ(zh.state, "自动开始");
    EXPECT_EQ(zh.size, "1001*0");
    EXPECT_EQ(zh.time, "2023-11-14 22:13:20");
    EXPECT_EQ(zh.name, "裤子.plt---第002页");
    EXPECT_EQ(MakeTaskListRow(page, 999, 1).number, "1000");
    EXPECT_EQ(MakeTaskListRow(page, 0, 1).state, "Auto");
}

TEST_F(TaskListRowTest, StateTexts)
{
    struct Case {
        int32_t state;
        const char* zh;
        const char* en;
    };
    const Case cases[] = {
        {PageState::Manual, "手动开始", "Manual"},
        {PageState::Auto, "自动开始", "Auto"},
        {PageState::Done, "已完成", "Done"},
        {PageState::Printing, "工作中...", "Printing"},
        {4, "", ""},
        {-1, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PageStateText(c.state, 0), c.zh) << c.state;
        EXPECT_EQ(PageStateText(c.state, 1), c.en) << c.state;
    }
}

TEST_F(TaskListRowTest, FullRangeBoundsDoNotOverflow)
{
    COnePage page;
    page.minX = INT32_MIN;
    page.maxX = INT32_MAX;
    EXPECT_EQ(MakeTaskListRow(page, 0, 0).size, "107374182*0");
}

} // namespace
} // namespace qv
