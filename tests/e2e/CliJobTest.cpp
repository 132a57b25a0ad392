#include "CliRun.h"
#include "E2eDrawing.h"

#include "output/JobRig.h"

#include "app/AtomicFile.h"
#include "link/CommandCodes.h"
#include "model/PageState.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::Cli;
using test::CliRun;
using test::TempDir;

std::vector<uint8_t> Read(const std::string& path)
{
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    return {bytes.begin(), bytes.end()};
}

// The frames of a file of write frames, split by their length bytes.
std::vector<std::vector<uint8_t>> Frames(const std::vector<uint8_t>& bytes)
{
    std::vector<std::vector<uint8_t>> frames;
    for (std::size_t i = 0; i < bytes.size() && bytes[i] >= 2 && i + bytes[i] <= bytes.size(); i += bytes[i])
        frames.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(i),
                            bytes.begin() + static_cast<std::ptrdiff_t>(i + bytes[i]));
    return frames;
}

// A task file of the drawing's two pages, both Auto; and a settings directory with English texts.
class CliJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WriteFileAtomically(dir.File("setting.ini"), std::string("[Para]\nLanguage=1\n")));
        settings.AutoStartWork = 1;
        ASSERT_NO_FATAL_FAILURE(test::ImportDrawing(dir, settings, notifier, doc));
        ASSERT_EQ(doc.Save(taskFile), TaskFileResult::Ok);
    }

    TempDir dir;
    CSettings settings;
    RecordingNotifier notifier;
    CQuorvaneDoc doc;
    std::string taskFile = dir.File("list.ctask");
};

TEST_F(CliJobTest, JobWritesWhatTheJobThreadSends)
{
    const CliRun run = Cli({"job", taskFile, "--page", "1", "--settings", dir.Path(), "-o", dir.File("job")});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\"startCommand\": 53"), std::string::npos) << run.out;

    // The same page through the job thread to the virtual machine.
    test::JobRig r(true);
    ASSERT_EQ(r.Output(*doc.pages[0]), JobThread::Completed);
    const auto frameOf = [](uint8_t code, const std::vector<uint8_t>& payload) {
        std::vector<uint8_t> frame{static_cast<uint8_t>(payload.size() + 2), code};
        frame.insert(frame.end(), payload.begin(), payload.end());
        return frame;
    };
    EXPECT_EQ(Read(dir.File("job/start.bin")), frameOf(cmd::kStartJobNow, r.Payloads(cmd::kStartJobNow).at(0)));
    EXPECT_EQ(Read(dir.File("job/header.bin")), frameOf(cmd::kJobHeader, r.Payloads(cmd::kJobHeader).at(0)));
    std::vector<std::vector<uint8_t>> segments;
    for (const auto& payload : r.Payloads(cmd::kSegment))
        segments.push_back(frameOf(cmd::kSegment, payload));
    EXPECT_EQ(Frames(Read(dir.File("job/segments.bin"))), segments);
    const auto jobs = r.rig.machine.Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    std::size_t total = 0;
    for (const sim::SegmentEntry& e : jobs[0]->segments)
        total += e.length;
    EXPECT_EQ(Read(dir.File("job/data.bin")).size(), total);
}

TEST_F(CliJobTest, PreviewShowsWhatTheMachineMakesOfTheJob)
{
    const CliRun run = Cli({"preview", taskFile, "--page", "2", "-o", dir.File("preview")});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\"ok\": true"), std::string::npos) << run.out;
    const std::vector<uint8_t> png = Read(dir.File("preview/print.png"));
    ASSERT_GE(png.size(), 8u);
    EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 8),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    std::string svg;
    ASSERT_TRUE(ReadWholeFile(dir.File("preview/cut.svg"), svg));
    EXPECT_NE(svg.find("class=\"F\""), std::string::npos) << "the full cut of the second page";

    const CliRun missing = Cli({"preview", taskFile, "--page", "3", "-o", dir.File("preview3")});
    EXPECT_EQ(missing.status, 1);
    const CliRun usage = Cli({"preview", taskFile, "-o", dir.File("preview4")});
    EXPECT_EQ(usage.status, 2);
}

TEST_F(CliJobTest, SendOutputsTheAutoPagesOneJobAtATime)
{
    sim::SimOptions options = test::MachineRig::Defaults();
    options.segmentMs = 20;
    options.confirmAfterMs = 100; // the operator confirms the second page on the machine's panel
    test::MachineRig machine(true, options, true);
    const std::string address = std::to_string(machine.address[0]) + "." + std::to_string(machine.address[1]) + "." +
                                std::to_string(machine.address[2]) + "." + std::to_string(machine.address[3]) + ":" +
                                std::to_string(machine.server.Port());

    const CliRun run = Cli({"send", taskFile, "--net", address, "--settings", dir.Path()});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("page 001"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("page 002"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Working..."), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  Done\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("2 of 2 pages completed"), std::string::npos) << run.out;
    const auto jobs = machine.machine.Jobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_TRUE(jobs[0]->Ok() && jobs[1]->Ok());
    EXPECT_EQ(jobs[0]->startCode, 53);
    EXPECT_EQ(jobs[1]->startCode, 52) << "a later page waits for the confirm key";

    for (auto& page : doc.pages)
        page->state = PageState::Manual;
    ASSERT_EQ(doc.Save(taskFile), TaskFileResult::Ok);
    const CliRun none = Cli({"send", taskFile, "--net", address, "--settings", dir.Path()});
    EXPECT_EQ(none.status, 1) << "nothing sent is no success";
    EXPECT_EQ(machine.machine.Jobs().size(), 2u);
}

} // namespace
} // namespace qv
