// The data directory at start, and how its files are judged: settled, locked, still the same file.
#include "WorkflowFixtures.h"

#include "app/AtomicFile.h"
#include "workflow/DataDirectory.h"
#include "workflow/IntakeFile.h"
#include "workflow/SettledFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv::test {
namespace {

namespace fs = std::filesystem;
using Verdict = SettledFiles::Verdict;
using Kind = DirectoryEvent::Kind;
using namespace std::chrono_literals;

TEST(RepairDataDir, AnUnusableDirectoryBecomesPlotBesideTheProgram)
{
    TempDir exe;
    TempDir other;
    struct Row {
        const char* name;
        std::string dataDir;
        bool kept;
        bool keptInTheFile; // a folder merely absent (a share not mounted yet) stays in setting.ini
    };
    const Row rows[] = {
        {"empty", "", false, false},
        {"two characters", "/t", false, false},
        {"a deleted folder", exe.File("gone/"), false, true},
        {"the program's own directory", exe.Path(), false, false},
        {"the program's directory without the slash", exe.Path().substr(0, exe.Path().size() - 1), false, false},
        {"another folder", other.Path(), true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CSettings settings;
        settings.ExeDir = exe.Path();
        settings.DataDir = row.dataDir;
        RepairDataDir(settings);
        EXPECT_EQ(settings.DataDir, row.kept ? row.dataDir : exe.Path() + "plot/");
        EXPECT_TRUE(fs::is_directory(settings.DataDir));
        const CSetDisp disp;
        const MachineSettings machine;
        settings.Save(disp, machine);
        CSettings again;
        CSetDisp readDisp;
        MachineSettings readMachine;
        again.Load(exe.Path(), readDisp, readMachine);
        EXPECT_EQ(again.DataDir, row.keptInTheFile ? row.dataDir : exe.Path() + "plot/");
    }
}

FileIdentity Identity(int64_t size, int64_t ns, ino_t inode = 7)
{
    return FileIdentity{1, inode, static_cast<off_t>(size), ns};
}

TEST(SettledFiles, AFileIsSettledWhenThePreviousPollSawItTheSame)
{
    struct Step {
        const char* name;
        std::vector<std::pair<std::string, FileIdentity>> seen; // one poll
        std::vector<bool> settled;
    };
    const Step steps[] = {
        {"first seen", {{"a", Identity(10, 1)}, {"b", Identity(10, 1, 8)}}, {false, false}},
        {"unchanged; b grew", {{"a", Identity(10, 1)}, {"b", Identity(20, 2, 8)}}, {true, false}},
        {"a touched; b unchanged", {{"a", Identity(10, 3)}, {"b", Identity(20, 2, 8)}}, {false, true}},
        {"a replaced by another file", {{"a", Identity(10, 3, 9)}}, {false}},
        {"b missed a poll", {{"a", Identity(10, 3, 9)}, {"b", Identity(20, 2, 8)}}, {true, false}},
    };
    // Both writers closed their files before the first poll.
    SettledFiles settled;
    settled.Apply({true, false, {{"a", DirectoryEvent::Kind::Finished}, {"b", DirectoryEvent::Kind::Finished}}, {}});
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        settled.BeginPoll(SettledFiles::Clock::now());
        for (std::size_t i = 0; i < step.seen.size(); ++i) {
            const bool taken = settled.Check(step.seen[i].first, step.seen[i].second) == SettledFiles::Verdict::Take;
            EXPECT_EQ(taken, step.settled[i]) << step.seen[i].first;
        }
        settled.EndPoll();
    }
}

// Drives polls of one file "a.plt" at a clock of its own.
struct Polls {
    Verdict Poll(const FileIdentity& identity, std::vector<DirectoryEvent> events = {}, bool fresh = false)
    {
        settled.Apply({true, fresh, std::move(events), {}});
        settled.BeginPoll(now);
        const Verdict verdict = settled.Check("a.plt", identity);
        settled.EndPoll();
        now += 500ms;
        return verdict;
    }
    SettledFiles settled;
    SettledFiles::Clock::time_point now{};
};

const FileIdentity kHalf{1, 7, 100, 1'000};
const FileIdentity kWhole{1, 7, 200, 2'000};

TEST(SettledFiles, AFileItsWriterClosedIsTakenOnceAPollFindsItUnchanged)
{
    Polls p;
    EXPECT_EQ(p.Poll(kWhole, {{"a.plt", Kind::Changed}, {"a.plt", Kind::Finished}}), Verdict::Wait) << "first seen";
    EXPECT_EQ(p.Poll(kWhole), Verdict::Take);

    Polls renamed;
    EXPECT_EQ(renamed.Poll(kWhole), Verdict::Wait);
    EXPECT_EQ(renamed.Poll(kWhole, {{"other.plt", Kind::Finished}}), Verdict::Wait) << "another file's event";
    EXPECT_EQ(renamed.Poll(kWhole, {{"a.plt", Kind::Finished}}), Verdict::Take);
}

TEST(SettledFiles, AWriterPausingMidFileIsWaitedForHoweverLongThePause)
{
    Polls p;
    p.Poll(kHalf, {{"a.plt", Kind::Changed}});
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(p.Poll(kHalf), Verdict::Wait) << "unchanged for " << i + 1 << " polls, still open";
    EXPECT_EQ(p.Poll(kWhole, {{"a.plt", Kind::Finished}}), Verdict::Wait) << "grown since";
    EXPECT_EQ(p.Poll(kWhole), Verdict::Take);
}

TEST(SettledFiles, AWriteAfterTheCloseOrALostQueueForgetsThatTheWriterFinished)
{
    Polls reopened;
    reopened.Poll(kHalf, {{"a.plt", Kind::Finished}, {"a.plt", Kind::Changed}});
    EXPECT_EQ(reopened.Poll(kHalf), Verdict::Wait);

    Polls overflowed;
    overflowed.Poll(kWhole, {{"a.plt", Kind::Finished}});
    EXPECT_EQ(overflowed.Poll(kWhole, {}, true), Verdict::Wait);

    Polls removed;
    removed.Poll(kWhole, {{"a.plt", Kind::Finished}});
    removed.settled.BeginPoll(removed.now); // a poll that no longer finds it
    removed.settled.EndPoll();
    EXPECT_EQ(removed.Poll(kWhole), Verdict::Wait) << "dropped again: first seen";
    EXPECT_EQ(removed.Poll(kWhole), Verdict::Wait) << "the old close is not this file's";
}

TEST(SettledFiles, AFileOfAnUnknownWriterIsTakenAfterTheQuietTimeUnlessHeld)
{
    Polls p;
    p.Poll(kHalf, {}, true);
    int polls = 1;
    while (p.Poll(kHalf) == Verdict::Wait)
        ++polls;
    EXPECT_EQ(polls * 500ms, SettledFiles::kQuietTime);

    Polls changed;
    changed.Poll(kHalf, {}, true);
    for (int i = 0; i < 5; ++i)
        changed.Poll(kHalf);
    EXPECT_EQ(changed.Poll(kWhole), Verdict::Wait) << "a change starts the quiet time again";
    EXPECT_EQ(changed.Poll(kWhole), Verdict::Wait);
    changed.now += SettledFiles::kQuietTime;
    EXPECT_EQ(changed.Poll(kWhole), Verdict::TakeUnlessHeld);
}

TEST(IntakeFile, OpensOnlyRegularFilesNobodyHoldsLocked)
{
    TempDir dir;
    WriteFile(dir.File("free.plt"), "IN;PU0,0;PD10,10;");
    WriteFile(dir.File("held.plt"), "IN;PU0,0;PD10,10;");
    ASSERT_EQ(::mkfifo(dir.File("fifo.plt").c_str(), 0644), 0);
    const int holder = ::open(dir.File("held.plt").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    EXPECT_TRUE(IntakeFile::Open(dir.File("free.plt"), true));
    EXPECT_FALSE(IntakeFile::Open(dir.File("held.plt"), true));
    EXPECT_TRUE(IntakeFile::Open(dir.File("held.plt"), false)) << "outside the data directory nothing is locked";
    EXPECT_FALSE(IntakeFile::Open(dir.File("fifo.plt"), false)) << "and it did not wait for a writer";
    EXPECT_FALSE(IntakeFile::Open(dir.File("missing.plt"), false));
    EXPECT_FALSE(IntakeFile::Open(dir.Path(), false));
    ::close(holder);

    const auto file = IntakeFile::Open(dir.File("free.plt"), true);
    ASSERT_TRUE(file);
    fs::rename(dir.File("free.plt"), dir.File("renamed.plt"));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(file->ReadPath(), bytes)) << "the opened file, whatever its name now";
    EXPECT_EQ(bytes, "IN;PU0,0;PD10,10;");
}

TEST(IntakeFile, DeletesOnlyTheFileThatWasRead)
{
    TempDir dir;
    const std::string path = dir.File("a.plt");
    const auto identityNow = [&] {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0);
        return IdentityOf(st);
    };
    WriteFile(path, "first drawing");
    const FileIdentity read = identityNow();

    WriteFile(path, "second drawing, longer"); // written again after it was read
    EXPECT_FALSE(DeleteIfUnchanged(path, read));
    EXPECT_TRUE(fs::exists(path));

    const FileIdentity again = identityNow();
    WriteFile(dir.File("new.plt"), "second drawing, longer");
    fs::rename(dir.File("new.plt"), path); // replaced by another file of the same size
    EXPECT_FALSE(DeleteIfUnchanged(path, again));
    EXPECT_TRUE(fs::exists(path));

    EXPECT_TRUE(DeleteIfUnchanged(path, identityNow()));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(DeleteIfUnchanged(path, again)) << "already gone";
}

TEST(IntakeFile, DeletingALinkNeverReachesOutOfTheDirectory)
{
    TempDir outside;
    TempDir dir;
    const std::string target = outside.File("kept.plt");
    WriteFile(target, "a drawing kept elsewhere");
    const std::string link = dir.File("link.plt");
    fs::create_symlink(target, link);
    const std::optional<IntakeFile> file = IntakeFile::Open(link, true);
    ASSERT_TRUE(file);
    EXPECT_TRUE(DeleteIfUnchanged(link, file->identity()));
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_TRUE(fs::exists(target)) << "only the link goes";

    // A link to a folder is never opened as a drawing, so nothing behind it is deleted.
    fs::create_directory(outside.File("folder"));
    fs::create_directory_symlink(outside.File("folder"), dir.File("folder.plt"));
    EXPECT_FALSE(IntakeFile::Open(dir.File("folder.plt"), true));
    EXPECT_TRUE(fs::is_directory(outside.File("folder")));
}

} // namespace
} // namespace qv::test
