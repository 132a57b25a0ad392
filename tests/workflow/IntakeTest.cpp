// Drawings coming into the task list: the data directory, the open dialog, the test drawings.
#include "WorkflowFixtures.h"

#include "app/AtomicFile.h"
#include "app/MessageCatalog.h"
#include "hpgl/CHpglFile.h"
#include "tasks/CQuorvaneDoc.h"
#include "workflow/SettledFiles.h"
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

// Nothing put in the data directory is destroyed unread: a refused drawing goes to "unread/".
TEST(DataDirectoryIntake, RefusedDrawingsAreSetAsideWithoutAPageOrAMessage)
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
    CentreFixture f;
    f.WatchDataDir();
    for (const Row& row : rows)
        WriteFile(f.DataFile(row.name), row.bytes);
    f.OnOwner([&] {
        f.c->engine.PollDataDir();
        f.c->engine.PollDataDir();
    });
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(fs::exists(f.DataFile(row.name)));
        EXPECT_EQ(ReadFile(f.DataFile(std::string("unread/") + row.name)), row.bytes);
        const auto read = std::find_if(f.observer.reads.begin(), f.observer.reads.end(),
                                       [&](const auto& r) { return r.path == f.DataFile(row.name); });
        ASSERT_NE(read, f.observer.reads.end());
        EXPECT_EQ(read->result, row.result);
        EXPECT_TRUE(read->deleted);
    }
    EXPECT_EQ(f.observer.reads.size(), 3u) << "nothing in unread/ is read again";
    EXPECT_TRUE(f.Names().empty());
    EXPECT_TRUE(f.notifier.Texts().empty());
    EXPECT_FALSE(fs::exists(f.c->settings.LastTaskPath));
}

// A data directory that is not there yet (a share mounted later) is told once; the fallback is used meanwhile.
TEST(DataDirectoryIntake, AMissingDataDirectoryIsToldOnce)
{
    CentreFixture f({"Language=1", "DataDir=/no/such/share/"});
    f.OnOwner([&] {
        f.c->engine.PollDataDir();
        f.c->engine.PollDataDir();
    });
    EXPECT_EQ(f.notifier.Texts(),
              (std::vector<std::string>{"The data directory /no/such/share/ does not exist; " + f.exe.Path() +
                                        "plot/ is used for now, and the settings "
                                        "keep /no/such/share/"}));
}

// With a plain file where "unread/" would be, nothing can be set aside: each refused file is told once and
// waits where it is until it changes, instead of being read and refused at every look.
TEST(DataDirectoryIntake, ARefusedFileThatCannotBeSetAsideIsToldOnceAndWaits)
{
    CentreFixture f({"Language=1"});
    f.WatchDataDir();
    WriteFile(f.DataFile("unread"), "x");
    WriteFile(f.DataFile("five-bytes.plt"), "IN;PU");
    const auto poll = [&] {
        f.OnOwner([&] {
            for (int i = 0; i < 3; ++i)
                f.c->engine.PollDataDir();
        });
    };
    poll();
    EXPECT_EQ(f.observer.reads.size(), 2u);
    EXPECT_EQ(ReadFile(f.DataFile("five-bytes.plt")), "IN;PU");
    auto texts = f.notifier.Texts();
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "Cannot move five-bytes.plt, which was not read, into the data directory's unread/; it "
                         "stays where it is and is not read again until it changes",
                         "Cannot move unread, which was not read, into the data directory's unread/; it stays where "
                         "it is and is not read again until it changes"}));

    WriteFile(f.DataFile("five-bytes.plt"), "IN;PU;");
    poll();
    EXPECT_EQ(f.observer.reads.size(), 3u) << "a changed file is read again";
}

// A drawing read without error but without a curve is no success: told once with what it held, set aside,
// and a second one of the same name set aside beside it.
TEST(DataDirectoryIntake, AnEmptyDrawingIsToldOnceAndSetAside)
{
    CentreFixture f;
    f.WatchDataDir();
    const std::string empty = "IN;SP1;PE<=;FT1;";
    WriteFile(f.DataFile("empty.plt"), empty);
    f.OnOwner([&] {
        f.c->engine.PollDataDir();
        f.c->engine.PollDataDir();
    });
    ASSERT_EQ(f.observer.reads.size(), 1u);
    EXPECT_EQ(f.observer.reads[0].result, HpglLoadResult::NoDrawing);
    EXPECT_TRUE(f.observer.reads[0].deleted);
    EXPECT_EQ(ReadFile(f.DataFile("unread/empty.plt")), empty);
    EXPECT_EQ(f.notifier.Texts(), (std::vector<std::string>{"empty.plt 中没有图形（其中有：FT 1, IN 1, PE 1, SP 1）"}));
    std::optional<ImportReport> report;
    f.OnOwner([&] { report = f.c->engine.LastReport(); });
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->Empty());
    EXPECT_EQ(report->skipped, (std::map<std::string, uint32_t>{{"FT", 1}, {"PE", 1}}));

    WriteFile(f.DataFile("empty.plt"), empty + ";");
    f.OnOwner([&] {
        f.c->engine.PollDataDir();
        f.c->engine.PollDataDir();
    });
    EXPECT_EQ(ReadFile(f.DataFile("unread/empty.plt")), empty) << "never overwritten";
    EXPECT_EQ(ReadFile(f.DataFile("unread/empty.plt.1")), empty + ";");
    EXPECT_TRUE(f.Names().empty());
}

