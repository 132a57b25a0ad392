#include "JobPages.h"
#include "JobRig.h"

#include "support/Bytes.h"

#include "app/MessageCatalog.h"
#include "link/CommandCodes.h"
#include "output/JobStart.h"
#include "output/KnifeData.h"
#include "output/PrepareJob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace qv {
namespace {

using namespace std::chrono_literals;
using test::AddCurve;
using test::Bytes;
using test::JobRig;

// A page with a plot curve and a full-cut square, inside the machine's area from its start point.
COnePage PlotAndCutPage()
{
    COnePage page;
    AddCurve(page, {{0, 0}, {40 * 50, 40 * 20}, {40 * 80, 40 * 5}});
    AddCurve(page, {{40 * 10, 40 * 10}, {40 * 30, 40 * 10}, {40 * 30, 40 * 30}, {40 * 10, 40 * 30}, {40 * 10, 40 * 10}},
             0, CurveKind::FullCut);
    return page;
}

// The start record the job of `page` must carry, from a preparation of its own.
JobStartRecord ExpectedStart(const JobRig& r, const COnePage& page)
{
    COnePage jobPage;
    KnifeList knives;
    RecordingNotifier quiet;
    const MachineParams params = r.rig.params.Get();
    PrepareJobPage(jobPage, knives, page, params, r.rig.settings);
    EXPECT_EQ(BuildKnifeData(knives, jobPage, params, r.rig.settings, quiet), 0);
    return MakeJobStartRecord(jobPage, params, r.rig.settings, CRasterEngine::Prepare(jobPage, params), knives);
}

std::vector<uint8_t> Payload(std::span<const uint8_t> bytes)
{
    return {bytes.begin(), bytes.end()};
}

std::string Text(Msg id)
{
    return std::string(MessageText(id, 0));
}

int Count(const std::vector<int>& codes, int code)
{
    return static_cast<int>(std::count(codes.begin(), codes.end(), code));
}

TEST(JobThread, CompletedJobOnTheWire)
{
    for (const bool viaNet : {true, false}) {
        SCOPED_TRACE(viaNet ? "Ethernet" : "USB");
        JobRig r(viaNet);
        const COnePage page = PlotAndCutPage();
        const JobStartRecord start = ExpectedStart(r, page);
        ASSERT_GE(start.segmentCount, 2);

        EXPECT_EQ(r.Output(page), JobThread::Completed);
        const std::vector<int> codes = r.Codes();
        ASSERT_GE(codes.size(), 3u + start.segmentCount);
        EXPECT_EQ(codes[0], cmd::kReadStartPoint);
        EXPECT_EQ(codes[1], cmd::kStartJobNow);
        EXPECT_EQ(r.Payloads(cmd::kStartJobNow), std::vector<std::vector<uint8_t>>{Payload(start.Encode())});
        const auto segments = r.Payloads(cmd::kSegment);
        ASSERT_EQ(segments.size(), start.segmentCount);
        for (std::size_t i = 0; i < segments.size(); ++i) {
            EXPECT_EQ(segments[i][0], i) << "segment records go out in index order";
            EXPECT_EQ(segments[i][6], i + 1 < segments.size() ? 'P' : 'C');
        }
        const auto headers = r.Payloads(cmd::kJobHeader);
        ASSERT_EQ(headers.size(), 1u);
        EXPECT_EQ(headers[0][2], start.segmentCount);
        EXPECT_EQ(codes[2 + start.segmentCount + 1], cmd::kReadProgress) << "the progress follows the header";
        EXPECT_EQ(Count(codes, cmd::kCancelJob), 0);

        const auto jobs = r.rig.machine.Jobs();
        ASSERT_EQ(jobs.size(), 1u);
        EXPECT_TRUE(jobs[0]->Ok()) << jobs[0]->errors.front();
        EXPECT_FALSE(jobs[0]->cancelled);
        EXPECT_EQ(jobs[0]->bulkPadded, viaNet);

        EXPECT_EQ(r.rig.state.segmentCount, start.segmentCount);
        EXPECT_EQ(r.rig.state.progressCount, start.segmentCount);
        EXPECT_FALSE(r.rig.state.jobThreadExists);
        EXPECT_TRUE(r.jobPage.curves.empty()) << "the job result handler empties the job page";
        EXPECT_TRUE(r.rig.notifier.Texts().empty());
        const auto pauses = r.Pauses();
        ASSERT_FALSE(pauses.empty());
        EXPECT_EQ(pauses.front(), 10ms) << "10 ms before the start command";
        EXPECT_TRUE(std::all_of(pauses.begin() + 1, pauses.end(), [](auto p) { return p == 200ms; }));
        EXPECT_EQ(page.curves.size(), 2u) << "the operator's page is not touched";
    }
}

TEST(JobThread, EmptyPageSendsAnEmptyJob)
{
    JobRig r(true);
    const COnePage page;
    const JobStartRecord start = ExpectedStart(r, page);
    EXPECT_EQ(start.segmentCount, 0);
    EXPECT_EQ(start.rowsPerBand, 0);

    EXPECT_EQ(r.Output(page), JobThread::Completed);
    EXPECT_EQ(r.Payloads(cmd::kStartJobNow), std::vector<std::vector<uint8_t>>{Payload(start.Encode())});
    EXPECT_TRUE(r.Payloads(cmd::kSegment).empty());
    const std::vector<uint8_t> zeros = Bytes{0, 0, 0, 0, 0, 0};
    EXPECT_EQ(r.Payloads(cmd::kJobHeader), std::vector<std::vector<uint8_t>>{zeros});
    const auto jobs = r.rig.machine.Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_TRUE(jobs[0]->Ok());
    EXPECT_EQ(jobs[0]->bulkBytes, 0u);
}

TEST(JobThread, OneHundredNinetyNineBandsAndKnifeDataFillTheSegmentTable)
{
    JobRig r(false);
    r.rig.EditParams([](MachineParams& p) { p.advanced.xProtectLength = 6000; }); // room for 199 bands
    COnePage page = test::PageOfBands(199);
    AddCurve(page, {{0, 0}, {400, 0}, {400, 400}}, 0, CurveKind::FullCut);
    EXPECT_EQ(r.Output(page), JobThread::Completed);
    const auto segments = r.Payloads(cmd::kSegment);
    ASSERT_EQ(segments.size(), 200u);
    EXPECT_EQ(segments[198][6], 'P');
    EXPECT_EQ(std::vector(segments[199].begin(), segments[199].begin() + 2), (Bytes{199, 0}.vec()));
    EXPECT_EQ(segments[199][6], 'C');
    const auto jobs = r.rig.machine.Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_TRUE(jobs[0]->Ok());
    EXPECT_EQ(jobs[0]->segments.size(), 200u);
    EXPECT_EQ(r.rig.state.progressCount, 200);
}

TEST(JobThread, SegmentRecordRefusedTwiceIsSentThreeTimes)
{
    JobRig r(true);
    r.rig.Fault("short-reply@54x2");
    EXPECT_EQ(r.Output(PlotAndCutPage()), JobThread::Completed);
    const auto segments = r.Payloads(cmd::kSegment);
    ASSERT_GE(segments.size(), 3u);
    EXPECT_EQ(segments[0], segments[1]);
    EXPECT_EQ(segments[1], segments[2]);
    EXPECT_EQ(segments[3][0], 1) << "then the next record";
    const auto pauses = r.Pauses();
    ASSERT_GE(pauses.size(), 4u);
    EXPECT_EQ(std::vector(pauses.begin(), pauses.begin() + 4), (std::vector{10ms, 10ms, 10ms, 200ms}))
        << "the pause before the start, two after the refusals, then the progress";
    ASSERT_EQ(r.rig.machine.Jobs().size(), 1u);
    EXPECT_TRUE(r.rig.machine.Jobs()[0]->Ok());
    EXPECT_TRUE(r.rig.notifier.Texts().empty());
}

TEST(JobThread, FailedTransferCancelsTheJobOnTheMachine)
{
    struct Row {
        const char* name;
        const char* fault;
        COnePage (*page)();
        std::string message;
        int segmentFrames;
        int headerFrames;
    };
    const Row rows[] = {
        {"a segment record refused ten times", "short-reply@54", PlotAndCutPage, Text(Msg::SegmentCommandFailed), 10,
         0},
        {"the header refused ten times", "short-reply@55", PlotAndCutPage, Text(Msg::SegmentCommandFailed), -1, 10},
        {"the machine stops the bulk stream", "status4@bulk+1x1",
         [] {
             COnePage page = PlotAndCutPage();
             AddCurve(page, {{0, 0}, {4000, 0}, {4000, 4000}, {0, 4000}, {0, 40}}, 0, CurveKind::FullCut);
             return page;
         },
         Text(Msg::BulkTransferFailed), 0, 0},
        {"200 bands are refused before any is built", "", [] { return test::PageOfBands(200); },
         Text(Msg::TooManyBands), 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JobRig r(true);
        r.rig.EditParams([](MachineParams& p) { p.advanced.xProtectLength = 6000; }); // room for 200 bands
        if (*row.fault)
            r.rig.Fault(row.fault);
        EXPECT_EQ(r.Output(row.page()), JobThread::Failed);
        EXPECT_EQ(r.rig.notifier.Texts(), std::vector<std::string>{row.message});
        const std::vector<int> codes = r.Codes();
        ASSERT_FALSE(codes.empty());
        EXPECT_EQ(codes.back(), cmd::kCancelJob) << "17 ends what the machine received";
        EXPECT_EQ(Count(codes, cmd::kCancelJob), 1);
        if (row.segmentFrames >= 0) {
            EXPECT_EQ(Count(codes, cmd::kSegment), row.segmentFrames);
        }
        EXPECT_EQ(Count(codes, cmd::kJobHeader), row.headerFrames);
        const auto jobs = r.rig.machine.Jobs();
        ASSERT_EQ(jobs.size(), 1u);
        EXPECT_TRUE(jobs[0]->cancelled);
        EXPECT_FALSE(r.rig.state.jobThreadExists);
    }
}

TEST(JobThread, RefusedBeforeItsDataTheMachineHoldsNoJob)
{
    struct Row {
        const char* name;
        const char* fault;
        COnePage page;
        std::string message;
        std::vector<int> codes;
    };
    std::vector<Row> rows;
    rows.push_back(
        {"start point unreadable", "short-reply@36", PlotAndCutPage(), Text(Msg::CommunicationFailed), {36, 36, 36}});
    rows.push_back(
        // The machine may have started on a start whose acknowledgement was lost: the job is cancelled.
        {"start command refused", "short-reply@53", PlotAndCutPage(), Text(Msg::StartCommandFailed), {36, 53, 17}});
    COnePage wide;
    AddCurve(wide, {{0, 0}, {40 * 1600, 40}});
    rows.push_back({"plot beyond the working area", "", std::move(wide), Text(Msg::PlotXOutOfSize), {36}});
    COnePage tall;
    AddCurve(tall, {{0, 0}, {40, 40 * 2500}});
    rows.push_back({"bands longer than the band buffers", "", std::move(tall), Text(Msg::PlotBandTooLong), {36}});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JobRig r(true);
        r.rig.EditParams([](MachineParams& p) { p.advanced.yProtectLengthPrint = 5000; }); // room for the tall page
        if (*row.fault)
            r.rig.Fault(row.fault);
        EXPECT_EQ(r.Output(row.page), JobThread::Failed);
        EXPECT_EQ(r.rig.notifier.Texts(), std::vector<std::string>{row.message});
        EXPECT_EQ(r.Codes(), row.codes);
        for (const auto& job : r.rig.machine.Jobs())
            EXPECT_TRUE(job->cancelled) << "a job the machine began is cancelled";
        EXPECT_EQ(r.rig.machine.Status().type, kStatusReady);
        EXPECT_FALSE(r.rig.state.jobThreadExists);
    }
}

TEST(JobThread, ConfirmKeyAcrossPages)
{
    struct Row {
        const char* name;
        int32_t needPanelConfirm;
        int32_t repeatCut;
        bool onlyPage;
        std::vector<int> startCodes; // of three jobs
        int32_t flagAfter;
    };
    const Row rows[] = {
        {"two pages: the first starts at once, later ones wait for the key", 0, 0, false, {53, 52, 52}, 1},
        {"the only page with FPNoNeedConfirm never waits", 0, 0, true, {53, 53, 53}, 0},
        {"the first page waits when confirm is needed", 1, 0, false, {52, 52, 52}, 1},
        {"RepeatCut 1 always starts at once", 1, 1, false, {53, 53, 53}, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        sim::SimOptions options = test::MachineRig::Defaults();
        options.confirmAfterMs = 1000; // the operator presses the key a second after the header
        JobRig r(true, options);
        r.rig.settings.NeedPanelConfirm = row.needPanelConfirm;
        r.rig.settings.RepeatCut = row.repeatCut;
        r.onlyPageInList = row.onlyPage;
        const COnePage page = PlotAndCutPage();
        for (int job = 0; job < 3; ++job)
            EXPECT_EQ(r.Output(page), JobThread::Completed);
        std::vector<int> starts;
        for (const auto& j : r.rig.machine.Jobs())
            starts.push_back(j->startCode);
        EXPECT_EQ(starts, row.startCodes);
        EXPECT_EQ(r.rig.settings.NeedPanelConfirm, row.flagAfter);
    }
}

TEST(JobThread, ManualCommandsDuringTheProgress)
{
    struct Row {
        const char* name;
        std::vector<std::pair<std::size_t, std::vector<uint8_t>>> queued; // at the n-th progress pause
        std::vector<int> sent;                                            // manual codes on the wire, in order
        bool cancelled;
    };
    const Row rows[] = {
        {"pause, save settings, resume; parameters are not saved",
         {{1, {18}}, {3, {50, 51}}, {6, {16}}},
         {18, 51, 16},
         false},
        {"cancel from the panel ends the job like a completed one", {{1, {17}}}, {17}, true},
        {"jogging codes pass, a code the job does not take is dropped", {{1, {0, 40}}}, {0}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JobRig r(true);
        std::size_t progressPauses = 0;
        r.onPause = [&](std::size_t, std::chrono::milliseconds span) {
            if (span != JobThread::kProgressPause)
                return;
            ++progressPauses;
            for (const auto& [at, codes] : row.queued) {
                if (at == progressPauses) {
                    for (const uint8_t code : codes)
                        r.rig.queue.Append(code);
                }
            }
        };
        EXPECT_EQ(r.Output(PlotAndCutPage()), JobThread::Completed);
        std::vector<int> sent;
        for (const int code : r.Codes()) {
            if (code <= cmd::kPauseJob || code == cmd::kSaveAdvanced || code == cmd::kSaveSettings)
                sent.push_back(code);
        }
        EXPECT_EQ(sent, row.sent);
        const auto jobs = r.rig.machine.Jobs();
        ASSERT_EQ(jobs.size(), 1u);
        EXPECT_EQ(jobs[0]->cancelled, row.cancelled);
        EXPECT_EQ(r.rig.queue.Count(), 0);
    }
}

// A job the machine did not finish is never reported as completed, so its page cannot be marked Done and
// cleared away: a machine error or a restart ends it as failed, and so does a machine that stops answering
// the progress reads for 30 s (the link is then marked down for the monitor to reconnect). The next job
// runs as usual.
TEST(JobThread, TheMachineDecidesHowAJobEnds)
{
    const auto fault = [](Msg status) { return FormatMessage(Msg::JobMachineFault, 0, {MessageText(status, 0)}); };
    struct Row {
        const char* name;
        const char* fault; // on the progress reads, after the first one
        intptr_t result;
        std::string message;
    };
    const Row rows[] = {
        {"ready after working", "status4@40+1x1", JobThread::Completed, ""},
        {"memory error", "status15@40+1x1", JobThread::Failed, fault(Msg::StatusMemoryError)},
        {"lost steps", "status17@40+1x1", JobThread::Failed, fault(Msg::StatusStepperLostSteps)},
        {"restarted: initialising", "status0@40+1x1", JobThread::Failed, Text(Msg::JobMachineRestarted)},
        {"restarted: seeking the origin", "status1@40+1x1", JobThread::Failed, Text(Msg::JobMachineRestarted)},
        {"no progress read answered", "no-ack@40+1", JobThread::Failed, Text(Msg::CommunicationFailed)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        sim::SimOptions slow = test::MachineRig::Defaults();
        slow.segmentMs = 1000;   // still working at the second read
        slow.confirmAfterMs = 0; // the next job waits for the confirm key
        JobRig r(false, slow);
        r.rig.state.Connected = true;
        r.rig.Fault(row.fault);
        const int64_t began = r.rig.clock.NowMs();
        EXPECT_EQ(r.Output(PlotAndCutPage()), row.result);
        EXPECT_EQ(r.rig.notifier.Texts(),
                  row.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.message});
        const int64_t took = r.rig.clock.NowMs() - began;
        if (std::string(row.fault).starts_with("no-ack")) {
            EXPECT_GE(took, JobThread::kSilentLimit.count());
            EXPECT_LT(took, JobThread::kSilentLimit.count() + 1000) << "no longer than its bound";
            EXPECT_FALSE(r.rig.state.Connected) << "the monitor is to reconnect";
        }
        EXPECT_EQ(r.Codes().back() == cmd::kCancelJob, false) << "the machine has ended the job itself";

        r.rig.machine.ClearFaults();
        r.rig.notifier.Clear();
        r.rig.clock.Advance(3'600'000);
        EXPECT_EQ(r.Output(PlotAndCutPage()), JobThread::Completed) << "the next job";
        EXPECT_TRUE(r.rig.notifier.Texts().empty());
    }
}

// The link monitor may be inside a pass that began before it saw the job: the job's first exchange waits until
// the monitor has parked, so the two never talk to the machine at once.
TEST(JobThread, TheFirstExchangeWaitsForTheMonitorToPark)
{
    JobRig r(false);
    r.rig.state.monitorParked = false;
    std::atomic<int> waits{0};
    r.onPause = [&](std::size_t, std::chrono::milliseconds span) {
        if (span == JobThread::kMonitorParkPoll && ++waits == 50) {
            EXPECT_TRUE(r.rig.HostFrames().empty()) << "nothing sent before the monitor parked";
            r.rig.state.monitorParked = true;
        }
    };
    EXPECT_EQ(r.Output(PlotAndCutPage()), JobThread::Completed);
    EXPECT_EQ(waits, 50);
}

TEST(JobThread, StoppingEndsTheJobWithoutItsReport)
{
    struct Row {
        const char* name;
        const char* fault;
        bool atFirstRetry; // else at the second progress pause
        bool cancelSent;
        sim::SimStatus machineAfter;
    };
    const Row rows[] = {
        {"while the machine works: it goes on working", "", false, false, {12, 18}},
        {"in the middle of the segment table: the job is cancelled there", "short-reply@54", true, true, {4, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JobRig r(true);
        if (*row.fault)
            r.rig.Fault(row.fault);
        std::atomic<bool> stopped{false};
        std::size_t progressPauses = 0;
        r.onPause = [&](std::size_t, std::chrono::milliseconds span) {
            const bool now = row.atFirstRetry ? span == JobThread::kRetryPause && r.Payloads(cmd::kSegment).size() == 1
                                              : span == JobThread::kProgressPause && ++progressPauses == 2;
            if (now) {
                r.rig.settings.AppStopping = 1;
                stopped = true;
            }
        };
        ASSERT_EQ(r.jobs.PrepareJob(PlotAndCutPage()), 0);
        for (int i = 0; i < 6000 && !stopped; ++i)
            std::this_thread::sleep_for(10ms);
        ASSERT_TRUE(stopped);
        r.jobs.Stop();
        EXPECT_FALSE(r.result) << "no report once the program stops";
        EXPECT_FALSE(r.rig.state.jobThreadExists);
        EXPECT_EQ(Count(r.Codes(), cmd::kCancelJob), row.cancelSent ? 1 : 0);
        EXPECT_TRUE(r.rig.notifier.Texts().empty());
        EXPECT_EQ(r.rig.machine.Status(), row.machineAfter);
    }
}

TEST(JobThread, StopCutsTheJobThreadsOwnPauseShort)
{
    sim::SimOptions options = test::MachineRig::Defaults();
    options.segmentMs = 3'600'000; // the machine works for hours on each segment
    JobRig r(true, options, false);
    r.onlyPageInList = true; // so the second job starts without the confirm key too
    ASSERT_EQ(r.jobs.PrepareJob(PlotAndCutPage()), 0);
    EXPECT_EQ(r.jobs.PrepareJob(PlotAndCutPage()), -1) << "one job at a time";
    for (int i = 0; i < 6000 && r.rig.machine.Status() != sim::SimStatus{12, 18}; ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(r.rig.machine.Status(), (sim::SimStatus{12, 18}));
    r.jobs.Stop();
    EXPECT_FALSE(r.result);
    EXPECT_FALSE(r.rig.state.jobThreadExists);
    EXPECT_EQ(Count(r.Codes(), cmd::kCancelJob), 0);
    ASSERT_EQ(r.rig.commu.SendCmd(cmd::kCancelJob), 0); // the operator ends the job on the machine
    EXPECT_EQ(r.jobs.PrepareJob(COnePage{}), 0) << "a stopped job thread leaves the way open";
    EXPECT_EQ(r.WaitForResult(std::chrono::minutes(2)), JobThread::Completed);
}

} // namespace
} // namespace qv
