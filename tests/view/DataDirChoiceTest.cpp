#include "view/DataDirChoice.h"

#include "app/Notifier.h"
#include "support/TempDir.h"
#include "support/WriteFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qv {
namespace {

using Outcome = DataDirChoice::Outcome;

TEST(DataDirChoice, WhichFoldersAreTaken)
{
    test::TempDir root;
    const std::string exe = root.Path() + "exe/";
    std::filesystem::create_directories(root.File("exe"));
    std::filesystem::create_directories(root.File("empty"));
    std::filesystem::create_directories(root.File("folders/a/b"));
    test::WriteFile(root.File("folders/a/b/deep.plt"), std::string_view("PU0,0;"));
    std::filesystem::create_directories(root.File("files"));
    test::WriteFile(root.File("files/x.plt"), std::string_view("PU0,0;"));

    struct Row {
        const char* name;
        std::string folder;
        DataDirChoice choice;
    };
    const Row rows[] = {
        {"the executable's own folder", root.File("exe"), {Outcome::Refuse, {}}},
        {"the root", "/", {Outcome::Refuse, {}}},
        {"no file-system path", "", {Outcome::Refuse, {}}},
        {"an empty folder", root.File("empty"), {Outcome::Accept, root.Path() + "empty/"}},
        {"one trailing slash only", root.File("empty") + "//", {Outcome::Accept, root.Path() + "empty/"}},
        {"subfolders do not count", root.File("folders"), {Outcome::Accept, root.Path() + "folders/"}},
        {"a folder with files", root.File("files"), {Outcome::Ask, root.Path() + "files/"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ChooseDataDir(row.folder, exe), row.choice) << row.name;
}

TEST(DataDirChoice, TheDirectoryInForceAfterwards)
{
    const std::string previous = "/old/";
    RecordingNotifier notifier;
    EXPECT_EQ(SettleDataDirChoice({Outcome::Accept, "/new/"}, previous, notifier), "/new/");
    EXPECT_TRUE(notifier.Messages().empty());

    EXPECT_EQ(SettleDataDirChoice({Outcome::Refuse, {}}, previous, notifier), previous);
    EXPECT_EQ(notifier.Texts(), (std::vector<std::string>{"非法的临时文件目录"}));

    for (const MsgAnswer answer : {MsgAnswer::Ok, MsgAnswer::Cancel}) {
        notifier.Clear();
        notifier.QueueAnswer(answer);
        const std::string now = SettleDataDirChoice({Outcome::Ask, "/full/"}, previous, notifier);
        EXPECT_EQ(now, answer == MsgAnswer::Ok ? "/full/" : previous);
        ASSERT_EQ(notifier.Messages().size(), 1u);
        const auto shown = notifier.Messages().front();
        EXPECT_EQ(shown.text, "当前设置的目录非空，\n如果设置成自动绘图目录，\n当前目录下的文件将被删除。\n是否继续？");
        EXPECT_EQ(shown.caption, "警告！！！");
        EXPECT_EQ(shown.buttons, MsgButtons::OkCancel);
        EXPECT_EQ(shown.icon, MsgIcon::Warning);
    }
}

} // namespace
} // namespace qv