// The report of a drawing is found again from its pages (the task list's context menu).
TEST(DataDirectoryIntake, TheReportOfAPageDrawing)
{
    CentreFixture f;
    f.WatchDataDir();
    WriteFile(f.DataFile("square.plt"), "IN;SP1;PU0,0;PD400,0,400,400;ZZ;");
    f.OnOwner([&] {
        f.c->engine.PollDataDir();
        f.c->engine.PollDataDir();
    });
    std::optional<ImportReport> report;
    f.OnOwner([&] {
        ASSERT_EQ(f.c->doc.pages.size(), 1u);
        report = f.centre->ReportFor(*f.c->doc.pages[0]);
    });
    ASSERT_TRUE(report);
    EXPECT_EQ(report->pages, 1u);
    EXPECT_EQ(report->curves, 1u);
    EXPECT_EQ(report->skipped, (std::map<std::string, uint32_t>{{"ZZ", 1}}));
    EXPECT_DOUBLE_EQ(report->widthMm, 10);
    EXPECT_DOUBLE_EQ(report->lengthMm, 20);
}

TEST(DataDirectoryIntake, ADrawingTooLargeToPageIsToldAndSetAsideAndNothingOfItStays)
{
    CentreFixture f({"PLTFilePageLen=500", "Language=1"});
    f.WatchDataDir();
    WriteFile(f.DataFile("far.plt"), "IN;PD2147483647,0;");
    WriteFile(f.DataFile("near.plt"), "IN;PD100,100;");
    f.OnOwner([&] {
        f.c->engine.PollDataDir();
        f.c->engine.PollDataDir();
    });
    EXPECT_FALSE(fs::exists(f.DataFile("far.plt"))) << "it would come back at every start";
    EXPECT_TRUE(fs::exists(f.DataFile("unread/far.plt")));
    EXPECT_EQ(f.Names(), std::vector<std::string>{"near.plt"});
    EXPECT_EQ(f.notifier.Texts(), std::vector<std::string>{DrawingTooLargeText("far.plt", 1)});
}

TEST(DataDirectoryIntake, AFileIsTakenAtThePollThatFindsItAsThePreviousOneDid)
{
    CentreFixture f;
    f.WatchDataDir();
    const std::string path = f.DataFile("square.plt");
    WriteFile(path, SquarePlt());
    f.OnOwner([&] { f.c->engine.PollDataDir(); });
    EXPECT_TRUE(fs::exists(path)) << "first seen: it may still be written";
    EXPECT_TRUE(f.Names().empty());

    // Grown since: it waits again.
    WriteFile(path, SquarePlt() + SquarePlt(20));
    f.OnOwner([&] { f.c->engine.PollDataDir(); });
    EXPECT_TRUE(fs::exists(path));
    EXPECT_TRUE(f.Names().empty());

    f.OnOwner([&] { f.c->engine.PollDataDir(); });
    EXPECT_FALSE(fs::exists(path));
    ASSERT_EQ(f.Names(), std::vector<std::string>{"square.plt"});
    EXPECT_EQ(PagesInFile(f.c->settings.LastTaskPath), 1u) << "on disk before the drawing was deleted";
}

TEST(DataDirectoryIntake, AFileWrittenSlowlyByAnotherProcessIsTakenOnceAndWhole)
{
    CentreFixture f;
    gen::MarkerOptions options;
    options.pieces = 24;
    options.pointsPerPiece = 120;
    const std::string bytes = gen::GenerateMarkerPlt(options);
    const auto expected = ReadWhole(bytes, f.c->settings);
    const std::string path = f.DataFile("marker.plt");

    f.Start();
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
    f.Close();

    ASSERT_EQ(f.observer.reads.size(), 1u) << "taken once";
    EXPECT_EQ(f.observer.reads[0].result, HpglLoadResult::Ok);
    EXPECT_EQ(f.c->doc.pages.size(), expected.first);
    EXPECT_EQ(CurveCount(f.c->doc), expected.second) << "taken whole";
}

