#include "PanelFixture.h"

#include "link/CommandCodes.h"
#include "ui/panel/CMyDlgBar.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace qv::test {
namespace {

QString Id(int control)
{
    return QStringLiteral("control%1").arg(control);
}

struct PanelTest : ::testing::Test {
    ScriptedCentre centre;
    CMyDlgBar panel{*centre.centre, centre.notifier};

    PanelTest() { panel.show(); } // laid out, so a click lands on each control

    QPushButton* Button(int control) { return Find<QPushButton>(panel, Id(control)); }
    void Click(int control)
    {
        panel.RefreshEnabling();
        QTest::mouseClick(Button(control), Qt::LeftButton);
    }
};

TEST_F(PanelTest, AClickQueuesTheStopBeforeItsOwnCode)
{
    centre.Machine(true, kStatusReady);
    Click(kPanelCleanHeads);
    EXPECT_EQ(centre.Queued(), (std::vector<int>{cmd::kStopJog, cmd::kCleanHeads}));
    Click(kPanelSetStartPoint);
    Click(kPanelOrigin);
    EXPECT_EQ(centre.Queued(),
              (std::vector<int>{cmd::kStopJog, cmd::kSetStartPoint, cmd::kStopJog, cmd::kReturnToOrigin}));
}

TEST_F(PanelTest, JogButtonsMoveWhileHeldAndOnlyWithoutAJob)
{
    centre.Machine(true, kStatusReady);
    panel.RefreshEnabling();
    const std::pair<int, int> jogs[] = {{kPanelJogUp, cmd::kJogUp},
                                        {kPanelJogDown, cmd::kJogDown},
                                        {kPanelJogLeft, cmd::kJogLeft},
                                        {kPanelJogRight, cmd::kJogRight}};
    for (const auto& [jog, code] : jogs) {
        QTest::mousePress(Button(jog), Qt::LeftButton);
        EXPECT_EQ(centre.Queued(), (std::vector<int>{code}));
        QTest::mouseRelease(Button(jog), Qt::LeftButton);
        EXPECT_EQ(centre.Queued(), (std::vector<int>{cmd::kStopJog}));
    }

    centre.Machine(true, kStatusPaused, true);
    Click(kPanelJogUp);
    EXPECT_TRUE(centre.Queued().empty());
}

TEST_F(PanelTest, ButtonsFollowTheMachineState)
{
    centre.Machine(true, kStatusWorking, true);
    panel.RefreshEnabling();
    EXPECT_TRUE(Button(kPanelPause)->isEnabled());
    EXPECT_FALSE(Button(kPanelCancel)->isEnabled()); // cancel only after pause
    EXPECT_FALSE(Button(kPanelStart)->isEnabled());
    EXPECT_FALSE(Button(kPanelJogUp)->isEnabled());

    centre.Machine(true, kStatusPaused, true);
    panel.RefreshEnabling();
    EXPECT_TRUE(Button(kPanelCancel)->isEnabled());
    EXPECT_TRUE(Button(kPanelStart)->isEnabled());
    EXPECT_FALSE(Button(kPanelCleanHeads)->isEnabled());

    centre.Machine(false, kStatusReady);
    panel.RefreshEnabling();
    EXPECT_FALSE(Button(kPanelStart)->isEnabled());
    EXPECT_FALSE(Button(kPanelOrigin)->isEnabled());
}

TEST_F(PanelTest, CancelAsksAndQueuesOnlyOnOk)
{
    centre.Machine(true, kStatusPaused, true);
    centre.notifier.QueueAnswer(MsgAnswer::Cancel);
    Click(kPanelCancel);
    centre.notifier.QueueAnswer(MsgAnswer::Ok);
    Click(kPanelCancel);
    EXPECT_EQ(centre.notifier.Texts(), (std::vector<std::string>{"是否取消？", "是否取消？"}));
    EXPECT_EQ(centre.Queued(), (std::vector<int>{cmd::kCancelJob}));
    EXPECT_EQ(centre.notifier.Messages()[0].caption, "注意");
}

TEST_F(PanelTest, PauseAndStartWhileAJobRuns)
{
    centre.Machine(true, kStatusWorking, true);
    Click(kPanelPause);
    centre.Machine(true, kStatusPaused, true);
    Click(kPanelStart);
    EXPECT_EQ(centre.Queued(), (std::vector<int>{cmd::kPauseJob, cmd::kResumeJob}));
}

TEST_F(PanelTest, StartTurnsTheUpperManualPageIntoAuto)
{
    centre.c->doc.pages.push_back(MakePage("done.plt", PageState::Done));
    centre.c->doc.pages.push_back(MakePage("a.plt", PageState::Manual));
    centre.c->doc.pages.push_back(MakePage("b.plt", PageState::Manual));
    centre.c->settings.NeedPanelConfirm = 1;
    centre.Machine(true, kStatusReady);
    Click(kPanelStart);
    EXPECT_EQ(centre.States(), (std::vector<int32_t>{PageState::Done, PageState::Auto, PageState::Manual}));
    EXPECT_EQ(centre.c->settings.NeedPanelConfirm.load(), 0);
}

TEST_F(PanelTest, CheckBoxesSwitchOnAReadyMachineAndKeepTheirMarkOtherwise)
{
    centre.Machine(true, kStatusReady);
    panel.RefreshEnabling();
    auto* knife = Find<QCheckBox>(panel, Id(kPanelFullCutKnife));
    knife->click();
    knife->click();
    Find<QCheckBox>(panel, Id(kPanelAirPump))->click();
    EXPECT_EQ(centre.Queued(), (std::vector<int>{cmd::kFullCutKnifeOn, cmd::kFullCutKnifeOff, cmd::kAirPumpOn}));

    centre.Machine(true, kStatusPaused, true);
    Find<QCheckBox>(panel, Id(kPanelHalfCutKnife))->click();
    EXPECT_TRUE(Find<QCheckBox>(panel, Id(kPanelHalfCutKnife))->isChecked());
    EXPECT_TRUE(centre.Queued().empty());
}

TEST_F(PanelTest, StatusLineReadsDisconnectedWithinATick)
{
    auto* status = Find<QLabel>(panel, Id(kPanelStatusText));
    EXPECT_EQ(status->text(), QStringLiteral("未连接"));
    centre.Machine(false, kStatusInit);
    EXPECT_TRUE(QTest::qWaitFor([&] { return status->text() == QStringLiteral("已脱机..."); }, 1000));
}

} // namespace
} // namespace qv::test
