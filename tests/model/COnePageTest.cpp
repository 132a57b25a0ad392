#include "model/COnePage.h"

#include "app/InvalidArgument.h"

#include <ctime>
#include <gtest/gtest.h>

namespace qv {
namespace {

COnePage PageWithCurves(int n)
{
    COnePage page;
    for (int i = 0; i < n; ++i) {
        CCurve& c = page.AddCurve();
        c.AddPoint(i, 0);
        c.AddPoint(i, 10);
    }
    return page;
}

TEST(COnePage, ConstructionValues)
{
    const int64_t before = std::time(nullptr);
    const COnePage page;
    EXPECT_EQ(page.state, PageState::Manual);
    EXPECT_EQ(page.pageNumber, 0);
    EXPECT_EQ(page.CurveCount(), 0u);
    EXPECT_GE(page.fileTime, before);
}

TEST(COnePage, CopyFromMakesDistinctCurvesAndSkipsListState)
{
    COnePage source = PageWithCurves(3);
    source.fileName = "x.plt";
    source.maxX = 10;
    source.optimized = 1;
    source.pageNumber = 4;
    source.state = PageState::Done;
    source.marked = 1;
    source.plotMaxX = 77;

    COnePage copy;
    copy.CopyFrom(source);
    ASSERT_EQ(copy.CurveCount(), 3u);
    EXPECT_NE(&copy.GetCurve(0), &source.GetCurve(0));
    EXPECT_EQ(copy.GetCurve(2).points, source.GetCurve(2).points);
    EXPECT_EQ(copy.fileName, "x.plt");
    EXPECT_EQ(copy.maxX, 10);
    EXPECT_EQ(copy.optimized, 1);
    EXPECT_EQ(copy.pageNumber, 0);
    EXPECT_EQ(copy.state, PageState::Manual);
    EXPECT_EQ(copy.marked, 0);
    EXPECT_EQ(copy.plotMaxX, 0);

    copy.GetCurve(0).points[0].x = 500;
    EXPECT_EQ(source.GetCurve(0).points[0].x, 0);
}

TEST(COnePage, CurveContainerAndIndexErrors)
{
    COnePage page = PageWithCurves(2);
    auto extra = std::make_unique<CCurve>();
    CCurve* raw = extra.get();
    page.InsertCurve(1, std::move(extra));
    EXPECT_EQ(&page.GetCurve(1), raw);
    EXPECT_THROW(page.InsertCurve(4, std::make_unique<CCurve>()), InvalidArgument);
    EXPECT_THROW(page.GetCurve(3), InvalidArgument);
    EXPECT_THROW(page.TakeCurve(3), InvalidArgument);

    std::unique_ptr<CCurve> taken = page.TakeCurve(1);
    EXPECT_EQ(taken.get(), raw) << "a curve taken out survives the page";
    page.DeleteCurve(0);
    EXPECT_EQ(page.CurveCount(), 1u);
    EXPECT_EQ(page.GetCurve(0).points[0].x, 1);
}

TEST(COnePage, PrintingIsStoredAsManualAndBecomesManual)
{
    for (const int32_t state : {int32_t{PageState::Printing}, 7, -1}) {
        COnePage page;
        page.state = state;
        ArchiveWriter w;
        page.Serialize(w);
        EXPECT_EQ(page.state, PageState::Manual) << state;
        EXPECT_EQ(w.bytes()[0], 0) << state;
    }
}

TEST(COnePage, RecordRoundTripKeepsDoneAndTakesReadingTime)
{
    COnePage page = PageWithCurves(2);
    page.state = PageState::Done;
    page.fileName = "裤子.plt";
    page.pageNumber = 3;
    page.fileTime = 1000;
    page.optimized = 1;
    ArchiveWriter w;
    page.Serialize(w);

    ArchiveReader r(w.bytes(), kTaskFileClasses);
    COnePage back;
    back.Serialize(r);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(back.state, PageState::Done);
    EXPECT_EQ(back.fileName, "裤子.plt");
    EXPECT_EQ(back.pageNumber, 3);
    EXPECT_EQ(back.CurveCount(), 2u);
    EXPECT_GT(back.fileTime, 1000);
    EXPECT_EQ(back.optimized, 0);
}

TEST(COnePage, StoredPrintingReadsAsManual)
{
    ArchiveWriter w;
    w.WriteInt32(PageState::Printing);
    for (int i = 0; i < 4; ++i)
        w.WriteInt32(0);
    w.WriteString("");
    w.WriteInt32(1);
    w.WriteCount(0);
    ArchiveReader r(w.bytes(), kTaskFileClasses);
    COnePage page;
    page.Serialize(r);
    EXPECT_EQ(page.state, PageState::Manual);
}

TEST(COnePage, FailedReadLeavesCurvesUntouched)
{
    COnePage source = PageWithCurves(2);
    ArchiveWriter w;
    source.Serialize(w);
    std::vector<uint8_t> bytes = w.TakeBytes();
    bytes.pop_back();

    COnePage page = PageWithCurves(1);
    ArchiveReader r(bytes, kTaskFileClasses);
    EXPECT_THROW(page.Serialize(r), ArchiveException);
    EXPECT_EQ(page.CurveCount(), 1u);
}

} // namespace
} // namespace qv
