#include "app/DataPlace.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <set>

namespace qv {
namespace {

// A file system where only the directories listed may be written to, and where directories can be made
// unless that is refused.
struct FakeDirs {
    std::set<std::string> writable;
    bool canMake = true;
    std::vector<std::string> made;

    DataPlaceInputs Inputs(std::string exeDir, std::optional<std::string> xdg, std::optional<std::string> home)
    {
        return {std::move(exeDir), std::move(xdg), std::move(home),
                [this](const std::string& d) { return writable.count(d) > 0; },
                [this](const std::string& d) {
                    made.push_back(d);
                    if (canMake)
                        writable.insert(d);
                    return canMake;
                }};
    }
};

TEST(DataPlace, AWritableProgramDirectoryKeepsTheFilesBesideTheProgram)
{
    FakeDirs fs;
    fs.writable.insert("/opt/quorvane/");
    const DataPlace place = ChooseDataPlace(fs.Inputs("/opt/quorvane/", "/home/op/.data", "/home/op"));
    EXPECT_EQ(place.dir, "/opt/quorvane/");
    EXPECT_TRUE(place.besideProgram);
    EXPECT_TRUE(fs.made.empty());
}

TEST(DataPlace, AReadOnlyProgramDirectoryMovesTheFilesToTheUsersDataDirectory)
{
    FakeDirs fs;
    DataPlace place = ChooseDataPlace(fs.Inputs("/usr/lib/quorvane/", "/home/op/.data", "/home/op"));
    EXPECT_EQ(place.dir, "/home/op/.data/quorvane/");
    EXPECT_FALSE(place.besideProgram);
    EXPECT_EQ(fs.made, std::vector<std::string>{"/home/op/.data/quorvane/"});

    // Without XDG_DATA_HOME, or with one that is empty or relative: the default below HOME.
    for (const std::optional<std::string>& xdg :
         {std::optional<std::string>{}, std::optional<std::string>{""}, std::optional<std::string>{"data"}}) {
        place = ChooseDataPlace(fs.Inputs("/usr/lib/quorvane/", xdg, "/home/op/"));
        EXPECT_EQ(place.dir, "/home/op/.local/share/quorvane/");
        EXPECT_TRUE(place.error.empty());
    }
}

TEST(DataPlace, NoUsablePlaceIsAnErrorNamingTheProgramsDirectory)
{
    FakeDirs fs;
    DataPlace place = ChooseDataPlace(fs.Inputs("/usr/lib/quorvane/", std::nullopt, std::nullopt));
    EXPECT_TRUE(place.dir.empty());
    EXPECT_NE(place.error.find("/usr/lib/quorvane/"), std::string::npos);

    fs.canMake = false;
    place = ChooseDataPlace(fs.Inputs("/usr/lib/quorvane/", std::nullopt, "/home/op"));
    EXPECT_TRUE(place.dir.empty());
    EXPECT_NE(place.error.find("/home/op/.local/share/quorvane/"), std::string::npos);
}

TEST(DataPlace, TheRunningProgramsRuleFindsAWritableDirectory)
{
    test::TempDir dir;
    const DataPlace place = ChooseDataPlace(dir.Path());
    EXPECT_EQ(place.dir, dir.Path());
    EXPECT_TRUE(place.besideProgram);
}

} // namespace
} // namespace qv
