#include "app/CSettings.h"

#include "app/AtomicFile.h"
#include "app/CSetDisp.h"
#include "app/MachineParams.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace qv {
namespace {

class CSettingsTest : public ::testing::Test {
protected:
    void WriteIni(const std::string& text) { std::ofstream(dir.File("setting.ini")) << text; }
    std::string ReadIni()
    {
        std::string text;
        ReadWholeFile(dir.File("setting.ini"), text);
        return text;
    }
    void Load() { settings.Load(dir.Path(), disp, machine); }

    test::TempDir dir;
    CSettings settings;
    CSetDisp disp;
    MachineSettings machine;
};

TEST_F(CSettingsTest, MissingFileGivesDefaultsAndFirstSaveWritesEveryKeyInOrder)
{
    Load();
    EXPECT_EQ(disp.DispSizeX, 1200);
    EXPECT_EQ(disp.DispSizeY, 900);
    EXPECT_EQ(settings.FitDistHpgl, 28);
    EXPECT_EQ(settings.FCYYYY, -315);
    EXPECT_EQ(settings.DataDir, "");
    EXPECT_EQ(machine.machineIp, (std::array<uint8_t, 4>{192, 168, 1, 218}));
    EXPECT_EQ(settings.NeedPanelConfirm, 0) << "FPNoNeedConfirm defaults to 1";
    EXPECT_EQ(settings.ExeDir, dir.Path());
    EXPECT_EQ(settings.LastTaskPath, dir.Path() + "lastv901.ctask");
    EXPECT_EQ(settings.FontHzPath, dir.Path() + "fon_hz.bin");
    EXPECT_EQ(settings.FontEnPath, dir.Path() + "fon_en.bin");

    settings.Save(disp, machine);
    EXPECT_EQ(ReadIni(),
              "[Para]\nDispSizeX=1200\nDispSizeY=900\nLanguage=0\nSharpAngleCompensite=20\nStartEndCompensite=20\n"
              "FitDistHpgl=28\nAutoDelPlt=0\nAutoStartWork=0\nPlotOnly=0\nAutoDelFinish=1\nFPNoNeedConfirm=1\n"
              "DataDir=\nPltUnit=0\nPLTFilePageLen=0\nHCPenNumber=2\nAutoCleanSP=0\nDisplayStartAndDir=1\n"
              "DisplaySequence=1\nCutEffectOptmize=1\nAutoMoveToLeft=1\nAutoMoveToBottom=1\nMachineIP=-637425472\n"
              "ConnectViaNet=0\nFindOutline=0\nRepeatCut=0\nFCXXXX=33\nFCYYYY=-315\nHCXXXX=60\nHCYYYY=-665\n"
              "HpglDialect=0\n");
}

TEST_F(CSettingsTest, PageLengthBelowFiveHundredMeansNoPaging)
{
    for (const auto& [stored, expected] : {std::pair{"499", 0}, {"500", 500}, {"-3", 0}, {"1500mm", 1500}}) {
        WriteIni(std::string("[Para]\nPLTFilePageLen=") + stored + "\n");
        Load();
        EXPECT_EQ(settings.PLTFilePageLen, expected) << stored;
    }
}

TEST_F(CSettingsTest, PanelConfirmFollowsFirstPageOptionExactlyOne)
{
    for (const auto& [stored, need] : {std::pair{"2", 1}, {"1", 0}, {"0", 1}}) {
        WriteIni(std::string("[Para]\nFPNoNeedConfirm=") + stored + "\n");
        Load();
        EXPECT_EQ(settings.NeedPanelConfirm, need) << stored;
    }
    EXPECT_EQ(settings.FPNoNeedConfirm, 0) << "the stored value itself is kept as it stands";
}

TEST_F(CSettingsTest, MachineAddressBothWays)
{
    WriteIni("[Para]\nMachineIP=-637425472\n");
    Load();
    EXPECT_EQ(machine.machineIp, (std::array<uint8_t, 4>{192, 168, 1, 218}));

    machine.machineIp = {10, 0, 0, 7}; // as a handshake would set it
    settings.Save(disp, machine);
    EXPECT_NE(ReadIni().find("MachineIP=117440522\n"), std::string::npos); // 10 + 7 * 2^24
}

TEST_F(CSettingsTest, RewriteKeepsKeyPlacesSignsAndForeignLines)
{
    WriteIni("[Para]\r\nFCYYYY=-315\r\n; note\r\nLanguage=1\r\nUnknownKey=abc\r\n");
    Load();
    EXPECT_EQ(settings.FCYYYY, -315);
    EXPECT_EQ(settings.Language, 1);
    settings.Save(disp, machine);

    const std::string text = ReadIni();
    EXPECT_EQ(text.rfind("[Para]\nFCYYYY=-315\n; note\nLanguage=1\nUnknownKey=abc\nDispSizeX=1200\n", 0), 0u) << text;
    EXPECT_EQ(text.find("FCYYYY", 20), std::string::npos) << "an existing key is not written twice";
}

TEST_F(CSettingsTest, SaveLeavesNoTemporaryFiles)
{
    Load();
    settings.Save(disp, machine);
    settings.Save(disp, machine);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(CSettingsTest, SaveIntoMissingDirectoryIsSilent)
{
    settings.Load(dir.Path() + "gone/", disp, machine);
    settings.Save(disp, machine);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "gone"));
}

} // namespace
} // namespace qv
