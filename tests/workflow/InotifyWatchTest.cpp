// The data directory's watch against the real kernel.
#include "support/TempDir.h"

#include "workflow/InotifyWatch.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace qv::test {
namespace {

namespace fs = std::filesystem;
using Kind = DirectoryEvent::Kind;

std::vector<std::pair<std::string, Kind>> Seen(const DirectoryEvents& events)
{
    std::vector<std::pair<std::string, Kind>> seen;
    for (const DirectoryEvent& event : events.events)
        seen.emplace_back(event.name, event.kind);
    return seen;
}

TEST(InotifyWatch, ClosesAfterWritingAndRenamesInFinishAFileEverythingElseChangesIt)
{
    TempDir dir;
    TempDir beside;
    InotifyWatch watch;
    const DirectoryEvents first = watch.Collect(dir.Path());
    ASSERT_TRUE(first.watching) << first.failure;
    EXPECT_TRUE(first.fresh) << "what was there before is unknown";

    std::ofstream(dir.File("a.plt")) << "IN;";
    std::ofstream(beside.File("b.plt")) << "IN;";
    fs::rename(beside.File("b.plt"), dir.File("b.plt"));
    const int reader = ::open(dir.File("b.plt").c_str(), O_RDONLY);
    ::close(reader);
    fs::create_directory(dir.File("folder"));
    fs::rename(dir.File("a.plt"), dir.File("c.plt"));
    fs::remove(dir.File("b.plt"));
    const DirectoryEvents next = watch.Collect(dir.Path());
    EXPECT_TRUE(next.watching);
    EXPECT_FALSE(next.fresh);
    EXPECT_EQ(Seen(next), (std::vector<std::pair<std::string, Kind>>{{"a.plt", Kind::Changed},
                                                                     {"a.plt", Kind::Changed},
                                                                     {"a.plt", Kind::Finished},
                                                                     {"b.plt", Kind::Finished},
                                                                     {"a.plt", Kind::Changed},
                                                                     {"c.plt", Kind::Finished},
                                                                     {"b.plt", Kind::Changed}}))
        << "created, written, closed; renamed in; a read and a folder say nothing";
    EXPECT_TRUE(watch.Collect(dir.Path()).events.empty());
}

TEST(InotifyWatch, ANewOrReplacedOrMissingDirectoryStartsAfresh)
{
    TempDir root;
    const std::string dir = root.File("plot/");
    InotifyWatch watch;
    const DirectoryEvents missing = watch.Collect(dir);
    EXPECT_FALSE(missing.watching);
    EXPECT_NE(missing.failure.find("inotify_add_watch"), std::string::npos) << missing.failure;

    fs::create_directory(dir);
    EXPECT_TRUE(watch.Collect(dir).fresh);
    EXPECT_FALSE(watch.Collect(dir).fresh);

    fs::rename(dir, root.File("old"));
    fs::create_directory(dir);
    std::ofstream(dir + "a.plt") << "IN;";
    const DirectoryEvents replaced = watch.Collect(dir);
    EXPECT_TRUE(replaced.watching);
    EXPECT_TRUE(replaced.fresh);
    EXPECT_TRUE(Seen(replaced).empty()) << "the old directory's events are not this one's";

    std::ofstream(root.File("old/b.plt")) << "IN;";
    EXPECT_TRUE(watch.Collect(root.File("old")).fresh) << "another directory";
    EXPECT_EQ(Seen(watch.Collect(root.File("old"))).size(), 0u);
}

TEST(InotifyWatch, AnOverflowedQueueSaysThatEventsWereLost)
{
    TempDir dir;
    InotifyWatch watch;
    ASSERT_TRUE(watch.Collect(dir.Path()).watching);
    long limit = 16384;
    std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> limit;
    // Two files written in turn: consecutive equal events would be merged into one.
    const int a = ::open(dir.File("a.plt").c_str(), O_WRONLY | O_CREAT, 0644);
    const int b = ::open(dir.File("b.plt").c_str(), O_WRONLY | O_CREAT, 0644);
    for (long i = 0; i <= limit / 2 + 1; ++i) {
        ASSERT_EQ(::write(a, "x", 1), 1);
        ASSERT_EQ(::write(b, "x", 1), 1);
    }
    ::close(a);
    ::close(b);
    const DirectoryEvents lost = watch.Collect(dir.Path());
    EXPECT_TRUE(lost.watching);
    EXPECT_TRUE(lost.fresh);
    EXPECT_LT(lost.events.size(), 10u) << "only what came after the overflow";
    std::ofstream(dir.File("c.plt")) << "IN;";
    const DirectoryEvents after = watch.Collect(dir.Path());
    EXPECT_FALSE(after.fresh);
    EXPECT_EQ(after.events.back().name, "c.plt");
}

} // namespace
} // namespace qv::test
