// The hot-folder storm: writer processes drop files into the data directory of a running station all at once,
// written every way drawings arrive, while the station is killed at random moments and started again. Every
// valid drawing ends in the task list once and whole, every refused one leaves the directory, none is lost.
// QV_STORM_FILES, QV_STORM_KILLS, QV_STORM_WRITERS, QV_STORM_SECONDS and QV_STORM_SEED set the storm
// (scripts/storm.sh runs the long one).
#include "ChildProcess.h"
#include "StormPlan.h"
#include "WorkflowFixtures.h"

#include "tasks/CQuorvaneDoc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>

namespace qv::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int FromEnvironment(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value ? std::atoi(value) : fallback;
}

// What the pages of one drawing hold, added up.
struct Content {
    std::size_t pages = 0;
    std::size_t curves = 0;
    std::size_t points = 0;

    void Add(const COnePage& page)
    {
        ++pages;
        curves += page.curves.size();
        for (const auto& curve : page.curves)
            points += curve->PointCount();
    }
};

// Reads the station's lines (it would stall on a full pipe) until `until`.
void ReadUntil(ChildProcess& station, Clock::time_point until)
{
    for (auto now = Clock::now(); now < until; now = Clock::now())
        station.ReadLine(std::chrono::duration_cast<std::chrono::milliseconds>(until - now));
}

std::size_t FilesIn(const std::string& dir)
{
    std::size_t n = 0;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        n += it->is_directory(ec) ? 0 : 1;
    return n;
}

std::unique_ptr<ChildProcess> StartStation(const std::string& exeDir)
{
    auto station =
        std::make_unique<ChildProcess>(QV_CLI_PATH, std::vector<std::string>{"station", "--dir", exeDir, "--usb"});
    EXPECT_TRUE(station->Started());
    EXPECT_TRUE(station->WaitFor("watching", std::chrono::seconds(60))) << station->Transcript();
    return station;
}

