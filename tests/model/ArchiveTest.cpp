#include "model/Archive.h"

#include "model/COnePage.h"
#include "support/Bytes.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace qv {
namespace {

using test::Bytes;

ArchiveReader ReaderOf(const std::vector<uint8_t>& bytes)
{
    return ArchiveReader(bytes, kTaskFileClasses);
}

ArchiveError ErrorOf(const std::function<void()>& read)
{
    try {
        read();
    } catch (const ArchiveException& e) {
        return e.error();
    }
    ADD_FAILURE() << "no archive error";
    return ArchiveError::EndOfFile;
}

TEST(Archive, CountBoundaries)
{
    struct Case {
        uint32_t n;
        Bytes expected;
    };
    const Case cases[] = {
        {0, {0x00, 0x00}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {0x12345678, {0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12}},
    };
    for (const Case& c : cases) {
        ArchiveWriter w;
        w.WriteCount(c.n);
        EXPECT_EQ(w.bytes(), c.expected.vec()) << c.n;
        auto r = ReaderOf(w.bytes());
        EXPECT_EQ(r.ReadCount(0), c.n);
        EXPECT_TRUE(r.AtEnd());
    }
}

TEST(Archive, StringLengthBoundaries)
{
    struct Case {
        std::size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        const std::string text(c.length, 'a');
        ArchiveWriter w;
        w.WriteString(text);
        const std::vector<uint8_t> expected = Bytes(c.prefix).Repeat('a', c.length);
        EXPECT_EQ(w.bytes(), expected) << c.length;
        auto r = ReaderOf(w.bytes());
        EXPECT_EQ(r.ReadString(), text);
        EXPECT_TRUE(r.AtEnd());
    }
}

TEST(Archive, StringsAreGbkOnDiskAndUtf16WhenGbkCannotHoldThem)
{
    ArchiveWriter w;
    w.WriteString("裤");
    EXPECT_EQ(w.bytes(), (Bytes{0x02, 0xBF, 0xE3}.vec()));

    ArchiveWriter u;
    u.WriteString("a\xF0\x9F\x98\x80"); // 'a' and an emoji: three UTF-16 units
    EXPECT_EQ(u.bytes(), (Bytes{0xFF, 0xFE, 0xFF, 0x03, 'a', 0x00, 0x3D, 0xD8, 0x00, 0xDE}.vec()));
    EXPECT_EQ(ReaderOf(u.bytes()).ReadString(), "a\xF0\x9F\x98\x80");
}

TEST(Archive, Utf16StringReadsLikeTheSameGbkString)
{
    const Bytes utf16 = Bytes{0xFF, 0xFE, 0xFF, 0x03}.Add({0xE4, 0x88, 0x50, 0x5B, '1', 0x00}); // 裤子1
    const Bytes gbk = Bytes{0x05, 0xBF, 0xE3, 0xD7, 0xD3, '1'};
    EXPECT_EQ(ReaderOf(utf16).ReadString(), ReaderOf(gbk).ReadString());
    EXPECT_EQ(ReaderOf(gbk).ReadString(), "裤子1");
}

TEST(Archive, NewCurveRecord)
{
    ArchiveWriter w;
    w.WriteObjectReference(CCurve::kArchiveClass);
    CCurve().Serialize(w);
    const Bytes expected = Bytes{0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00}
                               .Text("CCurve")
                               .Add({0x04})
                               .Text("QVTG")
                               .I32(1) // kind
                               .I32(0)
                               .I32(0)
                               .I32(0)
                               .I32(0)
                               .I32(0) // line style
                               .Add({0x00, 0x00});
    EXPECT_EQ(w.bytes(), expected.vec());
}

TEST(Archive, NewPageRecord)
{
    ArchiveWriter w;
    COnePage page;
    page.Serialize(w);
    const Bytes expected = Bytes{}.I32(0).I32(0).I32(0).I32(0).I32(0).Add({0x00}).I32(0).Add({0x00, 0x00});
    EXPECT_EQ(w.bytes(), expected.vec());
}

// Two pages; the first holds two curves of two points, the second none. Writes the page list the way the task
// file does.
std::vector<uint8_t> TwoPageFile()
{
    COnePage first;
    first.state = PageState::Done;
    first.maxX = 400;
    first.maxY = 40;
    first.fileName = "a.plt";
    first.pageNumber = 1;
    for (int i = 0; i < 2; ++i) {
        CCurve& c = first.AddCurve();
        c.kind = CurveKind::FullCut;
        c.AddPoint(0, i);
        c.AddPoint(400, 40);
        c.ComputeBounds();
    }
    COnePage second;
    second.pageNumber = 2;

    ArchiveWriter w;
    w.WriteCount(2);
    w.WriteObjectReference(COnePage::kArchiveClass);
    first.Serialize(w);
    w.WriteObjectReference(COnePage::kArchiveClass);
    second.Serialize(w);
    return w.TakeBytes();
}

TEST(Archive, PageListGoldenBytesWithSharedIndexSequence)
{
    const auto curve = [](int32_t y0) {
        return Bytes{0x04}
            .Text("QVTG")
            .I32(3)
            .I32(400)
            .I32(40)
            .I32(0)
            .I32(y0)
            .I32(0)
            .Add({0x02, 0x00})
            .I32(0)
            .I32(y0)
            .I32(400)
            .I32(40);
    };
    const Bytes expected = Bytes{0x02, 0x00}
                               .Add({0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00})
                               .Text("COnePage") // class 1, page 2
                               .I32(2)
                               .I32(400)
                               .I32(0)
                               .I32(40)
                               .I32(0)
                               .Add({0x05})
                               .Text("a.plt")
                               .I32(1)
                               .Add({0x02, 0x00})
                               .Add({0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00})
                               .Text("CCurve") // class 3, curve 4
                               .Append(curve(0))
                               .Add({0x03, 0x80}) // second curve: class 3
                               .Append(curve(1))
                               .Add({0x01, 0x80}) // second page: class 1
                               .I32(0)
                               .I32(0)
                               .I32(0)
                               .I32(0)
                               .I32(0)
                               .Add({0x00})
                               .I32(2)
                               .Add({0x00, 0x00});
    EXPECT_EQ(TwoPageFile(), expected.vec());
}

TEST(Archive, PageListReadsBack)
{
    const auto bytes = TwoPageFile();
    auto r = ReaderOf(bytes);
    ASSERT_EQ(r.ReadCount(2), 2u);
    COnePage first, second;
    r.ReadObjectReference(COnePage::kArchiveClass);
    first.Serialize(r);
    r.ReadObjectReference(COnePage::kArchiveClass);
    second.Serialize(r);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(first.state, PageState::Done);
    EXPECT_EQ(first.fileName, "a.plt");
    ASSERT_EQ(first.CurveCount(), 2u);
    EXPECT_EQ(first.GetCurve(1).points, (std::vector<CPoint>{{0, 1}, {400, 40}}));
    EXPECT_EQ(first.GetCurve(1).kind, CurveKind::FullCut);
    EXPECT_EQ(second.pageNumber, 2);
}

TEST(Archive, ASpilledArchiveIsTheSameBytesInPieces)
{
    COnePage page;
    CCurve& curve = page.AddCurve();
    for (int32_t x = 0; x < 400'000; ++x)
        curve.AddPoint(x, -x);
    const auto write = [&](ArchiveWriter& w) {
        w.WriteCount(3);
        for (int i = 0; i < 3; ++i) {
            w.WriteObjectReference(COnePage::kArchiveClass);
            page.Serialize(w);
        }
    };
    ArchiveWriter whole;
    write(whole);

    std::vector<uint8_t> joined;
    std::size_t pieces = 0;
    ArchiveWriter spilled([&](std::span<const uint8_t> piece) {
        joined.insert(joined.end(), piece.begin(), piece.end());
        return ++pieces != 2;
    });
    write(spilled);
    EXPECT_FALSE(spilled.Finish()) << "the second of three pieces failed";
    EXPECT_EQ(pieces, 2u) << "nothing is handed over after a failure";
    EXPECT_TRUE(std::equal(joined.begin(), joined.end(), whole.bytes().begin()));

    joined.clear();
    ArchiveWriter good([&](std::span<const uint8_t> piece) {
        joined.insert(joined.end(), piece.begin(), piece.end());
        return true;
    });
    write(good);
    EXPECT_TRUE(good.Finish());
    EXPECT_EQ(joined, whole.bytes());
}

TEST(Archive, BigClassIndexForm)
{
    // Enough objects that the curve class index passes 0x7FFF: the empty pages before the first curve push it.
    ArchiveWriter w;
    for (int i = 0; i < 0x8000; ++i)
        w.WriteObjectReference(COnePage::kArchiveClass);
    const std::size_t before = w.bytes().size();
    w.WriteObjectReference(CCurve::kArchiveClass); // class index 0x8002
    w.WriteObjectReference(CCurve::kArchiveClass);
    const std::vector<uint8_t> tail(w.bytes().begin() + static_cast<std::ptrdiff_t>(before) + 12, w.bytes().end());
    EXPECT_EQ(tail, (Bytes{0xFF, 0x7F, 0x02, 0x80, 0x00, 0x80}.vec()));

    auto r = ReaderOf(w.bytes());
    for (int i = 0; i < 0x8000; ++i)
        r.ReadObjectReference(COnePage::kArchiveClass);
    r.ReadObjectReference(CCurve::kArchiveClass);
    r.ReadObjectReference(CCurve::kArchiveClass);
    EXPECT_TRUE(r.AtEnd());
}

TEST(Archive, RefusedReferences)
{
    struct Case {
        const char* name;
        Bytes bytes;
        ArchiveError expected;
    };
    const Case cases[] = {
        {"unknown class", Bytes{0xFF, 0xFF, 0x01, 0x00, 0x05, 0x00}.Text("CPage"), ArchiveError::UnexpectedClass},
        {"curve where a page belongs", Bytes{0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00}.Text("CCurve"),
         ArchiveError::UnexpectedClass},
        {"schema 2", Bytes{0xFF, 0xFF, 0x02, 0x00, 0x08, 0x00}.Text("COnePage"), ArchiveError::BadSchema},
        {"class index never introduced", Bytes{0x01, 0x80}, ArchiveError::BadIndex},
        {"null reference", Bytes{0x00, 0x00}, ArchiveError::BadIndex},
        {"back reference to an object", Bytes{0x02, 0x00}, ArchiveError::BadIndex},
        {"big tag without the class bit", Bytes{0xFF, 0x7F, 0x01, 0x00, 0x00, 0x00}, ArchiveError::BadIndex},
        {"cut inside the class name", Bytes{0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00}.Text("COne"), ArchiveError::EndOfFile},
    };
    for (const Case& c : cases) {
        auto r = ReaderOf(c.bytes);
        EXPECT_EQ(ErrorOf([&] { r.ReadObjectReference(COnePage::kArchiveClass); }), c.expected) << c.name;
    }
}

TEST(Archive, ReferenceToAnObjectIndexIsRefused)
{
    // Index 2 is the first page object, not a class.
    auto bytes = Bytes{0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00}.Text("COnePage").Add({0x02, 0x80}).vec();
    auto r = ReaderOf(bytes);
    r.ReadObjectReference(COnePage::kArchiveClass);
    EXPECT_EQ(ErrorOf([&] { r.ReadObjectReference(COnePage::kArchiveClass); }), ArchiveError::BadIndex);
}

TEST(Archive, HostileLengthsFailBeforeAllocating)
{
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"huge string", Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},
        {"huge UTF-16 string", Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases) {
        auto r = ReaderOf(c.bytes);
        EXPECT_EQ(ErrorOf([&] { r.ReadString(); }), ArchiveError::EndOfFile) << c.name;
    }
    const Bytes hugeCount{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01};
    auto r = ReaderOf(hugeCount);
    EXPECT_EQ(ErrorOf([&] { r.ReadCount(2); }), ArchiveError::EndOfFile) << "huge count";
}

TEST(Archive, EveryTruncationOfAPageListFailsCleanly)
{
    const auto bytes = TwoPageFile();
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        const std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        auto r = ReaderOf(part);
        const ArchiveError e = ErrorOf([&] {
            const uint32_t n = r.ReadCount(2);
            for (uint32_t i = 0; i < n; ++i) {
                COnePage page;
                r.ReadObjectReference(COnePage::kArchiveClass);
                page.Serialize(r);
            }
        });
        EXPECT_EQ(e, ArchiveError::EndOfFile) << "cut at " << cut;
    }
}

TEST(Archive, HugePointCountInACurveFailsCleanly)
{
    const Bytes bytes = Bytes{0x04}
                            .Text("QVTG")
                            .I32(1)
                            .I32(0)
                            .I32(0)
                            .I32(0)
                            .I32(0)
                            .I32(0)
                            .Add({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x1F}) // 0x1FFFFFFF points
                            .I32(1)
                            .I32(2);
    auto r = ReaderOf(bytes);
    CCurve curve;
    curve.AddPoint(5, 5);
    EXPECT_EQ(ErrorOf([&] { curve.Serialize(r); }), ArchiveError::EndOfFile);
}

} // namespace
} // namespace qv
