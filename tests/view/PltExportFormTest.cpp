#include "view/PltExportForm.h"

#include <gtest/gtest.h>

#include <variant>

namespace qv {
namespace {

TEST(PltExportForm, PercentagesBecomePerMille)
{
    struct Row {
        const char* x;
        const char* y;
        PltExportScale scale;
    };
    const Row rows[] = {
        {"100", "100", {1000, 1000}},
        {"50", "200", {500, 2000}},
        {"12.34", "-0.05", {123, 0}}, // truncated toward zero
        {"0", "-75.59", {0, -755}},   // no range: zero and negative scales are taken
        {"214748364.7", "-214748364.8", {2147483647, -2147483647 - 1}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(std::get<PltExportScale>(CheckPltExportForm(row.x, row.y, 0)), row.scale) << row.x << " " << row.y;

    EXPECT_EQ(std::get<FieldRefusal>(CheckPltExportForm("100", "abc", 0)),
              (FieldRefusal{kPltExportScaleY, "请输入一个数字。"}));
    EXPECT_EQ(std::get<FieldRefusal>(CheckPltExportForm("", "abc", 1)),
              (FieldRefusal{kPltExportScaleX, "Please enter a number."}));
    EXPECT_EQ(std::get<FieldRefusal>(CheckPltExportForm("1e9", "100", 0)),
              (FieldRefusal{kPltExportScaleX, "请输入一个 -214748364.8 至 214748364.7 之间的数字。"}))
        << "a per mille beyond 32 bits";
}

TEST(PltExportForm, FileNameGetsItsExtension)
{
    struct Row {
        const char* chosen;
        const char* written;
    };
    const Row rows[] = {
        {"out", "out.plt"},
        {"o", "o.plt"},
        {"out.PLT", "out.PLT"},
        {"a.plt", "a.plt"},
        {".plt", ".plt.plt"},
        {"out.plx", "out.plx.plt"},
        {"dir.plt/x", "dir.plt/x.plt"},
        {"/tmp/Out.pLt", "/tmp/Out.pLt"},
        {"", ".plt"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(PltExportFileName(row.chosen), row.written) << row.chosen;
}

} // namespace
} // namespace qv
