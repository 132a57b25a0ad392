#include "view/FieldCheck.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qv {
namespace {

constexpr FieldBounds kPage{0, 3000};
constexpr FieldBounds kMm{0.4, 10};

TEST(FieldCheck, TextsAsTheFrameworkReadsThem)
{
    struct Row {
        const char* name;
        const char* text;
        FieldKind kind;
        std::optional<FieldBounds> bounds;
        std::optional<double> value;
        const char* message; // Chinese, when refused
    };
    using K = FieldKind;
    const Row rows[] = {
        {"integer", "42", K::Integer, std::nullopt, 42, ""},
        {"blanks around", " \t-315 ", K::Integer, std::nullopt, -315, ""},
        {"plus sign", "+7", K::Unsigned, std::nullopt, 7, ""},
        {"empty", "", K::Integer, std::nullopt, std::nullopt, "请输入一个整数。"},
        {"fraction in an integer", "5.0", K::Integer, std::nullopt, std::nullopt, "请输入一个整数。"},
        {"two signs", "+-5", K::Integer, std::nullopt, std::nullopt, "请输入一个整数。"},
        {"minus in an unsigned field", "-1", K::Unsigned, kPage, std::nullopt, "请输入一个正整数。"},
        {"letters in an unsigned field", "12a", K::Unsigned, kPage, std::nullopt, "请输入一个正整数。"},
        {"upper bound included", "3000", K::Unsigned, kPage, 3000, ""},
        {"above the range", "3001", K::Unsigned, kPage, std::nullopt, "请输入一个 0 至 3000 之间的整数。"},
        {"beyond 64 bits is out of range", "99999999999999999999", K::Unsigned, kPage, std::nullopt,
         "请输入一个 0 至 3000 之间的整数。"},
        {"an unbounded integer field holds 32 bits", "2147483648", K::Integer, std::nullopt, std::nullopt,
         "请输入一个 -2147483648 至 2147483647 之间的整数。"},
        {"decimal", "0.57", K::Decimal, kMm, 0.57, ""},
        {"decimal without leading digit", ".5", K::Decimal, kMm, 0.5, ""},
        {"decimal with exponent", "1e1", K::Decimal, kMm, 10, ""},
        {"decimal below the range", "0.39", K::Decimal, kMm, std::nullopt, "请输入一个 0.4 至 10 之间的数字。"},
        {"infinity is no number", "inf", K::Decimal, kMm, std::nullopt, "请输入一个数字。"},
        {"nan is no number", "nan", K::Decimal, std::nullopt, std::nullopt, "请输入一个数字。"},
        {"comma is no decimal point", "0,5", K::Decimal, kMm, std::nullopt, "请输入一个数字。"},
        {"decimal beyond double", "1e400", K::Decimal, kMm, std::nullopt, "请输入一个 0.4 至 10 之间的数字。"},
    };
    for (const Row& row : rows) {
        FieldReader reader(0);
        EXPECT_EQ(reader.Read(7, row.text, row.kind, row.bounds), row.value) << row.name;
        if (row.value) {
            EXPECT_FALSE(reader.Refusal()) << row.name;
        } else {
            ASSERT_TRUE(reader.Refusal()) << row.name;
            EXPECT_EQ(*reader.Refusal(), (FieldRefusal{7, row.message})) << row.name;
        }
    }
}

TEST(FieldCheck, TheFirstRefusalStopsTheReadAndSpeaksTheLanguage)
{
    FieldReader reader(1);
    EXPECT_EQ(reader.Read(1, "5", FieldKind::Integer), 5);
    EXPECT_EQ(reader.Read(2, "0.1", FieldKind::Decimal, kMm), std::nullopt);
    EXPECT_EQ(reader.Read(3, "6", FieldKind::Integer), std::nullopt) << "nothing is read after a refusal";
    EXPECT_EQ(*reader.Refusal(), (FieldRefusal{2, "Please enter a number between 0.4 and 10."}));
}

TEST(FieldCheck, DecimalsShowFifteenSignificantDigits)
{
    EXPECT_EQ(DecimalFieldText(20 / 40.0), "0.5");
    EXPECT_EQ(DecimalFieldText(22 / 40.0), "0.55");
    EXPECT_EQ(DecimalFieldText(104.25), "104.25");
    EXPECT_EQ(DecimalFieldText(100000), "100000");
    EXPECT_EQ(DecimalFieldText(0.1 + 0.2), "0.3");
    EXPECT_EQ(DecimalFieldText(1.0 / 3), "0.333333333333333");
}

} // namespace
} // namespace qv
