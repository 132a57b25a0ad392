#include "link/StatusLine.h"

#include "app/MachineParams.h"
#include "link/LinkState.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(StatusLine, TextPerStatusTypeAndLanguage)
{
    struct Row {
        const char* name;
        bool connected;
        MachineStatus status;
        std::optional<std::string> zh;
        std::optional<std::string> en;
    };
    const Row rows[] = {
        {"offline", false, {4, 0}, "已脱机...", "Disconnected..."},
        {"init", true, {0, 0}, "Init...", "Init..."},
        {"seek origin", true, {1, 0}, "正在寻找原点...", "Seek ZP..."},
        {"ready with head position", true, {4, 0}, "准备就绪 X10.0mm Y-2.5mm", "READY X10.0mm Y-2.5mm"},
        {"cleaning", true, {10, 0}, "清洗喷头...", "Plot Test..."},
        {"processing", true, {11, 0}, "处理中...", "Processing..."},
        {"working", true, {12, 18}, "工作中...3/7", "Working...3/7"},
        {"working, value not 18: line kept", true, {12, 1}, std::nullopt, std::nullopt},
        {"paused", true, {13, 0}, "暂停中..", "Paused.."},
        {"memory error", true, {15, 0}, "内存错误...", "MEM ERROR..."},
        {"lost steps", true, {17, 0}, "电机丢步...", "Stepm Error..."},
        {"unknown type: line kept", true, {7, 0}, std::nullopt, std::nullopt},
    };
    MachineParams params;
    params.advanced.xPulsesPerMm = 80;
    params.advanced.yPulsesPerMm = 40;
    for (const Row& row : rows) {
        LinkState state;
        state.Connected = row.connected;
        state.status = row.status;
        state.headPosition = MachinePoint{800, -100};
        state.progressCount = 3;
        state.segmentCount = 7;
        EXPECT_EQ(StatusLineText(state, params, 0), row.zh) << row.name;
        EXPECT_EQ(StatusLineText(state, params, 1), row.en) << row.name;
    }
}

} // namespace
} // namespace qv
