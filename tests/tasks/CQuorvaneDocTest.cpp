#include "tasks/CQuorvaneDoc.h"

#include "app/AtomicFile.h"
#include "support/Bytes.h"
#include "support/TempDir.h"
#include "support/WriteFile.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <sys/resource.h>

namespace qv {
namespace {

using test::Bytes;
using test::TempDir;
using test::WriteFile;

std::unique_ptr<COnePage> Page(const std::string& name, int32_t number, int32_t state = PageState::Manual)
{
    auto page = std::make_unique<COnePage>();
    page->fileName = name;
    page->pageNumber = number;
    page->state = state;
    CCurve& curve = page->AddCurve();
    curve.AddPoint(number, 0);
    curve.AddPoint(number, 40);
    curve.selected = 1;
    return page;
}

// Names and page numbers of the list, front first, e.g. "a1 b2".
std::string Listing(const CQuorvaneDoc& doc)
{
    std::string text;
    for (const auto& page : doc.pages)
        text += (text.empty() ? "" : " ") + page->fileName + std::to_string(page->pageNumber);
    return text;
}

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    return {bytes.begin(), bytes.end()};
}

class CQuorvaneDocTest : public ::testing::Test {
protected:
    CQuorvaneDocTest()
    {
        doc.pages.push_back(Page("a", 1));
        doc.pages.push_back(Page("b", 2, PageState::Printing));
        doc.pages.push_back(Page("c", 3, PageState::Done));
    }

