// A station killed at any moment loses no drawing: each one dropped into the data directory is either still
// there or its pages are in the task list the next start reloads.
#include "ChildProcess.h"
#include "WorkflowFixtures.h"

#include "tasks/CQuorvaneDoc.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>

namespace qv::test {
namespace {

namespace fs = std::filesystem;

int FromEnvironment(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value ? std::atoi(value) : fallback;
}

TEST(CrashSafety, EveryDroppedDrawingIsInTheDirectoryOrInTheReloadedList)
{
    const int seed = FromEnvironment("QV_CRASH_SEED", 20240611);
    const int rounds = FromEnvironment("QV_CRASH_ROUNDS", 50);
    std::mt19937 random(static_cast<uint32_t>(seed));
    SCOPED_TRACE("QV_CRASH_SEED=" + std::to_string(seed));

    TempDir exe;
    WriteFile(exe.File("setting.ini"), SettingsIni({"AutoStartWork=0", "AutoDelFinish=0"}));
    const std::string dataDir = exe.Path() + "plot/";
    fs::create_directory(dataDir);
    const std::string drawings[] = {SquarePlt(10), SquarePlt(20), gen::GenerateTestSquarePlt(30, true)};

    std::vector<std::string> dropped;
    int roundsThatTook = 0;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ChildProcess station(QV_CLI_PATH, {"station", "--dir", exe.Path(), "--usb"});
        ASSERT_TRUE(station.Started());
        ASSERT_TRUE(station.WaitFor("running", std::chrono::seconds(60))) << station.Transcript();

        // Drawings arrive whole (written beside the directory, then moved in), a few at a time.
        const int count = 1 + static_cast<int>(random() % 3);
        for (int k = 0; k < count; ++k) {
            const std::string name = "r" + std::to_string(round) + "-" + std::to_string(k) + ".plt";
            WriteFile(exe.File("incoming"), drawings[random() % std::size(drawings)]);
            fs::rename(exe.File("incoming"), dataDir + name);
            dropped.push_back(name);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 1400));
        station.Signal(SIGKILL);
        ASSERT_EQ(station.Wait(), 128 + SIGKILL);

        std::set<std::string> listed;
        CQuorvaneDoc reloaded;
        if (fs::exists(exe.Path() + "lastv901.ctask")) {
            ASSERT_EQ(reloaded.Open(exe.Path() + "lastv901.ctask"), TaskFileResult::Ok) << "never a torn list";
            for (const auto& page : reloaded.pages)
                listed.insert(page->fileName);
        }
        for (const std::string& name : dropped)
            ASSERT_TRUE(fs::exists(dataDir + name) || listed.contains(name)) << name << " is lost";
        roundsThatTook += fs::exists(dataDir + dropped.back()) ? 0 : 1;
    }
    EXPECT_GT(roundsThatTook, 0) << "no round got as far as taking a drawing";
}

} // namespace
} // namespace qv::test
