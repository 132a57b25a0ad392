#include "view/DialogScreenshot.h"

#include "app/AtomicFile.h"
#include "support/Bytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qv {
namespace {

TEST(DialogScreenshot, FileNamesByDialogAndLanguage)
{
    const LocalTime time{2025, 2, 3, 9, 5, 7};
    EXPECT_EQ(ScreenshotPath("/home/op/Desktop", ScreenshotDialog::MachineSettings, time, 1),
              "/home/op/Desktop/Para2025-02-03 09h05m07s.jpg");
    EXPECT_EQ(ScreenshotPath("/home/op/Desktop/", ScreenshotDialog::MachineSettings, time, 0),
              "/home/op/Desktop/参数2025年02月03日09时05分07秒.jpg");
    EXPECT_EQ(ScreenshotPath("/d", ScreenshotDialog::AdvancedParams, time, 1),
              "/d/Advanced Para2025-02-03 09h05m07s.jpg");
    EXPECT_EQ(ScreenshotPath("/d", ScreenshotDialog::AdvancedParams, time, 0),
              "/d/高级参数2025年02月03日09时05分07秒.jpg");
}

TEST(DialogScreenshot, SixteenBitBitmapBottomUp)
{
    // 3 x 2 pixels: rows of 6 bytes padded to 8. Top row red, green, blue; bottom row white, black, grey.
    const ScreenPixels image{3, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF808080}};
    const auto expected = test::Bytes()
                              .Text("BM")
                              .I32(54 + 16)
                              .I32(0)
                              .I32(54)
                              .I32(40)
                              .I32(3)
                              .I32(2)
                              .U16(1)
                              .U16(16)
                              .I32(0)
                              .I32(16)
                              .I32(0)
                              .I32(0)
                              .I32(0)
                              .I32(0)
                              .U16(0x7FFF) // bottom row first
                              .U16(0x0000)
                              .U16(0x4210)
                              .U16(0)
                              .U16(0x7C00)
                              .U16(0x03E0)
                              .U16(0x001F)
                              .U16(0);
    EXPECT_EQ(ScreenshotBitmap(image), expected.vec());
    EXPECT_TRUE(ScreenshotBitmap({2, 2, {1, 2, 3}}).empty()) << "fewer pixels than the size says";
    EXPECT_TRUE(ScreenshotBitmap({-1, 0, {}}).empty());
}

TEST(DialogScreenshot, SavedOrTheCreateError)
{
    test::TempDir dir;
    const ScreenPixels image{1, 1, {0xFF00FF00}};
    const std::string path = ScreenshotPath(dir.Path(), ScreenshotDialog::MachineSettings, {2025, 2, 3, 9, 5, 7}, 1);
    EXPECT_EQ(SaveScreenshot(path, image, 1),
              (DialogMessage{"Capture save to " + path, "Note", MsgButtons::Ok, MsgIcon::Information}));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes.size(), 54u + 4u);
    EXPECT_EQ(SaveScreenshot(path, image, 0).text, "截图成功保存到" + path);

    std::filesystem::create_directory(dir.File("taken.jpg"));
    const DialogMessage failed = SaveScreenshot(dir.File("taken.jpg"), image, 0);
    EXPECT_EQ(failed.text, "Create File Error!");
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("taken.jpg")));
    EXPECT_EQ(SaveScreenshot(dir.File("no/such/dir.jpg"), image, 1).text, "Create File Error!");
}

} // namespace
} // namespace qv
