// The list's rows and the decisions of its commands, run through the workflow as the window runs them.
#include "workflow/WorkflowFixtures.h"

#include "tasks/CQuorvaneDoc.h"
#include "view/ListCommands.h"
#include "view/TaskListModel.h"
#include "workflow/WorkflowEngine.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

constexpr int32_t M = PageState::Manual, A = PageState::Auto, D = PageState::Done, P = PageState::Printing;
constexpr int32_t kEnglish = 1;

// A centre whose list holds one page per state given, named "0.plt", "1.plt", ..., and the list's rows.
struct ListRig : CentreFixture {
    explicit ListRig(const std::vector<int32_t>& states)
    {
        for (std::size_t i = 0; i < states.size(); ++i)
            c->doc.pages.push_back(MakePage(std::to_string(i) + ".plt", states[i]));
        model.Refill(c->doc, kEnglish);
    }
    // The selection as the list reports it, the command, then the refill the workflow asks for.
    bool Run(int32_t command, std::vector<std::ptrdiff_t> rows)
    {
        model.Select(rows);
        const bool known = RunListCommand(c->engine, command, model.Selected());
        model.Refill(c->doc, kEnglish);
        return known;
    }
    std::vector<std::string> Cells(std::string TaskListRow::*cell) const
    {
        std::vector<std::string> cells;
        for (const TaskListRow& row : model.Rows())
            cells.push_back(row.*cell);
        return cells;
    }

    TaskListModel model;
};

TEST(TaskListModel, RowsAndTheSelectionTheCommandsActOn)
{
    ListRig rig({A, P, M});
    EXPECT_EQ(rig.Cells(&TaskListRow::number), (std::vector<std::string>{"001", "002", "003"}));
    EXPECT_EQ(rig.Cells(&TaskListRow::state), (std::vector<std::string>{"Auto", "Printing", "Manual"}));
    EXPECT_EQ(rig.Cells(&TaskListRow::name)[2], "2.plt---第001页");

    const std::ptrdiff_t reported[] = {2, -1, 0, 2, 7};
    rig.model.Select(reported);
    EXPECT_EQ(std::vector<std::ptrdiff_t>(rig.model.Selected().begin(), rig.model.Selected().end()),
              (std::vector<std::ptrdiff_t>{0, 2}))
        << "in row order, each once, rows that exist";
    EXPECT_EQ(rig.model.FirstSelected(), 0);
    rig.model.Refill(rig.c->doc, kEnglish);
    EXPECT_EQ(rig.model.FirstSelected(), -1) << "a refill clears the selection";
}

TEST(TaskListModel, StateCommandsSpareThePrintingPage)
{
    struct Row {
        const char* name;
        int32_t command;
        std::vector<std::ptrdiff_t> rows;
        std::vector<std::string> states;
    };
    const Row rows[] = {
        {"three rows Done, one of them Printing",
         ListCommand::SetDone,
         {2, 0, 1},
         {"Done", "Printing", "Done", "Auto"}},
        {"Manual", ListCommand::SetManual, {0, 3}, {"Manual", "Printing", "Manual", "Manual"}},
        {"no selection, no change", ListCommand::SetAuto, {}, {"Auto", "Printing", "Manual", "Auto"}},
        {"deleting every row leaves the Printing page", ListCommand::Delete, {0, 1, 2, 3}, {"Printing"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ListRig rig({A, P, M, A});
        EXPECT_TRUE(rig.Run(row.command, row.rows));
        EXPECT_EQ(rig.Cells(&TaskListRow::state), row.states);
    }
    ListRig rig({D, P, D, M});
    EXPECT_TRUE(rig.Run(ListCommand::DeleteDone, {}));
    EXPECT_EQ(rig.Cells(&TaskListRow::name), (std::vector<std::string>{"1.plt---第001页", "3.plt---第001页"}));
    EXPECT_FALSE(rig.Run(266, {0})) << "not a list command";
}

TEST(TaskListModel, MoveToFrontWithAndWithoutAJob)
{
    struct Row {
        const char* name;
        std::vector<std::ptrdiff_t> rows;
        bool jobRunning;
        std::vector<std::string> numbers; // of the pages in list order
    };
    const Row rows[] = {
        {"row 5 becomes 001", {4}, false, {"4", "0", "1", "2", "3", "5"}},
        {"the first row stays", {0}, false, {"0", "1", "2", "3", "4", "5"}},
        {"with a job, row 3 goes behind the page being output", {2}, true, {"0", "2", "1", "3", "4", "5"}},
        {"the first of several, in row order", {5, 3}, false, {"3", "0", "1", "2", "4", "5"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ListRig rig({P, M, M, M, M, M});
        rig.c->link.jobThreadExists = row.jobRunning;
        EXPECT_TRUE(rig.Run(ListCommand::MoveToFront, row.rows));
        std::vector<std::string> numbers;
        for (const std::string& name : rig.Cells(&TaskListRow::name))
            numbers.push_back(name.substr(0, name.find('.')));
        EXPECT_EQ(numbers, row.numbers);
        rig.c->link.jobThreadExists = false;
    }
}

// The context menu's report entry is open only on a page of a drawing read lately.
TEST(TaskListModel, TheReportOfARowsPage)
{
    ListRig rig({M}); // a page of a reloaded list: no report
    TempDir dir;
    WriteFile(dir.File("square.plt"), "IN;SP1;PU0,0;PD400,0,400,400;");
    rig.c->engine.AddByPath(dir.File("square.plt"), false);
    ASSERT_EQ(rig.c->doc.pages.size(), 2u);
    const std::optional<RowReport> found = ReportOfRow(*rig.centre, 1);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->fileName, "square.plt");
    EXPECT_EQ(found->report.pages, 1u);
    for (const std::ptrdiff_t row : {-1, 0, 2})
        EXPECT_FALSE(ReportOfRow(*rig.centre, row)) << row;
}

} // namespace
} // namespace qv::test
