#include "app/MessageCatalog.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv {
namespace {

// What each placeholder of a text consumes, in order: "%N" for a positional one, the conversion
// letter for a printf-style one (widths may differ between the languages).
std::vector<std::string> Placeholders(const std::string& text)
{
    static const std::regex placeholder(R"(%([1-9]|[0-9]*(?:\.[0-9]+)?([dsf])))");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), placeholder); it != std::sregex_iterator(); ++it) {
        found.push_back((*it)[2].matched ? (*it)[2].str() : "%" + (*it)[1].str());
    }
    return found;
}

TEST(MessageCatalogTest, TableCoversEveryIdInOrderWithMatchingPlaceholders)
{
    const auto all = AllMessages();
    ASSERT_EQ(all.size(), static_cast<std::size_t>(Msg::Count));
    for (std::size_t i = 0; i < all.size(); ++i) {
        const MessageEntry& entry = all[i];
        SCOPED_TRACE("entry " + std::to_string(i));
        EXPECT_EQ(static_cast<std::size_t>(entry.id), i);
        EXPECT_EQ(&MessageEntryOf(entry.id), &entry);
        ASSERT_NE(entry.zh, nullptr);
        ASSERT_NE(entry.en, nullptr);
        EXPECT_NE(std::string(entry.zh), "");
        EXPECT_NE(std::string(entry.en), "");
        // A caller passes one argument list for both languages; the two texts must consume it alike.
        EXPECT_EQ(Placeholders(entry.zh), Placeholders(entry.en));
    }
    EXPECT_THROW(MessageEntryOf(Msg::Count), std::out_of_range);
}

TEST(MessageCatalogTest, LanguageZeroIsChineseAndAnyOtherValueEnglish)
{
    EXPECT_EQ(MessageText(Msg::PageStateDone, 0), "已完成");
    for (int32_t language : {1, 2, -1}) {
        EXPECT_EQ(MessageText(Msg::PageStateDone, language), "Done") << language;
    }
}

TEST(MessageCatalogTest, SingleLanguageTextsAreShownAsTheyAre)
{
    for (Msg id : {Msg::PltOpenFailed, Msg::FontHzOpenFailed, Msg::CloseWhileRunningQuestion}) {
        EXPECT_TRUE(MessageEntryOf(id).IsSingleLanguage());
        EXPECT_EQ(MessageText(id, 1), MessageText(id, 0));
    }
    EXPECT_EQ(MessageText(Msg::PltOpenFailed, 1), "文件打开失败!");
    EXPECT_EQ(MessageText(Msg::CloseWhileRunningQuestion, 1), "机器正在运行,强行关闭可能造成死机!\n是否继续?");
    EXPECT_FALSE(MessageEntryOf(Msg::OpenDocumentFailed).IsSingleLanguage());
}

TEST(MessageCatalogTest, TextsThatOtherCodeDependsOn)
{
    EXPECT_EQ(MessageText(Msg::PageStateManual, 0), "手动开始");
    EXPECT_EQ(MessageText(Msg::PageStateManual, 1), "Manual");
    EXPECT_EQ(MessageText(Msg::PageStateAuto, 0), "自动开始");
    EXPECT_EQ(MessageText(Msg::PageStateAuto, 1), "Auto");
    EXPECT_EQ(MessageText(Msg::PageStatePrinting, 0), "工作中...");
    EXPECT_EQ(MessageText(Msg::PageStatePrinting, 1), "Printing");

    EXPECT_EQ(MessageText(Msg::OpenDocumentFailed, 0), "打开文档失败。");
    EXPECT_EQ(MessageText(Msg::SaveDocumentFailed, 0), "保存文档失败。");
    EXPECT_EQ(MessageText(Msg::ArchiveEndOfFile, 0), "访问 %1 时尝试越过其结尾。");
    EXPECT_EQ(MessageText(Msg::ArchiveBadIndex, 0), "%1 格式错误。");
    EXPECT_EQ(MessageText(Msg::ArchiveUnexpectedObject, 0), "%1 包含意外的对象。");
    EXPECT_EQ(MessageText(Msg::ArchiveBadSchema, 0), "%1 包含错误的架构。");

    EXPECT_EQ(MessageText(Msg::TooManyBands, 1), "Out of memeory");
    EXPECT_EQ(MessageText(Msg::BulkTransferFailed, 1), "Com error");
}

TEST(MessageCatalogTest, PositionalArgumentsTakeFileNamesLiterally)
{
    // A percent sign inside a file name must not be taken for a placeholder.
    EXPECT_EQ(FormatMessage(Msg::ArchiveEndOfFile, 0, {"/tmp/a%1%d.ctask"}),
              "访问 /tmp/a%1%d.ctask 时尝试越过其结尾。");
    EXPECT_EQ(FormatMessage(Msg::ArchiveBadSchema, 1, {std::string("x.ctask")}),
              "x.ctask contains an incorrect schema.");
    EXPECT_EQ(FormatMessage(Msg::EnterIntegerInRange, 0, {0, 3000}), "请输入一个 0 至 3000 之间的整数。");
    EXPECT_EQ(FormatMessage(Msg::EnterNumberInRange, 1, {0.4, 10.0}), "Please enter a number between 0.4 and 10.");
}

TEST(MessageCatalogTest, PrintfStyleConversionsTakeArgumentsInOrder)
{
    EXPECT_EQ(FormatMessage(Msg::StatusWorking, 0, {3, 12}), "工作中...3/12");
    EXPECT_EQ(FormatMessage(Msg::StatusWorking, 1, {3u, uint16_t{65535}}), "Working...3/65535");
    EXPECT_EQ(FormatMessage(Msg::PageName, 1, {"a.plt", 7}), "a.plt---第007页");
    EXPECT_EQ(FormatMessage(Msg::PageName, 0, {"a.plt", 1234}), "a.plt---第1234页");
    EXPECT_EQ(FormatMessage(Msg::PageName, 0, {"a.plt", -5}), "a.plt---第-05页");
    EXPECT_EQ(FormatMessage(Msg::StatusReady, 1, {1506.0, -2.46}), "READY X1506.0mm Y-2.5mm");
    EXPECT_EQ(FormatMessage(Msg::StatusReady, 0, {12, 3.14159}), "准备就绪 X12.0mm Y3.1mm");
    EXPECT_EQ(FormatMessage(Msg::ScreenshotNameMachine, 1, {2025, 2, 3, 9, 5, 7}), "Para2025-02-03 09h05m07s.jpg");
    EXPECT_EQ(FormatMessage(Msg::ScreenshotNameMachine, 0, {2025, 2, 3, 9, 5, 7}),
              "参数2025年02月03日09时05分07秒.jpg");
}

TEST(MessageCatalogTest, MissingArgumentsLeaveTheirPlaceholders)
{
    EXPECT_EQ(FormatMessage(Msg::StatusWorking, 1, {4}), "Working...4/%d");
    EXPECT_EQ(FormatMessage(Msg::EnterIntegerInRange, 1, {}), "Please enter an integer between %1 and %2.");
    EXPECT_EQ(FormatMessage(Msg::WinsockStartError, 1, {}), "Winsock start error!\n");
}

} // namespace
} // namespace qv
