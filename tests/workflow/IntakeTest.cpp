// Drawings coming into the task list: the data directory, the open dialog, the test drawings.
#include "WorkflowFixtures.h"

#include "app/AtomicFile.h"
#include "app/MessageCatalog.h"
#include "hpgl/CHpglFile.h"
#include "tasks/CQuorvaneDoc.h"
#include "workflow/TestDrawings.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qv::test {
namespace {

namespace fs = std::filesystem;

std::size_t CurveCount(const CQuorvaneDoc& doc)
{
    std::size_t n = 0;
    for (const auto& page : doc.pages)
        n += page->curves.size();
    return n;
}

// Pages and curves a drawing gives when the whole of it is read.
std::pair<std::size_t, std::size_t> ReadWhole(const std::string& bytes, const CSettings& settings)
{
    CQuorvaneDoc doc;
    ImportPlt(bytes, settings, doc);
    return {doc.pages.size(), CurveCount(doc)};
}

std::size_t PagesInFile(const std::string& path)
{
    CQuorvaneDoc doc;
    EXPECT_EQ(doc.Open(path), TaskFileResult::Ok) << path;
    return doc.pages.size();
}

TEST(DataDirectoryIntake, RefusedDrawingsAreDeletedWithoutAPageOrAMessage)
{
    struct Row {
        const char* name;
        std::string bytes;
        int32_t result;
    };
    const Row rows[] = {
        {"empty.plt", "", HpglLoadResult::BadSize},
        {"five-bytes.plt", "IN;PU", HpglLoadResult::BadSize},
        {"number-after-DF.plt", "IN;DF5;PD100,100;PU0,0;", HpglLoadResult::SyntaxError},
    };
    StationFixture f;
    for (const Row& row : rows)
        WriteFile(f.DataFile(row.name), row.bytes);
    f.OnOwner([&] {
        f.station->engine.PollDataDir();
        f.station->engine.PollDataDir();
    });
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(fs::exists(f.DataFile(row.name)));
        const auto read = std::find_if(f.observer.reads.begin(), f.observer.reads.end(),
                                       [&](const auto& r) { return r.path == f.DataFile(row.name); });
        ASSERT_NE(read, f.observer.reads.end());
        EXPECT_EQ(read->result, row.result);
        EXPECT_TRUE(read->deleted);
    }
    EXPECT_TRUE(f.Names().empty());
    EXPECT_TRUE(f.notifier.Texts().empty());
    EXPECT_FALSE(fs::exists(f.station->settings.LastTaskPath));
}

TEST(DataDirectoryIntake, AFileIsTakenAtThePollThatFindsItAsThePreviousOneDid)
{
    StationFixture f;
    const std::string path = f.DataFile("square.plt");
    WriteFile(path, SquarePlt());
    f.OnOwner([&] { f.station->engine.PollDataDir(); });
    EXPECT_TRUE(fs::exists(path)) << "first seen: it may still be written";
    EXPECT_TRUE(f.Names().empty());

    // Grown since: it waits again.
    WriteFile(path, SquarePlt() + SquarePlt(20));
    f.OnOwner([&] { f.station->engine.PollDataDir(); });
    EXPECT_TRUE(fs::exists(path));
    EXPECT_TRUE(f.Names().empty());

    f.OnOwner([&] { f.station->engine.PollDataDir(); });
    EXPECT_FALSE(fs::exists(path));
    ASSERT_EQ(f.Names(), std::vector<std::string>{"square.plt"});
    EXPECT_EQ(PagesInFile(f.station->settings.LastTaskPath), 1u) << "on disk before the drawing was deleted";
}

