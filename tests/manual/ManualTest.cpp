// The two parameter manuals as the build sets them: PDF files whose text names every key of the settings file
// and every field of the machine settings, advanced parameters and software settings dialogs, by its label in
// the manual's language.
#include "support/TempDir.h"

#include "app/AtomicFile.h"
#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "view/AdvancedParamsForm.h"
#include "view/MachineParamsForm.h"
#include "view/SoftSettingsForm.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace qv {
namespace {

// The command's standard output, and whether it ended with status 0.
std::pair<std::string, bool> RunCommand(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {out, false};
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    return {out, pclose(pipe) == 0};
}

// Line breaks and spaces fall where the page is full; the words are compared without them.
std::string WithoutSpace(std::string_view text)
{
    std::string out;
    for (const char ch : text) {
        if (ch != ' ' && ch != '\n' && ch != '\t' && ch != '\f' && ch != '\r')
            out += ch;
    }
    return out;
}

// Every key of "setting.ini", as the program writes the file.
std::vector<std::string> SettingsKeys()
{
    test::TempDir dir;
    CSettings settings;
    settings.ExeDir = dir.Path();
    settings.Save(CSetDisp{}, MachineSettings{});
    std::string text;
    EXPECT_TRUE(ReadWholeFile(settings.FilePath(), text));
    std::vector<std::string> keys;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (const auto eq = line.find('='); eq != std::string::npos)
            keys.push_back(line.substr(0, eq));
    }
    return keys;
}

std::vector<std::string> DialogLabels(int32_t language)
{
    std::vector<std::string> labels{kSoftPltUnitLabel.Of(language)};
    for (const RecordField& f : MachineSettingsFields())
        labels.emplace_back(f.label.Of(language));
    for (const ChoiceField& f : MachineSettingsChoices())
        labels.emplace_back(f.label.Of(language));
    for (const RecordField& f : AdvancedParamsFields())
        labels.emplace_back(f.label.Of(language));
    for (const SoftField& f : SoftSettingsFields())
        labels.emplace_back(f.label.Of(language));
    for (const SoftCheck& f : SoftSettingsChecks())
        labels.emplace_back(f.label.Of(language));
    return labels;
}

struct Manual {
    const char* path;
    int32_t language;
};

TEST(ParameterManual, BothArePdfFilesNamingEveryKeyAndEveryDialogField)
{
    const std::vector<std::string> keys = SettingsKeys();
    ASSERT_GT(keys.size(), 25u);
    for (const Manual& manual : {Manual{QV_MANUAL_ZH, 0}, Manual{QV_MANUAL_EN, 1}}) {
        SCOPED_TRACE(manual.path);
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(manual.path, bytes));
        EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
        EXPECT_NE(bytes.rfind("%%EOF"), std::string::npos);
        const auto [info, infoOk] = RunCommand("pdfinfo '" + std::string(manual.path) + "'");
        ASSERT_TRUE(infoOk) << info;
        EXPECT_NE(info.find("Pages:"), std::string::npos);

        const auto [text, textOk] = RunCommand("pdftotext -enc UTF-8 '" + std::string(manual.path) + "' -");
        ASSERT_TRUE(textOk);
        const std::string words = WithoutSpace(text);
        for (const std::string& key : keys)
            EXPECT_NE(words.find(key), std::string::npos) << "key " << key;
        for (const std::string& label : DialogLabels(manual.language))
            EXPECT_NE(words.find(WithoutSpace(label)), std::string::npos) << "field " << label;
    }
}

} // namespace
} // namespace qv