    TempDir dir;
    CQuorvaneDoc doc;
};

TEST_F(CQuorvaneDocTest, ADrawingPagingWouldMakeTooLargeIsNotImportedAtAll)
{
    ImportOptions options;
    options.PLTFilePageLen = 500;
    auto drawing = Page("d", 1);
    drawing->curves.front()->points = {{0, 0}, {INT32_MAX, 0}}; // 107 375 pages of 500 mm
    doc.pages.push_back(std::move(drawing));
    doc.pages.push_back(Page("e", 2));
    EXPECT_FALSE(doc.TakeImportedDrawing(3, options));
    EXPECT_EQ(Listing(doc), "a1 b2 c3");

    doc.pages.push_back(Page("d", 1));
    doc.pages.front()->curves.front()->points.back().x = 30'000; // an older page longer than one page
    EXPECT_TRUE(doc.TakeImportedDrawing(3, options));
    EXPECT_EQ(Listing(doc), "a1 a2 b2 c3 d1") << "the whole list is paged as before";
}

TEST_F(CQuorvaneDocTest, ADrawingNestedPastTheBoundIsNotImported)
{
    // Squares stacked inside one another, as a drawing of concentric outlines: every pair may decide which
    // is the outer one. 4 100 of them make 8.4 million pairs.
    auto drawing = Page("d", 1);
    drawing->curves.clear();
    for (int32_t i = 0; i < 4100; ++i) {
        const int32_t lo = 100'000 - 10 * i; // apart by more than the joins bridge
        const int32_t hi = 100'400 + 10 * i;
        CCurve& square = drawing->AddCurve();
        square.points = {{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}, {lo, lo}};
    }
    doc.pages.push_back(std::move(drawing));
    ImportOptions options;
    options.FindOutline = 1;
    EXPECT_FALSE(doc.TakeImportedDrawing(3, options));
    EXPECT_EQ(Listing(doc), "a1 b2 c3");
}

TEST_F(CQuorvaneDocTest, ADrawingWiderThanACoordinateSpansIsNotImported)
{
    for (const bool wide : {true, false}) {
        CQuorvaneDoc list;
        auto drawing = Page("d", 1);
        drawing->curves.clear();
        const int32_t left = wide ? std::numeric_limits<int32_t>::min() : 0;
        drawing->AddCurve().points = {{left, 0}, {std::numeric_limits<int32_t>::max(), 10}};
        list.pages.push_back(std::move(drawing));
        EXPECT_EQ(list.TakeImportedDrawing(0, ImportOptions{}), !wide) << "wide " << wide;
        EXPECT_EQ(list.pages.size(), wide ? 0u : 1u) << "its points would collapse at the edge of the coordinates";
    }
}

TEST_F(CQuorvaneDocTest, MarksIgnoreIndicesOutsideTheList)
{
    doc.MarkPage(-1);
    doc.MarkPage(3);
    for (const auto& page : doc.pages)
        EXPECT_EQ(page->marked, 0);
    doc.MarkPage(2);
    EXPECT_EQ(doc.pages[2]->marked, 1);
    doc.ClearMarks();
    EXPECT_EQ(doc.pages[2]->marked, 0);
}

TEST_F(CQuorvaneDocTest, BulkCommandsSpareThePrintingPage)
{
    for (std::ptrdiff_t i = 0; i < 3; ++i)
        doc.MarkPage(i);
    doc.SetStateOfMarked(PageState::Auto);
    EXPECT_EQ(doc.pages[0]->state, PageState::Auto);
    EXPECT_EQ(doc.pages[1]->state, PageState::Printing);
    EXPECT_EQ(doc.pages[2]->state, PageState::Auto);

    doc.pages.push_back(Page("d", 4));
    doc.DeleteMarkedPages();
    EXPECT_EQ(Listing(doc), "b2 d4") << "marked pages go, the printing page and unmarked ones stay in order";
}

TEST_F(CQuorvaneDocTest, ClearCurveSelectionTouchesOnePage)
{
    doc.ClearCurveSelection(1);
    doc.ClearCurveSelection(3);
    doc.ClearCurveSelection(-1);
    EXPECT_EQ(doc.pages[0]->GetCurve(0).selected, 1);
    EXPECT_EQ(doc.pages[1]->GetCurve(0).selected, 0);
    EXPECT_EQ(doc.pages[2]->GetCurve(0).selected, 1);
}

TEST_F(CQuorvaneDocTest, SaveTurnsPrintingIntoManualAndOpenReplacesTheList)
{
    const std::string path = dir.File("list.ctask");
    ASSERT_EQ(doc.Save(path), TaskFileResult::Ok);
    EXPECT_EQ(doc.pages[1]->state, PageState::Manual) << "in memory too";

    CQuorvaneDoc other;
    other.pages.push_back(Page("old", 9));
    ASSERT_EQ(other.Open(path), TaskFileResult::Ok);
    EXPECT_EQ(Listing(other), "a1 b2 c3");
    EXPECT_EQ(other.pages[1]->state, PageState::Manual);
    EXPECT_EQ(other.pages[2]->state, PageState::Done);
    EXPECT_EQ(other.pages[2]->GetCurve(0).points, (std::vector<CPoint>{{3, 0}, {3, 40}}));
}

TEST_F(CQuorvaneDocTest, TaskFileGoldenBytes)
{
    CQuorvaneDoc one;
    auto page = std::make_unique<COnePage>();
    page->fileName = "x.plt";
    page->pageNumber = 1;
    page->state = PageState::Auto;
    page->maxX = 400;
    page->maxY = 40;
    CCurve& curve = page->AddCurve();
    curve.kind = CurveKind::HalfCut;
    curve.AddPoint(0, 0);
    curve.AddPoint(400, 40);
    one.pages.push_back(std::move(page));
    const std::string path = dir.File("one.ctask");
    ASSERT_EQ(one.Save(path), TaskFileResult::Ok);

    const Bytes expected = Bytes{0x01, 0x00}
                               .Add({0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00})
                               .Text("COnePage")
                               .I32(1)
                               .I32(400)
                               .I32(0)
                               .I32(40)
                               .I32(0)
                               .Add({0x05})
                               .Text("x.plt")
                               .I32(1)
                               .Add({0x01, 0x00})
                               .Add({0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00})
                               .Text("CCurve")
                               .Add({0x04})
                               .Text("QVTG")
                               .I32(2)
                               .I32(0)
                               .I32(0)
                               .I32(0)
                               .I32(0)
                               .I32(0)
                               .Add({0x02, 0x00})
                               .I32(0)
                               .I32(0)
                               .I32(400)
                               .I32(40);
    EXPECT_EQ(FileBytes(path), expected.vec());

    CQuorvaneDoc empty;
    ASSERT_EQ(empty.Save(path), TaskFileResult::Ok);
    EXPECT_EQ(FileBytes(path), (Bytes{0x00, 0x00}.vec()));
    ASSERT_EQ(doc.Open(path), TaskFileResult::Ok);
    EXPECT_TRUE(doc.pages.empty()) << "an empty list is a valid file";
}

TEST_F(CQuorvaneDocTest, CountOf0xFFFFPagesTakesTheLongForm)
{
    CQuorvaneDoc big;
    for (int i = 0; i < 0xFFFF; ++i)
        big.pages.push_back(std::make_unique<COnePage>());
    const std::string path = dir.File("big.ctask");
    ASSERT_EQ(big.Save(path), TaskFileResult::Ok);
    const auto bytes = FileBytes(path);
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 6),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}.vec()));
    ASSERT_EQ(doc.Open(path), TaskFileResult::Ok);
    EXPECT_EQ(doc.pages.size(), 0xFFFFu);
}

