// quorvane-cli against quorvane-sim, both as processes: three drawings dropped into the station's data
// directory are output in order, and the machine decodes each job as the host built it; an interrupted jog
// stops the head.
#include "ChildProcess.h"
#include "WorkflowFixtures.h"

#include "app/MachineParams.h"
#include "output/JobStart.h"
#include "output/KnifeData.h"
#include "output/KnifeList.h"
#include "output/PrepareJob.h"
#include "tasks/CQuorvaneDoc.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <regex>
#include <unistd.h>

namespace qv::test {
namespace {

namespace fs = std::filesystem;

struct ExpectedJob {
    int32_t xReference;
    int bands;
    std::size_t knifeRecords;
};

// The job the host builds for the only page of `plt` with the machine's start-up records.
ExpectedJob BuildJob(const std::string& plt, const CSettings& settings)
{
    CQuorvaneDoc doc;
    ImportPlt(plt, settings, doc);
    EXPECT_EQ(doc.pages.size(), 1u);
    RecordingNotifier notifier;
    const MachineParams params;
    COnePage jobPage;
    KnifeList knives;
    PrepareJobPage(jobPage, knives, *doc.pages.at(0), params, settings);
    EXPECT_EQ(BuildKnifeData(knives, jobPage, params, settings, notifier), 0);
    const auto plan = PlanJobRaster(jobPage, params, notifier, 0);
    EXPECT_TRUE(plan);
    const JobStartRecord start = MakeJobStartRecord(jobPage, params, settings, *plan, knives);
    return {start.xReference, plan->bands, knives.records.size()};
}

int64_t JsonNumber(const std::string& json, const std::string& key)
{
    std::smatch m;
    const std::regex pattern("\"" + key + "\": (-?[0-9]+)");
    return std::regex_search(json, m, pattern) ? std::stoll(m[1]) : -1;
}

// The virtual machine on an address of its own for this process, writing its jobs to `out`.
struct Machine {
    explicit Machine(const std::string& out)
        : address("127.0." + std::to_string(1 + ::getpid() % 200) + "." + std::to_string(2 + ::getpid() / 200 % 250)),
          sim(QV_SIM_PATH, {"--address", address, "--port", "0", "--out", out, "--pace", "0", "--init-ms", "0",
                            "--seek-ms", "0", "--confirm-after", "0"})
    {
        if (const auto listening = sim.WaitFor("listening on", std::chrono::seconds(60)))
            net = address + ":" + listening->substr(listening->rfind(':') + 1);
    }
    std::string address;
    ChildProcess sim;
    std::string net; // ADDRESS:PORT once it listens
};

TEST(StationEndToEnd, ThreeDroppedDrawingsAreOutputInOrderAsTheMachineDecodesThem)
{
    TempDir exe;
    TempDir machineOut;
    Machine machine(machineOut.Path());
    ASSERT_FALSE(machine.net.empty()) << machine.sim.Transcript();
    ChildProcess& sim = machine.sim;

    WriteFile(exe.File("setting.ini"), SettingsIni({"AutoStartWork=1", "AutoDelFinish=0"}));
    ChildProcess station(QV_CLI_PATH, {"station", "--dir", exe.Path(), "--net", machine.net});
    ASSERT_TRUE(station.WaitFor("running", std::chrono::seconds(60))) << station.Transcript();

    const std::pair<std::string, std::string> drawings[] = {{"square10.plt", SquarePlt(10)},
                                                            {"square20cut.plt", gen::GenerateTestSquarePlt(20, true)},
                                                            {"square30.plt", SquarePlt(30)}};
    for (const auto& [name, bytes] : drawings) {
        WriteFile(exe.File("incoming"), bytes);
        fs::rename(exe.File("incoming"), exe.Path() + "plot/" + name);
    }

    std::vector<std::string> taken, done;
    while (done.size() < 3) {
        const auto line = station.ReadLine(std::chrono::seconds(60));
        ASSERT_TRUE(line) << station.Transcript();
        static const std::regex takenLine("^taken .*/([^/]+): 1 page, file deleted$");
        static const std::regex doneLine("^page [0-9]+ (.+)---.*: 工作中\\.\\.\\. -> 已完成$");
        std::smatch m;
        if (std::regex_match(*line, m, takenLine))
            taken.push_back(m[1]);
        else if (std::regex_match(*line, m, doneLine))
            done.push_back(m[1]);
    }
    station.Signal(SIGTERM);
    ASSERT_TRUE(station.WaitFor("closed", std::chrono::seconds(60))) << station.Transcript();
    EXPECT_EQ(station.Wait(), 0);
    sim.Signal(SIGTERM);
    sim.Wait();

    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(done, taken) << "output in the order they were taken";
    CSettings settings; // the station's, with the fonts it wrote
    CSetDisp disp;
    MachineSettings machineSettings;
    settings.Load(exe.Path(), disp, machineSettings);
    for (std::size_t i = 0; i < taken.size(); ++i) {
        SCOPED_TRACE(taken[i]);
        const auto drawing =
            std::find_if(std::begin(drawings), std::end(drawings), [&](const auto& d) { return d.first == taken[i]; });
        ASSERT_NE(drawing, std::end(drawings));
        const ExpectedJob expected = BuildJob(drawing->second, settings);
        char job[64];
        std::snprintf(job, sizeof job, "job-%04zu/summary.json", i + 1);
        std::string summary;
        ASSERT_TRUE(ReadWholeFile(machineOut.Path() + job, summary)) << job;
        EXPECT_NE(summary.find("\"ok\": true"), std::string::npos) << summary;
        EXPECT_EQ(JsonNumber(summary, "xReference"), expected.xReference);
        EXPECT_EQ(JsonNumber(summary, "knifeRecordCount"), static_cast<int64_t>(expected.knifeRecords));
        EXPECT_EQ(JsonNumber(summary, "segmentCount"), expected.bands + (expected.knifeRecords > 0 ? 1 : 0));
    }
    EXPECT_FALSE(fs::exists(machineOut.Path() + "job-0004"));
}

TEST(StationEndToEnd, AnInterruptedJogStillStopsTheHead)
{
    TempDir settings;
    TempDir machineOut;
    Machine machine(machineOut.Path());
    ASSERT_FALSE(machine.net.empty()) << machine.sim.Transcript();
    const std::vector<std::string> link = {"machine",       "--net",  machine.net, "--settings",
                                           settings.Path(), "--lang", "1"};
    const auto run = [&](std::vector<std::string> words) {
        std::vector<std::string> all = link;
        all.insert(all.end(), words.begin(), words.end());
        return std::make_unique<ChildProcess>(QV_CLI_PATH, all);
    };
    const auto headAt = [&] {
        const auto status = run({"status"});
        const auto line = status->WaitFor("status", std::chrono::seconds(30));
        status->Wait();
        return line.value_or("no status");
    };

    const auto jog = run({"jog", "right", "--ms", "10000"});
    ASSERT_TRUE(jog->WaitFor("jogging right", std::chrono::seconds(30))) << jog->Transcript();
    ::usleep(300'000);
    jog->Signal(SIGTERM);
    EXPECT_TRUE(jog->WaitFor("the stop was sent", std::chrono::seconds(5))) << jog->Transcript();
    EXPECT_EQ(jog->Wait(), 1);
    const std::string stopped = headAt();
    ::usleep(300'000);
    EXPECT_EQ(headAt(), stopped) << "the head no longer moves";
    EXPECT_EQ(stopped.find("X0.0mm"), std::string::npos) << "it had moved: " << stopped;

    EXPECT_EQ(run({"jog", "right", "--ms", "10001"})->Wait(), 2) << "a jog lasts 10 s at most";
}

} // namespace
} // namespace qv::test
