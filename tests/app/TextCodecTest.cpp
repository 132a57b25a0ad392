#include "app/TextCodec.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(TextCodec, GbkRoundTripAndRefusal)
{
    const std::string name = "裤子-前片.plt";
    const auto gbk = Utf8ToGbk(name);
    ASSERT_TRUE(gbk.has_value());
    EXPECT_EQ(gbk->substr(0, 2), "\xBF\xE3"); // 裤
    EXPECT_EQ(GbkToUtf8(*gbk), name);
    EXPECT_EQ(Utf8ToGbk("emoji \xF0\x9F\x98\x80"), std::nullopt);
}

TEST(TextCodec, BrokenGbkNeverLosesWhatFollows)
{
    EXPECT_EQ(GbkToUtf8("a\x81"), "a\xEF\xBF\xBD") << "a lone lead byte at the end";
    EXPECT_EQ(GbkToUtf8("\xFF"
                        "b"),
              "\xEF\xBF\xBD"
              "b");
}

TEST(TextCodec, Utf16RoundTripIncludingSurrogatesAndMalformedInput)
{
    for (const std::string s : {"", "abc", "裤子", "x\xF0\x9F\x98\x80y"})
        EXPECT_EQ(Utf16LeToUtf8(Utf8ToUtf16Le(s)), s);
    EXPECT_EQ(Utf8ToUtf16Le("\xE4"
                            "a"),
              std::string("\xFD\xFF"
                          "a\0",
                          4))
        << "truncated sequence";
    EXPECT_EQ(Utf16LeToUtf8(std::string("\x00\xD8"
                                        "a\0",
                                        4)),
              "\xEF\xBF\xBD"
              "a")
        << "unpaired surrogate";
}

TEST(TextCodec, ValidUtf8ReplacesEveryStrayByte)
{
    EXPECT_EQ(ValidUtf8("caf\xc3\xa9 \xe4\xb8\xad \xf0\x9f\x99\x82"), "caf\xc3\xa9 \xe4\xb8\xad \xf0\x9f\x99\x82");
    const std::string r = "\xef\xbf\xbd";
    EXPECT_EQ(ValidUtf8("caf\xe9.plt"), "caf" + r + ".plt") << "Latin-1";
    EXPECT_EQ(ValidUtf8("\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80"), r + r + r + r + r + r + r + r + r)
        << "overlong, surrogate, past U+10FFFF";
    EXPECT_EQ(ValidUtf8("a\xe4\xb8"), "a" + r + r) << "cut short at the end";
}

} // namespace
} // namespace qv
