// The engine's rules on the task list alone: dispatch without a ready machine, stopping, job results, the
// removal of Done pages, the list's commands, the Start button, and the last task list kept on disk.
#include "WorkflowFixtures.h"

#include "link/CommandCodes.h"
#include "tasks/CQuorvaneDoc.h"
#include "workflow/LastTaskFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qv::test {
namespace {

namespace fs = std::filesystem;
using Result = WorkflowEngine::DispatchResult;
constexpr int32_t M = PageState::Manual, A = PageState::Auto, D = PageState::Done, P = PageState::Printing;

// A centre whose list holds one page per state given, named "0.plt", "1.plt", ...
struct ListCentre : CentreFixture {
    explicit ListCentre(const std::vector<int32_t>& states, const std::vector<std::string>& ini = {})
        : CentreFixture(ini)
    {
        OnOwner([&] {
            for (std::size_t i = 0; i < states.size(); ++i)
                c->doc.pages.push_back(MakePage(std::to_string(i) + ".plt", states[i]));
        });
    }
    WorkflowEngine& engine() { return c->engine; }
};

TEST(Dispatch, WaitsWhileTheMachineIsNotReady)
{
    for (const uint8_t type : {kStatusInit, kStatusSeekOrigin, kStatusCleaning, kStatusWorking, kStatusPaused}) {
        SCOPED_TRACE(static_cast<int>(type));
        ListCentre s({M, A});
        s.c->link.status = MachineStatus{type, 0};
        Result result = Result::Busy;
        s.OnOwner([&] { result = s.engine().Dispatch(); });
        EXPECT_EQ(result, Result::Waiting);
        EXPECT_EQ(s.States(), (std::vector<int32_t>{M, A}));
        EXPECT_FALSE(s.c->link.jobThreadExists);
    }
}

TEST(Dispatch, StoppingTakesTheWaitingPagesBackToManual)
{
    ListCentre s({P, A, P, M, D});
    s.c->jobPage.AddCurve().AddPoint(1, 1);
    s.c->settings.AppStopping = 1;
    Result result = Result::Busy;
    int removal = 0;
    s.OnOwner([&] {
        result = s.engine().Dispatch();
        removal = s.engine().RemoveDonePages();
    });
    EXPECT_EQ(result, Result::Stopping);
    EXPECT_EQ(s.States(), (std::vector<int32_t>{M, M, P, M, D})) << "only the first Printing page";
    EXPECT_TRUE(s.c->jobPage.curves.empty());
    EXPECT_EQ(removal, -1) << "nothing is removed once the program stops";
}

TEST(JobResult, PageStatesAfterTheJob)
{
    struct Row {
        const char* name;
        intptr_t wParam;
        int repeatCut;
        std::vector<int32_t> before;
        std::vector<int32_t> after;
    };
    const Row rows[] = {
        {"completed", 1, 0, {D, P, A, M}, {D, D, A, M}},
        {"completed in the ageing loop", 1, 1, {D, P, A}, {D, A, A}},
        {"completed, only the first Printing page", 1, 0, {P, P}, {D, P}},
        {"failed: the queue halts", 2, 0, {M, P, A, D, A}, {M, M, M, D, M}},
        {"failed with RepeatCut", 2, 1, {P, A}, {M, M}},
        {"completed after its page was deleted", 1, 0, {A, M}, {A, M}},
        {"failed after its page was deleted", 2, 0, {A, M}, {M, M}},
        {"completed with an empty list", 1, 0, {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ListCentre s(row.before, {"RepeatCut=" + std::to_string(row.repeatCut)});
        s.c->link.jobThreadExists = true;
        s.c->jobPage.AddCurve().AddPoint(1, 1);
        intptr_t returned = 0;
        s.OnOwner([&] { returned = s.engine().JobFinished(row.wParam); });
        EXPECT_EQ(returned, 1);
        EXPECT_EQ(s.States(), row.after);
        EXPECT_FALSE(s.c->link.jobThreadExists) << "the next tick may dispatch again";
        EXPECT_TRUE(s.c->jobPage.curves.empty());
        EXPECT_EQ(s.observer.shown.back(), 0);
    }
}

TEST(RemoveDonePages, DeletesEveryDonePageAndShowsThePrintingOne)
{
    struct Row {
        const char* name;
        std::vector<int32_t> before;
        std::vector<int32_t> after;
        std::vector<std::ptrdiff_t> shown;
    };
    const Row rows[] = {
        {"Printing first", {D, P, D, A}, {P, A}, {0}},
        {"Printing after a Done page", {A, D, D, P, M}, {A, P, M}, {1}},
        {"no Printing page", {D, M, D}, {M}, {0}},
        {"nothing Done: no refresh", {A, P, M}, {A, P, M}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ListCentre s(row.before);
        int returned = -2;
        s.OnOwner([&] { returned = s.engine().RemoveDonePages(); });
        EXPECT_EQ(returned, 0);
        EXPECT_EQ(s.States(), row.after);
        EXPECT_EQ(s.observer.shown, row.shown);
    }
}

TEST(ListCommands, SetStateSparesThePrintingPage)
{
    ListCentre s({A, P, M, M});
    const std::ptrdiff_t rows[] = {0, 1, 2};
    s.OnOwner([&] { s.engine().SetStateOfRows(rows, D); });
    EXPECT_EQ(s.States(), (std::vector<int32_t>{D, P, D, M}));
    EXPECT_EQ(s.observer.changes.size(), 2u);
    s.OnOwner([&] { s.engine().SetStateOfRows({}, A); });
    EXPECT_EQ(s.States(), (std::vector<int32_t>{D, P, D, M})) << "no selection, no change";
}

TEST(ListCommands, DeletingEveryRowLeavesThePrintingPage)
{
    ListCentre s({A, M, P, D});
    const std::ptrdiff_t rows[] = {0, 1, 2, 3};
    s.OnOwner([&] { s.engine().DeleteRows(rows); });
    EXPECT_EQ(s.Names(), std::vector<std::string>{"2.plt"});
    EXPECT_EQ(s.observer.removed, 3u);
}

TEST(ListCommands, MoveToFront)
{
    struct Row {
        const char* name;
        std::ptrdiff_t row;
        bool jobRunning;
        std::vector<std::string> after;
    };
    const Row rows[] = {
        {"the first row stays", 0, false, {"0.plt", "1.plt", "2.plt", "3.plt", "4.plt", "5.plt"}},
        {"row 5 becomes the first", 4, false, {"4.plt", "0.plt", "1.plt", "2.plt", "3.plt", "5.plt"}},
        {"with a job running, behind the first", 2, true, {"0.plt", "2.plt", "1.plt", "3.plt", "4.plt", "5.plt"}},
        {"a row outside the list", 6, false, {"0.plt", "1.plt", "2.plt", "3.plt", "4.plt", "5.plt"}},
        {"no selection", -1, false, {"0.plt", "1.plt", "2.plt", "3.plt", "4.plt", "5.plt"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ListCentre s({P, M, M, M, M, M});
        s.c->link.jobThreadExists = row.jobRunning;
        const std::ptrdiff_t selected[] = {row.row, 1};
        s.OnOwner([&] { s.engine().MoveToFront(selected); });
        EXPECT_EQ(s.Names(), row.after);
        s.c->link.jobThreadExists = false;
    }
}

TEST(StartButton, MakesTheFirstManualPageAutoOnlyWhenNothingWaits)
{
    struct Row {
        const char* name;
        std::vector<int32_t> before;
        std::vector<int32_t> after;
        int32_t needConfirm;
    };
    const Row rows[] = {
        {"an Auto page waits already", {M, A}, {M, A}, 1},
        {"only Done pages", {D, D}, {D, D}, 1},
        {"the upper of two Manual pages", {D, M, M}, {D, A, M}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ListCentre s(row.before, {"FPNoNeedConfirm=0"});
        s.OnOwner([&] { s.engine().PressStart(); });
        EXPECT_EQ(s.States(), row.after);
        EXPECT_EQ(s.c->settings.NeedPanelConfirm, row.needConfirm);
        EXPECT_EQ(s.c->queue.Count(), 0);
    }
}

TEST(StartButton, WhileAJobRunsItOnlyResumesAPausedMachine)
{
    for (const uint8_t type : {kStatusWorking, kStatusPaused}) {
        ListCentre s({P, M});
        s.c->link.jobThreadExists = true;
        s.c->link.status = MachineStatus{type, 0};
        s.OnOwner([&] { s.engine().PressStart(); });
        EXPECT_EQ(s.States(), (std::vector<int32_t>{P, M}));
        const auto code = s.c->queue.Take();
        EXPECT_EQ(code.has_value(), type == kStatusPaused);
        if (code) {
            EXPECT_EQ(*code, cmd::kResumeJob);
        }
        s.c->link.jobThreadExists = false;
    }
}

TEST(LastTaskList, EveryChangeIsOnDiskAndAnEmptyListRemovesTheFile)
{
    ListCentre s({});
    const std::string& last = s.c->settings.LastTaskPath;
    s.OnOwner([&] { s.c->engine.AddTestDrawing(3000); });
    CQuorvaneDoc onDisk;
    ASSERT_EQ(onDisk.Open(last), TaskFileResult::Ok);
    EXPECT_EQ(onDisk.pages.size(), 1u);

    const std::ptrdiff_t first[] = {0};
    s.OnOwner([&] { s.engine().SetStateOfRows(first, A); });
    ASSERT_EQ(onDisk.Open(last), TaskFileResult::Ok);
    EXPECT_EQ(onDisk.pages[0]->state, A);

    s.OnOwner([&] { s.engine().DeleteRows(first); });
    EXPECT_FALSE(fs::exists(last));
}

TEST(LastTaskList, APageBeingOutputIsStoredManualButStaysPrinting)
{
    ListCentre s({P, A});
    s.OnOwner([&] { ASSERT_EQ(SaveLastTasks(s.c->doc, s.c->settings.LastTaskPath), TaskFileResult::Ok); });
    EXPECT_EQ(s.States(), (std::vector<int32_t>{P, A}));
    CQuorvaneDoc onDisk;
    ASSERT_EQ(onDisk.Open(s.c->settings.LastTaskPath), TaskFileResult::Ok);
    EXPECT_EQ(onDisk.pages[0]->state, M);
    EXPECT_EQ(onDisk.pages[1]->state, A);
}

TEST(LastTaskList, TheReloadKeepsTheFileAndAnUnreadableOneIsPutAside)
{
    {
        ListCentre s({});
        CQuorvaneDoc previous;
        previous.pages.push_back(MakePage("x.plt", A));
        previous.pages.push_back(MakePage("y.plt", D));
        ASSERT_EQ(previous.Save(s.c->settings.LastTaskPath), TaskFileResult::Ok);
        s.c->watcher.Start(); // its first pass asks for the reload
        ASSERT_TRUE(Eventually([&] { return s.Names().size() == 2; }));
        EXPECT_EQ(s.Names(), (std::vector<std::string>{"x.plt", "y.plt"}));
        EXPECT_TRUE(fs::exists(s.c->settings.LastTaskPath));
    }
    {
        ListCentre s({});
        const std::string& last = s.c->settings.LastTaskPath;
        const std::string junk("\x01\x00\xff\xff\x01\x00\x04\x00Junk", 12);
        WriteFile(last, junk);
        s.OnOwner([&] { s.engine().ReloadLastTasks(); });
        EXPECT_TRUE(s.Names().empty());
        EXPECT_FALSE(fs::exists(last));
        EXPECT_TRUE(fs::exists(UnreadableLastTasksPath(last)));
        EXPECT_EQ(s.notifier.Texts().size(), 1u);

        WriteFile(last, junk + "2");
        s.OnOwner([&] { s.engine().ReloadLastTasks(); });
        std::string first;
        ASSERT_TRUE(ReadWholeFile(UnreadableLastTasksPath(last), first));
        EXPECT_EQ(first, junk) << "a list set aside earlier is never replaced";
        EXPECT_TRUE(fs::exists(UnreadableLastTasksPath(last, 2)));
    }
}

// Opening a task file at the start, before the watcher's first pass, must not lose the list on disk: it is
// reloaded first, and replacing a list with pages is the operator's choice.
TEST(LastTaskList, OpeningATaskFileReloadsTheLastListFirstAndReplacesItOnlyWhenTheOperatorSaysSo)
{
    ListCentre s({}, {"Language=1"});
    CQuorvaneDoc last;
    last.pages.push_back(MakePage("x.plt", A));
    last.pages.push_back(MakePage("y.plt", M));
    ASSERT_EQ(last.Save(s.c->settings.LastTaskPath), TaskFileResult::Ok);
    CQuorvaneDoc other;
    other.pages.push_back(MakePage("z.plt", M));
    const std::string otherPath = s.c->settings.ExeDir + "other.ctask";
    ASSERT_EQ(other.Save(otherPath), TaskFileResult::Ok);

    ListOpening opening = ListOpening::Failed;
    s.notifier.QueueAnswer(MsgAnswer::No);
    s.OnOwner([&] { opening = s.engine().OpenTaskList(otherPath); });
    EXPECT_EQ(opening, ListOpening::Kept);
    EXPECT_EQ(s.Names(), (std::vector<std::string>{"x.plt", "y.plt"}));
    EXPECT_EQ(s.notifier.Texts().back(),
              "The task list holds 2 pages. Opening other.ctask replaces them, and they are not kept. Open it?");
    s.OnOwner([&] { s.engine().HandleMessage(FrameMessage::WM_RELOAD_LAST_TASKS, 0, 0); });
    EXPECT_EQ(s.Names(), (std::vector<std::string>{"x.plt", "y.plt"}));

    s.notifier.QueueAnswer(MsgAnswer::Yes);
    s.OnOwner([&] { opening = s.engine().OpenTaskList(otherPath); });
    EXPECT_EQ(opening, ListOpening::Opened);
    EXPECT_EQ(s.Names(), (std::vector<std::string>{"z.plt"}));
    s.OnOwner([&] { s.engine().HandleMessage(FrameMessage::WM_RELOAD_LAST_TASKS, 0, 0); });
    EXPECT_EQ(s.Names(), (std::vector<std::string>{"z.plt"})) << "the watcher's late reload changes nothing";

    // A list that has been written since the start is the one on disk: opening is not preceded by a reload,
    // which would store the page being output as Manual.
    ListCentre fresh({P, A});
    const std::ptrdiff_t second = 1;
    fresh.OnOwner([&] {
        fresh.engine().MoveToFront(std::span(&second, 1));
        fresh.engine().PollDataDir();
    });
    ASSERT_TRUE(fs::exists(fresh.c->settings.LastTaskPath));
    fresh.notifier.QueueAnswer(MsgAnswer::No);
    fresh.OnOwner([&] { opening = fresh.engine().OpenTaskList(otherPath); });
    EXPECT_EQ(opening, ListOpening::Kept);
    EXPECT_EQ(fresh.States(), (std::vector<int32_t>{A, P})) << "moved to the front, still being output";
}

TEST(LastTaskList, ClosingSavesTheListStopsTheProgramAndEmptiesTheJobPage)
{
    ListCentre s({P, A});
    s.c->jobPage.AddCurve().AddPoint(1, 1);
    s.Start();
    s.Close();
    EXPECT_EQ(s.c->settings.AppStopping, 1);
    EXPECT_TRUE(s.c->jobPage.curves.empty());
    CQuorvaneDoc onDisk;
    ASSERT_EQ(onDisk.Open(s.c->settings.LastTaskPath), TaskFileResult::Ok);
    EXPECT_EQ(onDisk.pages.size(), 2u);
    EXPECT_FALSE(s.Call([] {})) << "nothing runs on the owner after closing";
}

} // namespace
} // namespace qv::test
