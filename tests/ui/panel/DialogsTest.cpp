#include "PanelFixture.h"

#include "link/CommandCodes.h"
#include "ui/dialogs/CDlgAdvPara.h"
#include "ui/dialogs/CDlgMacPara.h"
#include "ui/dialogs/CDlgPltExport.h"
#include "ui/dialogs/CDlgSoftSet.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <filesystem>

namespace qv::test {
namespace {

QLineEdit* Field(const QWidget& dialog, int control)
{
    return Find<QLineEdit>(dialog, QStringLiteral("field%1").arg(control));
}

void Press(const QWidget& dialog, int button)
{
    QTest::mouseClick(Find<QPushButton>(dialog, QStringLiteral("button%1").arg(button)), Qt::LeftButton);
}

void ShowActive(QWidget& dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

TEST(MachineSettingsDialog, ARefusedFieldKeepsTheFocusAndStoresNothing)
{
    ScriptedCentre centre;
    centre.Machine(true, kStatusReady);
    const MachineParams before = centre.centre->Params();
    CDlgMacPara dialog(*centre.centre, centre.notifier);
    ShowActive(dialog);
    Field(dialog, 616)->setText("5"); // valid, read before the refused one
    Field(dialog, 615)->setText("10");
    Press(dialog, kMacOk);

    EXPECT_EQ(centre.notifier.Texts(), (std::vector<std::string>{"请输入一个 1 至 9 之间的整数。"}));
    EXPECT_EQ(QApplication::focusWidget(), Field(dialog, 615));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(centre.centre->Params().settings.Encode(), before.settings.Encode());
    EXPECT_TRUE(centre.Queued().empty());
}

TEST(MachineSettingsDialog, OnlineOkStoresAndQueuesTheSave)
{
    ScriptedCentre centre;
    centre.Machine(true, kStatusReady);
    CDlgMacPara dialog(*centre.centre, centre.notifier);
    Field(dialog, 616)->setText("7");
    Press(dialog, kMacOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(centre.centre->Params().settings.headOverlap, 7);
    EXPECT_EQ(centre.Queued(), (std::vector<int>{cmd::kSaveSettings}));
}

TEST(MachineSettingsDialog, OfflineOnlyTheAddressChangesAndStaysOnTheHost)
{
    ScriptedCentre centre({"Language=1"});
    centre.Machine(false, kStatusInit);
    CDlgMacPara dialog(*centre.centre, centre.notifier);
    EXPECT_FALSE(Field(dialog, 615)->isEnabled());
    EXPECT_FALSE(Find<QCheckBox>(dialog, QStringLiteral("check%1").arg(kMacHead1))->isEnabled());
    auto* octet = Find<QSpinBox>(dialog, QStringLiteral("address3"));
    ASSERT_TRUE(octet->isEnabled());
    octet->setValue(77);
    Press(dialog, kMacOk);

    EXPECT_EQ(centre.notifier.Texts(), (std::vector<std::string>{"Offline!"}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(centre.centre->Params().settings.machineIp[3], 77);
    EXPECT_TRUE(centre.Queued().empty());
}

TEST(MachineSettingsDialog, TheHeadBoxesKeepOneHeadTicked)
{
    ScriptedCentre centre;
    centre.Machine(true, kStatusReady);
    MachineParams params = centre.centre->Params();
    params.settings.headsInUse = 1;
    centre.centre->ApplyMachineParams(params, 0);
    CDlgMacPara dialog(*centre.centre, centre.notifier);
    auto* head1 = Find<QCheckBox>(dialog, QStringLiteral("check%1").arg(kMacHead1));
    auto* head2 = Find<QCheckBox>(dialog, QStringLiteral("check%1").arg(kMacHead2));
    ASSERT_TRUE(head1->isChecked() && !head2->isChecked());
    QTest::mouseClick(head1, Qt::LeftButton);
    EXPECT_FALSE(head1->isChecked());
    EXPECT_TRUE(head2->isChecked());
    Press(dialog, kMacOk);
    EXPECT_EQ(centre.centre->Params().settings.headsInUse, 2);
}

TEST(AdvancedParamsDialog, TheGearRatioButtonOpensThePulsesAndOkQueuesTheSave)
{
    ScriptedCentre centre;
    centre.Machine(true, kStatusReady);
    CDlgAdvPara dialog(*centre.centre, centre.notifier);
    EXPECT_FALSE(Field(dialog, kAdvXPulsesPerMm)->isEnabled());
    Press(dialog, kAdvGearRatio);
    ASSERT_TRUE(Field(dialog, kAdvXPulsesPerMm)->isEnabled());
    Field(dialog, kAdvXPulsesPerMm)->setText("80.5");
    Press(dialog, kAdvOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(centre.centre->Params().advanced.xPulsesPerMm, 80.5);
    EXPECT_EQ(centre.Queued(), (std::vector<int>{cmd::kSaveAdvanced}));
}

TEST(SoftwareSettingsDialog, OkStoresTheConvertedFieldsAndARefusalNone)
{
    ScriptedCentre centre;
    const int32_t pageLength = centre.c->settings.PLTFilePageLen;
    {
        CDlgSoftSet dialog(*centre.centre, centre.notifier);
        ShowActive(dialog);
        Field(dialog, 525)->setText("800");
        Field(dialog, 625)->setText("11");
        Press(dialog, kSoftOk);
        EXPECT_EQ(centre.notifier.Texts(), (std::vector<std::string>{"请输入一个 0.4 至 10 之间的数字。"}));
        EXPECT_EQ(QApplication::focusWidget(), Field(dialog, 625));
        EXPECT_EQ(centre.c->settings.PLTFilePageLen, pageLength);
    }
    {
        CDlgSoftSet dialog(*centre.centre, centre.notifier);
        Field(dialog, 525)->setText("499");
        Field(dialog, 611)->setText("0.57");
        Field(dialog, 520)->setText("2000");
        Press(dialog, kSoftOk);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(centre.c->settings.PLTFilePageLen, 0);
    EXPECT_EQ(centre.c->settings.SharpAngleCompensite, 22);
    EXPECT_EQ(centre.centre->Display().DispSizeX, 2000);
    CDlgSoftSet reopened(*centre.centre, centre.notifier);
    EXPECT_EQ(Field(reopened, 611)->text(), QStringLiteral("0.55"));
}

TEST(SoftwareSettingsDialog, AnAcceptedDataDirectoryOutlivesCancel)
{
    ScriptedCentre centre;
    TempDir chosen;
    std::filesystem::create_directory(chosen.File("sub"));
    centre.c->settings.MissingDataDir = "/share/not/mounted/";
    CDlgSoftSet dialog(*centre.centre, centre.notifier);
    dialog.TakeDataDirFolder(QString::fromStdString(centre.c->settings.ExeDir));
    EXPECT_EQ(centre.notifier.Texts(), (std::vector<std::string>{"非法的临时文件目录"}));
    EXPECT_EQ(centre.c->settings.MissingDataDir, "/share/not/mounted/") << "a refused choice keeps it";
    dialog.TakeDataDirFolder(QString::fromStdString(chosen.Path()));
    EXPECT_TRUE(centre.c->settings.MissingDataDir.empty()) << "another directory was chosen";
    Press(dialog, kSoftCancel);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(centre.c->settings.DataDir, chosen.Path());
    EXPECT_EQ(centre.notifier.Texts().size(), 1U); // only subfolders: no question
}

TEST(PltExportDialog, ScalesInPerMilleAndARefusedFieldKeepsItOpen)
{
    RecordingNotifier notifier;
    CDlgPltExport dialog(0, notifier);
    EXPECT_EQ(Field(dialog, kPltExportScaleX)->text(), QStringLiteral("100"));
    Field(dialog, kPltExportScaleY)->setText("abc");
    Press(dialog, 1);
    EXPECT_EQ(notifier.Texts(), (std::vector<std::string>{"请输入一个数字。"}));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    Field(dialog, kPltExportScaleX)->setText("50.07");
    Field(dialog, kPltExportScaleY)->setText("-200");
    Press(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Scale(), (PltExportScale{500, -2000}));
}

} // namespace
} // namespace qv::test