TEST(DataDirectoryIntake, AFileWrittenSlowlyByAnotherProcessIsTakenOnceAndWhole)
{
    StationFixture f;
    gen::MarkerOptions options;
    options.pieces = 24;
    options.pointsPerPiece = 120;
    const std::string bytes = gen::GenerateMarkerPlt(options);
    const auto expected = ReadWhole(bytes, f.station->settings);
    const std::string path = f.DataFile("marker.plt");

    f.station->Start();
    // The writer appends a piece every 10 ms for about two seconds: four polls and more see it change.
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::size_t pieces = 200;
        const std::size_t step = (bytes.size() + pieces - 1) / pieces;
        for (std::size_t at = 0; fd >= 0 && at < bytes.size(); at += step) {
            const std::size_t n = std::min(step, bytes.size() - at);
            if (::write(fd, bytes.data() + at, n) != static_cast<ssize_t>(n))
                ::_exit(1);
            const timespec pause{0, 10'000'000};
            ::nanosleep(&pause, nullptr);
        }
        ::_exit(fd >= 0 && ::close(fd) == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(Eventually([&] { return !fs::exists(path); }));
    f.station->Close();

    ASSERT_EQ(f.observer.reads.size(), 1u) << "taken once";
    EXPECT_EQ(f.observer.reads[0].result, HpglLoadResult::Ok);
    EXPECT_EQ(f.station->doc.pages.size(), expected.first);
    EXPECT_EQ(CurveCount(f.station->doc), expected.second) << "taken whole";
}

TEST(DataDirectoryIntake, AFileHeldWithAnExclusiveLockStaysUntilItIsReleased)
{
    StationFixture f;
    const std::string path = f.DataFile("locked.plt");
    WriteFile(path, SquarePlt());
    const int holder = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    f.OnOwner([&] {
        for (int i = 0; i < 4; ++i)
            f.station->engine.PollDataDir();
    });
    EXPECT_TRUE(fs::exists(path));
    EXPECT_TRUE(f.Names().empty());

    ::close(holder);
    f.OnOwner([&] { f.station->engine.PollDataDir(); });
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(f.Names().size(), 1u);
}

TEST(DataDirectoryIntake, AFifoOrADirectoryNeverStallsThePollAndStays)
{
    StationFixture f;
    ASSERT_EQ(::mkfifo(f.DataFile("pipe.plt").c_str(), 0644), 0);
    fs::create_directory(f.DataFile("folder"));
    WriteFile(f.DataFile("square.plt"), SquarePlt());
    f.OnOwner([&] {
        f.station->engine.PollDataDir();
        f.station->engine.PollDataDir();
    });
    EXPECT_TRUE(fs::exists(f.DataFile("pipe.plt")));
    EXPECT_TRUE(fs::is_directory(f.DataFile("folder")));
    EXPECT_EQ(f.Names(), std::vector<std::string>{"square.plt"});
}

TEST(DataDirectoryIntake, AListThatCannotBeSavedKeepsItsSourceFileUntilASaveSucceeds)
{
    StationFixture f;
    const std::string last = f.station->settings.LastTaskPath;
    fs::create_directory(last);   // the list cannot be written over a directory
    const std::string path = f.DataFile("square.plt");
    WriteFile(path, SquarePlt());
    f.OnOwner([&] {
        for (int i = 0; i < 5; ++i)
            f.station->engine.PollDataDir();
    });
    EXPECT_TRUE(fs::exists(path)) << "its pages exist only in memory";
    EXPECT_EQ(f.Names().size(), 1u) << "read once, not again at every poll";
    EXPECT_EQ(f.notifier.Texts().size(), 1u) << "told once";

    fs::remove(last);
    f.OnOwner([&] { f.station->engine.PollDataDir(); });
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(PagesInFile(last), 1u);
}

TEST(DialogIntake, DeletesOnlyWhatItReadAndOnlyWithAutoDelPlt)
{
    struct Row {
        const char* name;
        int autoDelPlt;
        bool readable;
        bool kept;
        std::size_t pages;
        bool message;
    };
    const Row rows[] = {
        {"readable, AutoDelPlt off", 0, true, true, 1, false},
        {"readable, AutoDelPlt on", 1, true, false, 1, false},
        {"rejected, AutoDelPlt on", 1, false, true, 0, true},
        {"rejected, AutoDelPlt off", 0, false, true, 0, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        StationFixture f({"AutoDelPlt=" + std::to_string(row.autoDelPlt)});
        TempDir elsewhere;
        const std::string path = elsewhere.File("chosen.plt");
        WriteFile(path, row.readable ? SquarePlt() : "IN;PU");
        f.OnOwner([&] { f.station->engine.AddThroughDialog(path); });
        EXPECT_EQ(fs::exists(path), row.kept);
        EXPECT_EQ(f.Names().size(), row.pages);
        EXPECT_EQ(f.notifier.Texts(), row.message ? std::vector<std::string>{"文件打开失败!"}
                                                  : std::vector<std::string>{});
    }
}

TEST(DialogIntake, CancelRefreshesTheViewsAndChangesNothing)
{
    StationFixture f;
    f.OnOwner([&] { f.station->engine.AddThroughDialog(std::nullopt); });
    EXPECT_EQ(f.observer.refills, 1);
    EXPECT_EQ(f.observer.shown, std::vector<std::ptrdiff_t>{0});
    EXPECT_TRUE(f.Names().empty());
}

TEST(TestDrawingIntake, EveryCommandEmptiesTheListAndAddsItsDrawingWhichStays)
{
    StationFixture f;
    for (const TestDrawing& drawing : TestDrawings()) {
        SCOPED_TRACE(drawing.name);
        f.OnOwner([&] { f.station->doc.pages.push_back(MakePage("other.plt", PageState::Manual)); });
        f.OnOwner([&] { f.station->engine.AddTestDrawing(drawing.command); });
        const std::string file = f.station->settings.ExeDir + std::string(drawing.name);
        EXPECT_TRUE(fs::exists(file));
        EXPECT_EQ(f.Names(), std::vector<std::string>{fs::path(file).filename().string()});
        EXPECT_EQ(PagesInFile(f.station->settings.LastTaskPath), 1u);
    }
    EXPECT_TRUE(f.notifier.Texts().empty());
}

TEST(TestDrawingIntake, AMissingDrawingLeavesTheListEmptyWithoutAMessage)
{
    StationFixture f;
    fs::remove(f.station->settings.ExeDir + "TestPlt/20x20.plt");
    f.OnOwner([&] {
        f.station->doc.pages.push_back(MakePage("other.plt", PageState::Manual));
        f.station->engine.AddTestDrawing(3002);
    });
    EXPECT_TRUE(f.Names().empty());
    EXPECT_TRUE(f.notifier.Texts().empty());
    EXPECT_GE(f.observer.refills, 1) << "the views do not keep showing the deleted pages";
}

TEST(TestDrawingIntake, TheBundledDrawingsAreWrittenWhereTheProgramLooksForThem)
{
    TempDir exe;
    CSettings settings;
    CSetDisp disp;
    MachineSettings machine;
    settings.Load(exe.Path(), disp, machine);
    EnsureTestFiles(settings);
    for (const TestDrawing& drawing : TestDrawings()) {
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(exe.Path() + std::string(drawing.name), bytes)) << drawing.name;
        EXPECT_EQ(bytes, std::string(drawing.bytes.begin(), drawing.bytes.end()));
    }
    EXPECT_FALSE(TestDrawingOf(2999));
    EXPECT_FALSE(TestDrawingOf(3007));
    EXPECT_EQ(TestDrawingOf(3004)->name, "TestPlt/30x30_HC_FC.plt");
}

} // namespace
} // namespace qv::test
