#include "view/ViewMenu.h"

#include "geometry/ViewCommands.h"

namespace qv {

namespace {

constexpr ViewMenuEntry kMenu[] = {
    {ViewCommand::RecognizeOutlines, "识别图形外轮廓", "Recognize outlines"},
    {ViewCommand::Merge, "合并\t(Ctrl+M)", "Merge\t(Ctrl+M)"},
    {ViewCommand::ToPlot, "转换成绘图", "Convert to plot"},
    {ViewCommand::ToFullCut, "转换成全刀\t(Ctrl+F)", "Convert to full cut\t(Ctrl+F)"},
    {ViewCommand::ToHalfCut, "转换成半刀\t(Ctrl+H)", "Convert to half cut\t(Ctrl+H)"},
    {ViewCommand::Reverse, "改变方向\t(Ctrl+D)", "Reverse direction\t(Ctrl+D)"},
    {ViewCommand::Delete, "删除\t(DEL)", "Delete\t(DEL)"},
    {ViewCommand::DeletePlot, "删除所有喷墨数据", "Delete all plot data"},
    {ViewCommand::DeleteCut, "删除所有切割数据", "Delete all cut data"},
    {ViewCommand::AllPlot, "所有数据转换成绘图", "Convert all to plot"},
    {ViewCommand::Smooth, "使用平滑算法平滑曲线", "Smooth the curves"},
    {ViewCommand::SplineFit, "使用Spline拟合", "Fit with splines"},
};

} // namespace

std::span<const ViewMenuEntry> ViewContextMenu()
{
    return kMenu;
}

std::optional<int32_t> CtrlKeyCommand(char letter)
{
    switch (letter) {
    case 'M':
        return ViewCommand::Merge;
    case 'F':
        return ViewCommand::ToFullCut;
    case 'H':
        return ViewCommand::ToHalfCut;
    case 'D':
        return ViewCommand::Reverse;
    default:
        return std::nullopt;
    }
}

} // namespace qv
