// Finding the processes of this user that still write a file.
#include "support/TempDir.h"

#include "workflow/OpenWriters.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qv::test {
namespace {

FileIdentity Identity(const std::string& path)
{
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return IdentityOf(st);
}

bool Held(const std::string& path)
{
    const FileIdentity file = Identity(path);
    return HeldOpenForWriting(std::span(&file, 1)).contains({file.device, file.inode});
}

TEST(OpenWriters, AFileOpenForWritingOrUpdateIsHeldOneOpenForReadingIsNot)
{
    TempDir dir;
    const std::string path = dir.File("a.plt");
    std::ofstream(path) << "IN;";
    EXPECT_FALSE(Held(path));
    for (const int mode : {O_WRONLY, O_RDWR, O_WRONLY | O_APPEND}) {
        const int fd = ::open(path.c_str(), mode);
        EXPECT_TRUE(Held(path)) << mode;
        ::close(fd);
    }
    const int reader = ::open(path.c_str(), O_RDONLY);
    EXPECT_FALSE(Held(path));
    ::close(reader);
    EXPECT_TRUE(HeldOpenForWriting({}).empty());
}

TEST(OpenWriters, AnotherProcessWritingIsFoundUntilItCloses)
{
    TempDir dir;
    const std::string path = dir.File("a.plt");
    const std::string other = dir.File("b.plt");
    std::ofstream(path) << "IN;";
    std::ofstream(other) << "IN;";
    int go[2];
    int opened[2];
    ASSERT_EQ(::pipe(go), 0);
    ASSERT_EQ(::pipe(opened), 0);
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        const int fd = ::open(path.c_str(), O_WRONLY);
        char byte = 'x';
        const bool told = ::write(opened[1], &byte, 1) == 1 && ::read(go[0], &byte, 1) == 1;
        ::_exit(fd >= 0 && told && ::close(fd) == 0 ? 0 : 1);
    }
    char byte = 0;
    ASSERT_EQ(::read(opened[0], &byte, 1), 1);
    const FileIdentity files[] = {Identity(path), Identity(other)};
    EXPECT_EQ(HeldOpenForWriting(files), (std::set<FileKey>{{files[0].device, files[0].inode}}));
    ASSERT_EQ(::write(go[1], &byte, 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(Held(path));
    for (const int fd : {go[0], go[1], opened[0], opened[1]})
        ::close(fd);
}

} // namespace
} // namespace qv::test