TEST(HotFolderStorm, EveryValidDrawingIsTakenOnceAndWholeThroughKillsAndRestarts)
{
    const int files = std::max(FromEnvironment("QV_STORM_FILES", 200), kStormWritings);
    const int kills = FromEnvironment("QV_STORM_KILLS", 1);
    const int writers = std::max(FromEnvironment("QV_STORM_WRITERS", 4), 1);
    const int seconds = std::max(FromEnvironment("QV_STORM_SECONDS", 3), 1);
    const int seed = FromEnvironment("QV_STORM_SEED", 20261210);
    std::mt19937 random(static_cast<uint32_t>(seed));
    SCOPED_TRACE("QV_STORM_SEED=" + std::to_string(seed));

    TempDir exe;
    WriteFile(exe.File("setting.ini"), SettingsIni({"AutoStartWork=0", "AutoDelFinish=0"}));
    const std::string dataDir = exe.Path() + "plot/";
    const std::string stageDir = exe.Path() + "stage/";
    fs::create_directory(dataDir);
    fs::create_directory(stageDir);
    const std::string lastTasks = exe.Path() + "lastv901.ctask";

    std::unique_ptr<ChildProcess> station = StartStation(exe.Path());
    ASSERT_TRUE(station->Started());
    const Clock::time_point start = Clock::now();
    const int spacing = std::max(1, seconds * 1000 * writers / files);
    std::vector<std::unique_ptr<ChildProcess>> writing;
    for (int w = 0; w < writers; ++w) {
        writing.push_back(std::make_unique<ChildProcess>(
            QV_STORM_WRITER_PATH,
            std::vector<std::string>{dataDir, stageDir, std::to_string(w), std::to_string(writers),
                                     std::to_string(files), std::to_string(spacing)}));
        ASSERT_TRUE(writing.back()->Started());
    }

    // Killed while the files come in and while the late ones are still being written.
    std::vector<int> killAt;
    for (int k = 0; k < kills; ++k)
        killAt.push_back(static_cast<int>(random() % static_cast<uint32_t>(seconds * 1000 + 1500)));
    std::sort(killAt.begin(), killAt.end());
    for (const int at : killAt) {
        ReadUntil(*station, start + std::chrono::milliseconds(at));
        station->Signal(SIGKILL);
        ASSERT_EQ(station->Wait(), 128 + SIGKILL);
        if (fs::exists(lastTasks)) {
            CQuorvaneDoc list;
            ASSERT_EQ(list.Open(lastTasks), TaskFileResult::Ok) << "never a torn list";
        }
        station = StartStation(exe.Path());
        ASSERT_TRUE(station->Started());
    }
    for (auto& writer : writing)
        ASSERT_EQ(writer->Wait(), 0) << writer->Transcript();
    const double stormSeconds = std::chrono::duration<double>(Clock::now() - start).count();

    // Everything taken: the data directory holds no file any more (refused ones may lie in a folder of it).
    const auto deadline = Clock::now() + std::chrono::seconds(60 + files / 20);
    while (FilesIn(dataDir) > 0 && Clock::now() < deadline)
        ReadUntil(*station, Clock::now() + std::chrono::milliseconds(100));
    const double takenSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_EQ(FilesIn(dataDir), 0u) << "left in the data directory";
    EXPECT_EQ(FilesIn(stageDir), 0u);
    station->Signal(SIGTERM);
    ASSERT_TRUE(station->WaitFor("closed", std::chrono::seconds(60))) << station->Transcript();
    ASSERT_EQ(station->Wait(), 0);

    CQuorvaneDoc list;
    ASSERT_EQ(list.Open(lastTasks), TaskFileResult::Ok);
    std::map<std::string, Content> listed;
    for (const auto& page : list.pages)
        listed[page->fileName].Add(*page);
    std::map<std::string, Content> expected; // by the drawing's bytes
    int valid = 0, once = 0, twice = 0, lost = 0, cutShort = 0, refused = 0, refusedListed = 0;
    for (int index = 0; index < files; ++index) {
        const std::string name = StormName(index);
        const auto found = listed.find(name);
        if (!IsValid(WritingOf(index))) {
            ++refused;
            refusedListed += found != listed.end() ? 1 : 0;
            continue;
        }
        ++valid;
        const std::string bytes = StormBytes(index);
        if (!expected.contains(bytes)) {
            CQuorvaneDoc whole;
            CSettings settings;
            ImportPlt(bytes, settings, whole);
            for (const auto& page : whole.pages)
                expected[bytes].Add(*page);
        }
        const Content& want = expected[bytes];
        if (found == listed.end()) {
            ++lost;
            ADD_FAILURE() << name << " is lost";
            continue;
        }
        const Content& got = found->second;
        const std::size_t copies = got.pages / want.pages;
        if (got.pages % want.pages != 0 || got.curves != copies * want.curves || got.points != copies * want.points) {
            ++cutShort;
            ADD_FAILURE() << name << " is not whole: " << got.pages << " pages, " << got.curves << " curves, "
                          << got.points << " points";
            continue;
        }
        once += copies == 1 ? 1 : 0;
        twice += copies == 2 ? 1 : 0;
        EXPECT_LE(copies, 2u) << name;
    }
    // A kill between the save of the list and the deletion of the file takes that file again after the start.
    EXPECT_LE(twice, kills) << "taken twice";
    EXPECT_EQ(refusedListed, 0);
    std::printf("storm: %d files (%d valid, %d refused) by %d writers, %d kills: %d taken once, %d taken twice, "
                "%d lost, %d cut short, %d refused and out of the data directory; written in %.1f s, all taken "
                "%.1f s after the first file\n",
                files, valid, refused, writers, kills, once, twice, lost, cutShort, refused - refusedListed,
                stormSeconds, takenSeconds);
}

} // namespace
} // namespace qv::test