TEST_F(CQuorvaneDocTest, RefusedFilesKeepTheListAndNameTheirFault)
{
    const auto page = [](int schema, std::string_view cls) {
        return Bytes{0x01, 0x00, 0xFF, 0xFF}
            .U16(static_cast<uint16_t>(schema))
            .U16(static_cast<uint16_t>(cls.size()))
            .Text(cls)
            .I32(0)
            .I32(0)
            .I32(0)
            .I32(0)
            .I32(0)
            .Add({0x00})
            .I32(1)
            .Add({0x00, 0x00});
    };
    const auto cutShort = [](const std::vector<uint8_t>& bytes) {
        return std::vector<uint8_t>(bytes.begin(), bytes.end() - 3);
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        TaskFileResult result;
        const char* zh;
        const char* en;
    };
    const Case cases[] = {
        {"page of another class", page(1, "CPage"), TaskFileResult::UnexpectedObject, "%s 包含意外的对象。",
         "%s contains an unexpected object."},
        {"curve where a page belongs", page(1, "CCurve"), TaskFileResult::UnexpectedObject, "%s 包含意外的对象。",
         "%s contains an unexpected object."},
        {"schema 2", page(2, "COnePage"), TaskFileResult::BadSchema, "%s 包含错误的架构。",
         "%s contains an incorrect schema."},
        {"truncated inside the first page", cutShort(page(1, "COnePage")), TaskFileResult::EndOfFile,
         "访问 %s 时尝试越过其结尾。", "An attempt was made to access %s past its end."},
        {"page class never introduced", Bytes{0x01, 0x00, 0x01, 0x80}.Repeat(0, 40), TaskFileResult::BadIndex,
         "%s 格式错误。", "%s has an invalid format."},
    };
    for (const Case& c : cases) {
        const std::string path = dir.File("bad.ctask");
        WriteFile(path, c.bytes);
        EXPECT_EQ(doc.Open(path), c.result) << c.name;
        EXPECT_EQ(Listing(doc), "a1 b2 c3") << c.name;
        char zh[200], en[200];
        std::snprintf(zh, sizeof zh, c.zh, path.c_str());
        std::snprintf(en, sizeof en, c.en, path.c_str());
        EXPECT_EQ(TaskFileMessage(c.result, path, 0), zh) << c.name;
        EXPECT_EQ(TaskFileMessage(c.result, path, 1), en) << c.name;
    }
}

TEST_F(CQuorvaneDocTest, OpeningAnEmptyOrMissingFile)
{
    const std::string empty = dir.File("empty.ctask");
    WriteFile(empty, "");
    EXPECT_EQ(doc.Open(empty), TaskFileResult::Ok);
    EXPECT_EQ(Listing(doc), "a1 b2 c3") << "a 0-byte file changes nothing";

    EXPECT_EQ(doc.Open(dir.File("missing.ctask")), TaskFileResult::OpenFailed);
    EXPECT_EQ(doc.Open(dir.Path()), TaskFileResult::OpenFailed) << "a directory is no task file";
    EXPECT_EQ(Listing(doc), "a1 b2 c3");
    EXPECT_EQ(TaskFileMessage(TaskFileResult::OpenFailed, "x", 0), "打开文档失败。");
}

// A save that fails half-way, as on a full disk: the file size limit stops the write of the new content.
TEST_F(CQuorvaneDocTest, FailedSaveLeavesThePreviousFile)
{
    const std::string path = dir.File("list.ctask");
    ASSERT_EQ(doc.Save(path), TaskFileResult::Ok);
    const auto before = FileBytes(path);

    for (int i = 0; i < 200; ++i)
        doc.pages.push_back(Page("more", i));
    // Larger than one piece of the archive, so the write fails while the list is still being written.
    CCurve& longCurve = doc.pages.front()->AddCurve();
    for (int32_t x = 0; x < 300'000; ++x)
        longCurve.AddPoint(x, 0);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = before.size() + 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const TaskFileResult result = doc.Save(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, TaskFileResult::SaveFailed);
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary file left";
    EXPECT_EQ(TaskFileMessage(result, path, 1), "Failed to save the document.");

    EXPECT_EQ(doc.Save(dir.File("no/such/dir.ctask")), TaskFileResult::SaveFailed);
}

} // namespace
} // namespace qv