// A CAD program writing over a network share, a slow stick: the drawing is taken once its writer closed it.
TEST(DataDirectoryIntake, AWriterPausingLongerThanThePollsMidFileHasItsDrawingTakenWhole)
{
    CentreFixture f;
    const std::string bytes = SquarePlt(30) + SquarePlt(20);
    const auto expected = ReadWhole(bytes, f.c->settings);
    const std::string path = f.DataFile("paused.plt");
    f.Start();
    ASSERT_TRUE(Eventually([&] {
        bool watched = false;
        f.OnOwner([&] { watched = !f.observer.watches.empty(); });
        return watched;
    }));
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::size_t half = bytes.size() / 2;
        bool written = fd >= 0 && ::write(fd, bytes.data(), half) == static_cast<ssize_t>(half);
        const timespec pause{1, 600'000'000}; // three polls and more
        ::nanosleep(&pause, nullptr);
        written = written &&
                  ::write(fd, bytes.data() + half, bytes.size() - half) == static_cast<ssize_t>(bytes.size() - half);
        ::_exit(written && ::close(fd) == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(Eventually([&] { return !fs::exists(path); }));
    f.Close();

    ASSERT_EQ(f.observer.reads.size(), 1u) << "taken once";
    EXPECT_EQ(f.c->doc.pages.size(), expected.first);
    EXPECT_EQ(CurveCount(f.c->doc), expected.second) << "taken whole";
}

// Nothing says whether the writers of files that were there before the watch have finished.
TEST(DataDirectoryIntake, AFileFoundAtTheStartWaitsTheQuietTimeAndForItsWritersToClose)
{
    CentreFixture f;
    WriteFile(f.DataFile("quiet.plt"), SquarePlt());
    WriteFile(f.DataFile("open.plt"), SquarePlt(20));
    const int writer = ::open(f.DataFile("open.plt").c_str(), O_WRONLY | O_APPEND);
    const auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration quietTaken{};
    while (std::chrono::steady_clock::now() - start < SettledFiles::kQuietTime + std::chrono::seconds(1)) {
        f.OnOwner([&] { f.c->engine.PollDataDir(); });
        if (quietTaken.count() == 0 && !fs::exists(f.DataFile("quiet.plt")))
            quietTaken = std::chrono::steady_clock::now() - start;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    EXPECT_GE(quietTaken, SettledFiles::kQuietTime);
    EXPECT_LT(quietTaken, SettledFiles::kQuietTime + std::chrono::seconds(1));
    EXPECT_TRUE(fs::exists(f.DataFile("open.plt"))) << "still open for writing";
    EXPECT_EQ(f.Names(), std::vector<std::string>{"quiet.plt"});

    ::close(writer); // the watch sees it closed: taken at once
    f.OnOwner([&] {
        f.c->engine.PollDataDir();
        f.c->engine.PollDataDir();
    });
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"quiet.plt", "open.plt"}));
}

TEST(DataDirectoryIntake, HowTheDirectoryIsWatchedIsToldOnceAndWhenItChanges)
{
    CentreFixture f;
    const std::string dataDir = f.c->settings.DataDir;
    const std::string gone = f.exe.File("gone/");
    f.OnOwner([&] {
        f.c->engine.PollDataDir();
        f.c->engine.PollDataDir();
        f.centre->SetDataDir(gone);
        f.c->engine.PollDataDir();
        f.c->engine.PollDataDir();
        f.centre->SetDataDir(dataDir);
        f.c->engine.PollDataDir();
    });
    ASSERT_EQ(f.observer.watches.size(), 3u);
    EXPECT_EQ(f.observer.watches[0], std::make_pair(dataDir, std::string()));
    EXPECT_EQ(f.observer.watches[1].first, gone);
    EXPECT_NE(f.observer.watches[1].second.find("No such file"), std::string::npos) << "polled, and why";
    EXPECT_EQ(f.observer.watches[2], std::make_pair(dataDir, std::string()));
}

TEST(DataDirectoryIntake, AFileHeldWithAnExclusiveLockStaysUntilItIsReleased)
{
    CentreFixture f;
    f.WatchDataDir();
    const std::string path = f.DataFile("locked.plt");
    WriteFile(path, SquarePlt());
    const int holder = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    f.OnOwner([&] {
        for (int i = 0; i < 4; ++i)
            f.c->engine.PollDataDir();
    });
    EXPECT_TRUE(fs::exists(path));
    EXPECT_TRUE(f.Names().empty());

    ::close(holder);
    f.OnOwner([&] { f.c->engine.PollDataDir(); });
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(f.Names().size(), 1u);
}

