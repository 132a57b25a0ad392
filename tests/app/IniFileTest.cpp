#include "app/IniFile.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(IniFile, LeadingIntegerRules)
{
    struct Case {
        const char* name;
        const char* text;
        int32_t expected;
    };
    const Case cases[] = {
        {"plain", "1200", 1200},
        {"negative", "-315", -315},
        {"plus sign", "+7", 7},
        {"trailing text ignored", "12mm", 12},
        {"no digits reads zero", "abc", 0},
        {"empty reads zero", "", 0},
        {"sign alone reads zero", "-", 0},
        {"unsigned address wraps to the signed value", "3657541824", -637425472},
        {"int32 minimum", "-2147483648", INT32_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IniFile::ParseLeadingInt(c.text), c.expected) << c.name;
}

TEST(IniFile, LookupIgnoresCaseAndSpacesAndOtherSections)
{
    const IniFile ini = IniFile::Parse("[Other]\nLanguage=5\n[para]\r\n  language = 1 \r\nDataDir= /tmp/plot/ \n");
    EXPECT_EQ(ini.GetInt("Para", "Language", 0), 1);
    EXPECT_EQ(ini.GetInt("Para", "Missing", 42), 42);
    EXPECT_EQ(ini.GetString("Para", "DataDir"), "/tmp/plot/");
    EXPECT_EQ(ini.GetString("Para", "Nothing"), std::nullopt);
}

TEST(IniFile, SettingKeepsPlacesAndAppendsInsideTheSection)
{
    IniFile ini = IniFile::Parse("; kept comment\n[Para]\nB=2\nA=1\n\n[Tail]\nX=9\n");
    ini.SetInt("Para", "A", 10);
    ini.SetInt("Para", "C", 3);
    ini.SetString("New", "K", "v");
    EXPECT_EQ(ini.Serialize(), "; kept comment\n[Para]\nB=2\nA=10\nC=3\n\n[Tail]\nX=9\n[New]\nK=v\n");
}

TEST(IniFile, EmptyDocumentGetsItsSection)
{
    IniFile ini = IniFile::Parse("");
    ini.SetInt("Para", "DispSizeX", 1200);
    EXPECT_EQ(ini.Serialize(), "[Para]\nDispSizeX=1200\n");
}

} // namespace
} // namespace qv
