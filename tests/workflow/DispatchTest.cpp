// Dispatch and job results against the virtual machine, plugged in as the in-process USB device.
#include "WorkflowFixtures.h"

#include "support/MachineRig.h"

#include "app/MessageCatalog.h"

#include <thread>

#include <gtest/gtest.h>

namespace qv::test {
namespace {

using Result = WorkflowEngine::DispatchResult;

// An output centre on the virtual machine. The machine runs in real time, works without pause and confirms a job
// that waits for its confirm key at once.
struct MachineStation {
    explicit MachineStation(const std::vector<std::string>& ini = {}, const sim::SimOptions& options = Options())
        : rig(false, options, true), f(ini, &rig.backend)
    {
    }

    static sim::SimOptions Options()
    {
        sim::SimOptions o = MachineRig::Defaults();
        o.recordTranscript = false;
        o.segmentMs = 0;
        o.confirmAfterMs = 0;
        return o;
    }

    // The owner and the link monitor, until the machine reports ready.
    void Connect()
    {
        f.c->monitor.Start();
        ASSERT_TRUE(Eventually([&] { return f.c->link.status.load().type == kStatusReady; }));
    }
    void WaitForJobEnd()
    {
        ASSERT_TRUE(Eventually([&] { return !f.c->link.jobThreadExists; }));
    }
    void Add(const std::string& name, int32_t state, bool withCurve = true)
    {
        f.OnOwner([&] { f.c->doc.pages.push_back(MakePage(name, state, withCurve)); });
    }
    Result Dispatch()
    {
        Result result = Result::Busy;
        f.OnOwner([&] { result = f.c->engine.Dispatch(); });
        return result;
    }