TEST(DataDirectoryIntake, AFifoOrADirectoryNeverStallsThePollAndStays)
{
    CentreFixture f;
    f.WatchDataDir();
    ASSERT_EQ(::mkfifo(f.DataFile("pipe.plt").c_str(), 0644), 0);
    fs::create_directory(f.DataFile("folder"));
    WriteFile(f.DataFile("square.plt"), SquarePlt());
    f.OnOwner([&] {
        f.c->engine.PollDataDir();
        f.c->engine.PollDataDir();
    });
    EXPECT_TRUE(fs::exists(f.DataFile("pipe.plt")));
    EXPECT_TRUE(fs::is_directory(f.DataFile("folder")));
    EXPECT_EQ(f.Names(), std::vector<std::string>{"square.plt"});
}

TEST(DataDirectoryIntake, AListThatCannotBeSavedKeepsItsSourceFileUntilASaveSucceeds)
{
    CentreFixture f;
    const std::string last = f.c->settings.LastTaskPath;
    fs::create_directory(last); // the list cannot be written over a directory
    f.WatchDataDir();
    const std::string path = f.DataFile("square.plt");
    WriteFile(path, SquarePlt());
    f.OnOwner([&] {
        for (int i = 0; i < 5; ++i)
            f.c->engine.PollDataDir();
    });
    EXPECT_TRUE(fs::exists(path)) << "its pages exist only in memory";
    EXPECT_EQ(f.Names().size(), 1u) << "read once, not again at every poll";
    EXPECT_EQ(f.notifier.Texts().size(), 1u) << "told once";

    fs::remove(last);
    f.OnOwner([&] { f.c->engine.PollDataDir(); });
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(PagesInFile(last), 1u);
}

// Otherwise a station prints the folder's path and silently never takes a file.
TEST(DataDirectoryIntake, AFolderThatCannotBeReadIsToldOnceUntilItCanBeAgain)
{
    CentreFixture f;
    const std::string dir = f.exe.File("gone/");
    f.OnOwner([&] {
        f.centre->SetDataDir(dir);
        f.c->engine.PollDataDir();
        f.c->engine.PollDataDir();
    });
    const std::string told = FormatMessage(Msg::DataDirUnreadable, 0, {dir});
    EXPECT_EQ(f.notifier.Texts(), std::vector<std::string>{told});
    fs::create_directory(dir);
    f.OnOwner([&] { f.c->engine.PollDataDir(); });
    fs::remove(dir);
    f.OnOwner([&] { f.c->engine.PollDataDir(); });
    EXPECT_EQ(f.notifier.Texts(), (std::vector<std::string>{told, told})) << "told again after it came back";
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
        CentreFixture f({"AutoDelPlt=" + std::to_string(row.autoDelPlt)});
        TempDir elsewhere;
        const std::string path = elsewhere.File("chosen.plt");
        WriteFile(path, row.readable ? SquarePlt() : "IN;PU");
        f.OnOwner([&] { f.c->engine.AddThroughDialog(path); });
        EXPECT_EQ(fs::exists(path), row.kept);
        EXPECT_EQ(f.Names().size(), row.pages);
        EXPECT_EQ(f.notifier.Texts(),
                  row.message ? std::vector<std::string>{"文件打开失败!"} : std::vector<std::string>{});
    }
}

TEST(DialogIntake, CancelRefreshesTheViewsAndChangesNothing)
{
    CentreFixture f;
    f.OnOwner([&] { f.c->engine.AddThroughDialog(std::nullopt); });
    EXPECT_EQ(f.observer.refills, 1);
    EXPECT_EQ(f.observer.shown, std::vector<std::ptrdiff_t>{0});
    EXPECT_TRUE(f.Names().empty());
}

TEST(TestDrawingIntake, EveryCommandEmptiesTheListAndAddsItsDrawingWhichStays)
{
    CentreFixture f;
    for (const TestDrawing& drawing : TestDrawings()) {
        SCOPED_TRACE(drawing.name);
        f.OnOwner([&] { f.c->doc.pages.push_back(MakePage("other.plt", PageState::Manual)); });
        f.OnOwner([&] { f.c->engine.AddTestDrawing(drawing.command); });
        const std::string file = f.c->settings.ExeDir + std::string(drawing.name);
        EXPECT_TRUE(fs::exists(file));
        EXPECT_EQ(f.Names(), std::vector<std::string>{fs::path(file).filename().string()});
        EXPECT_EQ(PagesInFile(f.c->settings.LastTaskPath), 1u);
    }
    EXPECT_TRUE(f.notifier.Texts().empty());
}

TEST(TestDrawingIntake, AMissingDrawingLeavesTheListEmptyWithoutAMessage)
{
    CentreFixture f;
    fs::remove(f.c->settings.ExeDir + "TestPlt/20x20.plt");
    f.OnOwner([&] {
        f.c->doc.pages.push_back(MakePage("other.plt", PageState::Manual));
        f.c->engine.AddTestDrawing(3002);
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
