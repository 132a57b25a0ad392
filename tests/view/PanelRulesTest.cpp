#include "view/PanelRules.h"

#include "app/MachineParams.h"
#include "link/CommandCodes.h"
#include "link/ManualCommandQueue.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

namespace qv {
namespace {

const int kAllControls[] = {kPanelStart,         kPanelPause,  kPanelCancel,       kPanelCleanHeads,
                            kPanelSetStartPoint, kPanelOrigin, kPanelFullCutKnife, kPanelHalfCutKnife,
                            kPanelAirPump,       kPanelJogUp,  kPanelJogDown,      kPanelJogLeft,
                            kPanelJogRight};

PanelFacts Facts(bool connected, uint8_t type, bool job, uint8_t value = 0)
{
    return {connected, {type, value}, job};
}

TEST(PanelRules, EnablingFollowsTheMachine)
{
    const std::set<int> checksAndJogs = {kPanelFullCutKnife, kPanelHalfCutKnife, kPanelAirPump, kPanelJogUp,
                                         kPanelJogDown,      kPanelJogLeft,      kPanelJogRight};
    const auto with = [&](std::set<int> more) {
        more.insert(checksAndJogs.begin(), checksAndJogs.end());
        return more;
    };
    struct Row {
        const char* name;
        PanelFacts facts;
        std::set<int> enabled;
    };
    const Row rows[] = {
        {"offline", Facts(false, kStatusInit, false), {}},
        {"ready", Facts(true, kStatusReady, false),
         with({kPanelStart, kPanelCleanHeads, kPanelSetStartPoint, kPanelOrigin})},
        {"working: cancel only after a pause", Facts(true, kStatusWorking, true, kWorkingRunning), {kPanelPause}},
        {"paused", Facts(true, kStatusPaused, true), with({kPanelStart, kPanelCancel})},
        {"ready but the link just went down", Facts(false, kStatusReady, false), checksAndJogs},
        {"cleaning", Facts(true, kStatusCleaning, false), {}},
    };
    for (const Row& row : rows) {
        for (const int control : kAllControls)
            EXPECT_EQ(PanelControlEnabled(control, row.facts), row.enabled.count(control) == 1)
                << row.name << ", control " << control;
    }
}

TEST(PanelRules, ButtonClicks)
{
    using A = PanelClick::Action;
    struct Row {
        const char* name;
        int control;
        PanelFacts facts;
        PanelClick click;
    };
    const Row rows[] = {
        {"start goes to the workflow", kPanelStart, Facts(true, kStatusPaused, true), {A::PressStart}},
        {"pause while working", kPanelPause, Facts(true, kStatusWorking, true), {A::Queue, cmd::kPauseJob}},
        {"pause while paused", kPanelPause, Facts(true, kStatusPaused, true), {}},
        {"cancel asks first", kPanelCancel, Facts(true, kStatusPaused, true), {A::AskCancel}},
        {"clean heads", kPanelCleanHeads, Facts(true, kStatusReady, false), {A::Queue, cmd::kCleanHeads}},
        {"clean heads while busy", kPanelCleanHeads, Facts(true, kStatusWorking, true), {}},
        {"start point", kPanelSetStartPoint, Facts(true, kStatusReady, false), {A::Queue, cmd::kSetStartPoint}},
        {"start point during a job", kPanelSetStartPoint, Facts(true, kStatusReady, true), {}},
        {"origin", kPanelOrigin, Facts(true, kStatusReady, false), {A::Queue, cmd::kReturnToOrigin}},
        {"origin during a job", kPanelOrigin, Facts(true, kStatusReady, true), {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(PanelButtonClicked(row.control, row.facts), row.click) << row.name;

    const DialogMessage question = PanelCancelQuestion();
    EXPECT_EQ(question, (DialogMessage{"是否取消？", "注意", MsgButtons::OkCancel, MsgIcon::Error}));
    EXPECT_EQ(PanelCancelConfirmed(Facts(true, kStatusPaused, true)), cmd::kCancelJob);
    EXPECT_EQ(PanelCancelConfirmed(Facts(true, kStatusWorking, true)), std::nullopt)
        << "the machine resumed while the question was open";
}

TEST(PanelRules, CheckBoxesSendOnlyWhileReadyWithoutAJob)
{
    struct Row {
        int control;
        uint8_t on;
        uint8_t off;
    };
    const Row rows[] = {
        {kPanelFullCutKnife, cmd::kFullCutKnifeOn, cmd::kFullCutKnifeOff},
        {kPanelHalfCutKnife, cmd::kHalfCutKnifeOn, cmd::kHalfCutKnifeOff},
        {kPanelAirPump, cmd::kAirPumpOn, cmd::kAirPumpOff},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PanelCheckBoxChanged(row.control, true, Facts(true, kStatusReady, false)), row.on);
        EXPECT_EQ(PanelCheckBoxChanged(row.control, false, Facts(true, kStatusReady, false)), row.off);
        EXPECT_EQ(PanelCheckBoxChanged(row.control, true, Facts(true, kStatusPaused, true)), std::nullopt);
        EXPECT_EQ(PanelCheckBoxChanged(row.control, true, Facts(true, kStatusReady, true)), std::nullopt);
    }
}

TEST(PanelRules, JoggingWhileAButtonIsHeld)
{
    const PanelFacts idle = Facts(true, kStatusReady, false);
    const std::pair<int, uint8_t> jogs[] = {{kPanelJogUp, cmd::kJogUp},
                                            {kPanelJogDown, cmd::kJogDown},
                                            {kPanelJogLeft, cmd::kJogLeft},
                                            {kPanelJogRight, cmd::kJogRight}};
    for (const auto& [control, code] : jogs) {
        EXPECT_EQ(PanelButtonState(control, true, idle), code);
        EXPECT_EQ(PanelButtonState(control, false, idle), cmd::kStopJog);
    }
    for (const int control :
         {kPanelStart, kPanelPause, kPanelCancel, kPanelCleanHeads, kPanelSetStartPoint, kPanelOrigin}) {
        EXPECT_EQ(PanelButtonState(control, true, idle), std::nullopt) << control;
        EXPECT_EQ(PanelButtonState(control, false, idle), cmd::kStopJog) << control;
    }
    EXPECT_EQ(PanelButtonState(kPanelFullCutKnife, false, idle), std::nullopt) << "a check box is no image button";
    EXPECT_EQ(PanelButtonState(kPanelJogUp, true, Facts(true, kStatusPaused, true)), std::nullopt) << "job";
    EXPECT_EQ(PanelButtonState(kPanelJogUp, false, Facts(false, kStatusReady, false)), std::nullopt) << "offline";

    // A click on the clean button: its release stops, then the click cleans.
    ManualCommandQueue queue;
    const auto queueCode = [&](std::optional<uint8_t> code) {
        if (code)
            queue.Append(*code);
    };
    queueCode(PanelButtonState(kPanelCleanHeads, true, idle));
    queueCode(PanelButtonState(kPanelCleanHeads, false, idle));
    const PanelClick click = PanelButtonClicked(kPanelCleanHeads, idle);
    ASSERT_EQ(click.action, PanelClick::Action::Queue);
    queue.Append(click.code);
    EXPECT_EQ(queue.Take(), cmd::kStopJog);
    EXPECT_EQ(queue.Take(), cmd::kCleanHeads);
    EXPECT_EQ(queue.Take(), std::nullopt);
}

TEST(PanelRules, StatusLineTickByTick)
{
    MachineParams params; // 104.25 pulses per millimetre
    LinkState link;
    link.headPosition = MachinePoint{10425, -2085};
    link.progressCount = 3;
    link.segmentCount = 9;
    struct Step {
        const char* name;
        bool connected;
        MachineStatus status;
        int32_t language;
        const char* shown;
    };
    const Step script[] = {
        {"disconnected", false, {kStatusInit, 0}, 0, "已脱机..."},
        {"handshaken, initialising", true, {kStatusInit, 0}, 0, "Init..."},
        {"ready with the head position", true, {kStatusReady, 0}, 0, "准备就绪 X100.0mm Y-20.0mm"},
        {"working, data not running yet: kept", true, {kStatusWorking, 3}, 0, "准备就绪 X100.0mm Y-20.0mm"},
        {"working with progress", true, {kStatusWorking, kWorkingRunning}, 1, "Working...3/9"},
        {"unknown status: kept", true, {7, 0}, 1, "Working...3/9"},
        {"paused", true, {kStatusPaused, 0}, 1, "Paused.."},
        {"link lost", false, {kStatusInit, 0}, 1, "Disconnected..."},
    };
    std::string line(kPanelStatusInitialText);
    for (const Step& step : script) {
        link.Connected = step.connected;
        link.status = step.status;
        line = NextPanelStatusLine(line, link, params, step.language);
        EXPECT_EQ(line, step.shown) << step.name;
    }
}

} // namespace
} // namespace qv