    MachineRig rig;
    CentreFixture f;
};

TEST(Dispatch, AnAutoPageWithoutCurvesGoesInTheTickThatStartsTheNext)
{
    MachineStation m;
    m.Connect();
    m.Add("empty.plt", PageState::Auto, false);
    m.Add("manual.plt", PageState::Manual);
    m.Add("next.plt", PageState::Auto);
    EXPECT_EQ(m.Dispatch(), Result::Started);
    EXPECT_EQ(m.f.Names(), (std::vector<std::string>{"manual.plt", "next.plt"}));
    EXPECT_EQ(m.f.States(), (std::vector<int32_t>{PageState::Manual, PageState::Printing}));
    EXPECT_TRUE(m.f.notifier.Texts().empty());

    m.WaitForJobEnd();
    EXPECT_EQ(m.f.States(), (std::vector<int32_t>{PageState::Manual, PageState::Done}));
    EXPECT_EQ(m.rig.machine.Jobs().size(), 1u);
    EXPECT_TRUE(m.f.c->jobPage.curves.empty()) << "the job page is emptied at the job's end";
}

TEST(Dispatch, StartingTheThreadsDoesNotForgetARunningJob)
{
    sim::SimOptions slow = MachineStation::Options();
    slow.segmentMs = 3'600'000; // the job runs until the centre closes
    MachineStation m({}, slow);
    m.Connect();
    m.Add("long.plt", PageState::Auto);
    ASSERT_EQ(m.Dispatch(), Result::Started);
    m.f.Start();
    EXPECT_TRUE(m.f.c->link.jobThreadExists) << "the link monitor must stay silent and no second job start";
}

TEST(Dispatch, ManualAndDonePagesAreNeverStarted)
{
    MachineStation m;
    m.Connect();
    m.Add("manual.plt", PageState::Manual);
    m.Add("done.plt", PageState::Done);
    m.f.c->tick.Start();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m.Dispatch(), Result::Idle);
    std::this_thread::sleep_for(std::chrono::milliseconds(1200)); // the tick has asked twice meanwhile
    EXPECT_TRUE(m.rig.machine.Jobs().empty());
    EXPECT_EQ(m.f.States(), (std::vector<int32_t>{PageState::Manual, PageState::Done}));
}

TEST(Dispatch, AFailedJobTurnsThePrintingPageAndEveryAutoPageManual)
{
    MachineStation m;
    m.Connect();
    m.rig.Fault("no-ack@53");
    m.rig.Fault("no-ack@52");
    m.Add("first.plt", PageState::Auto);
    m.Add("manual.plt", PageState::Manual);
    m.Add("later.plt", PageState::Auto);
    m.Add("done.plt", PageState::Done);
    EXPECT_EQ(m.Dispatch(), Result::Started);
    m.WaitForJobEnd();
    EXPECT_EQ(m.f.States(),
              (std::vector<int32_t>{PageState::Manual, PageState::Manual, PageState::Manual, PageState::Done}));
    EXPECT_EQ(m.f.notifier.Texts(), std::vector<std::string>{std::string(MessageText(Msg::StartCommandFailed, 0))});
    EXPECT_EQ(m.Dispatch(), Result::Idle) << "the queue halts after a failure";
}

TEST(Dispatch, RepeatCutOutputsASinglePageAgainAndAgain)
{
    MachineStation m({"RepeatCut=1"});
    m.Add("loop.plt", PageState::Auto);
    m.f.Start();
    ASSERT_TRUE(Eventually([&] { return m.rig.machine.Jobs().size() >= 3; }));
    m.f.Close();
    EXPECT_EQ(m.f.c->doc.pages.size(), 1u);
    for (const auto& change : m.f.observer.changes)
        EXPECT_NE(change.to, PageState::Done);
    for (const auto& job : m.rig.machine.Jobs()) {
        EXPECT_TRUE(job->Ok());
        EXPECT_EQ(job->startCode, 53) << "the ageing loop never waits for the confirm key";
    }
}

TEST(Dispatch, AutoDelFinishClearsTheDonePageAwayByItself)
{
    MachineStation m({"AutoDelFinish=1"});
    m.Add("once.plt", PageState::Auto);
    m.f.Start();
    ASSERT_TRUE(Eventually([&] { return m.f.Names().empty(); }));
    m.f.Close();
    EXPECT_EQ(m.rig.machine.Jobs().size(), 1u);
    ASSERT_EQ(m.f.observer.changes.size(), 2u);
    EXPECT_EQ(m.f.observer.changes[0].to, PageState::Printing);
    EXPECT_EQ(m.f.observer.changes[1].to, PageState::Done);
    EXPECT_EQ(m.f.observer.removed, 1u);
    EXPECT_FALSE(std::filesystem::exists(m.f.c->settings.LastTaskPath)) << "an empty list leaves no file";
}

TEST(Dispatch, PagesAreOutputInListOrderOneAtATime)
{
    MachineStation m({"AutoDelFinish=0"});
    for (const char* name : {"a.plt", "b.plt", "c.plt"})
        m.Add(name, PageState::Auto);
    m.f.Start();
    ASSERT_TRUE(Eventually([&] { return m.rig.machine.Jobs().size() == 3 && !m.f.c->link.jobThreadExists; }));
    m.f.Close();
    std::vector<std::string> started;
    for (const auto& change : m.f.observer.changes) {
        if (change.to == PageState::Printing)
            started.push_back(change.name);
    }
    EXPECT_EQ(started, (std::vector<std::string>{"a.plt", "b.plt", "c.plt"}));
    EXPECT_EQ(m.f.c->doc.pages.size(), 3u);
    for (const auto& page : m.f.c->doc.pages)
        EXPECT_EQ(page->state, PageState::Done);
}

// The machine ends the job with an error instead of finishing it: the page is not Done, so it is never cleared
// away while its source file is long deleted; the operator outputs it again.
TEST(Dispatch, AMachineErrorKeepsThePageInTheListForAnotherTry)
{
    MachineStation m({"AutoDelFinish=1"});
    m.rig.Fault("status15@40x1");
    m.Add("marker.plt", PageState::Auto);
    m.Add("next.plt", PageState::Auto);
    m.f.Start();
    ASSERT_TRUE(Eventually([&] { return m.f.States() == std::vector<int32_t>{PageState::Manual, PageState::Manual}; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(2500)); // Done pages would be gone by now
    EXPECT_EQ(m.f.Names(), (std::vector<std::string>{"marker.plt", "next.plt"}));
    EXPECT_EQ(m.f.notifier.Texts(), std::vector<std::string>{FormatMessage(Msg::JobMachineFault, 0,
                                                                           {MessageText(Msg::StatusMemoryError, 0)})});

    m.f.OnOwner([&] {
        const std::ptrdiff_t first = 0;
        m.f.centre->SetStateOfRows(std::span(&first, 1), PageState::Auto);
    });
    ASSERT_TRUE(Eventually([&] { return m.f.Names() == std::vector<std::string>{"next.plt"}; }))
        << "output and cleared away";
    m.f.Close();
    EXPECT_EQ(m.rig.machine.Jobs().size(), 2u);
}

// A message box of the job thread is still open when the window closes (the close comes in while the box
// waits): closing lets the job thread go with the safe answer and joins it, instead of waiting on itself.
TEST(Dispatch, ClosingWhileTheJobThreadShowsAMessageDoesNotWaitForIt)
{
    class ClosingBox : public Notifier {
    public:
        std::function<void()> closeWindow;
        std::vector<std::string> shown;
        MsgAnswer Show(std::string_view text, std::string_view, MsgButtons buttons, MsgIcon) override
        {
            shown.emplace_back(text);
            closeWindow();
            return SafeAnswer(buttons);
        }
    };
    MachineRig rig(false, MachineStation::Options(), true);
    TempDir exe;
    WriteFile(exe.File("setting.ini"), SettingsIni({}));
    ClosingBox box;
    RecordingObserver observer;
    HeadlessOwner owner;
    OutputCentre centre(exe.Path(), owner.Bridge(), box, rig.backend, observer);
    box.closeWindow = [&] { centre.Close(); };
    OutputCentreProbe c(centre);
    ASSERT_TRUE(owner.Call([&] {
        auto page = MakePage("wide.plt", PageState::Auto);
        page->curves.front()->points.back() = {40 * 5000, 40}; // beyond the machine's X range
        c.doc.pages.push_back(std::move(page));
        centre.Start();
    }));
    ASSERT_TRUE(Eventually([&] { return c.settings.AppStopping == 1; }, std::chrono::seconds(30)));
    const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    owner.Close(centre);
    EXPECT_LT(std::chrono::steady_clock::now(), bound);
    EXPECT_FALSE(c.link.jobThreadExists);
    EXPECT_TRUE(c.jobPage.curves.empty());
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0], MessageText(Msg::FullCutXOutOfSize, 0));
}

} // namespace
} // namespace qv::test
