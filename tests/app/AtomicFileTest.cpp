#include "app/AtomicFile.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace qv {
namespace {

TEST(WriteFileAtomically, ReplacesAFileAndLeavesAPipeOrDirectoryAlone)
{
    test::TempDir dir;
    const std::string file = dir.File("list.ctask");
    ASSERT_TRUE(WriteFileAtomically(file, std::string("old")));
    ASSERT_TRUE(WriteFileAtomically(file, std::string("new")));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(file, bytes));
    EXPECT_EQ(bytes, "new");

    const std::string pipe = dir.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(WriteFileAtomically(pipe, std::string("x")));
    struct stat st {};
    ASSERT_EQ(::lstat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the pipe is still a pipe";

    EXPECT_FALSE(WriteFileAtomically(dir.Path() + ".", std::string("x")));
}

TEST(WriteFileAtomically, LeavesOnlyTheTargetWithTheModeOfANewFile)
{
    test::TempDir dir;
    const std::string file = dir.File("setting.ini");
    const mode_t previous = ::umask(027);
    const bool written =
        WriteFileAtomically(file, std::string("[Set]\n")) && WriteFileAtomically(file, std::string("x"));
    ::umask(previous);
    ASSERT_TRUE(written);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1u) << "no temporary file is left beside it";
}

} // namespace
} // namespace qv
