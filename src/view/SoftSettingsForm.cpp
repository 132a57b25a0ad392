#include "view/SoftSettingsForm.h"

#include <cmath>

namespace qv {

namespace {

using S = SoftSettings;
constexpr FieldKind I = FieldKind::Integer;
constexpr FieldKind U = FieldKind::Unsigned;
constexpr FieldKind D = FieldKind::Decimal;
constexpr int kDraw = kSoftGroupDrawing;
constexpr int kShow = kSoftGroupDisplay;
constexpr int kCut = kSoftGroupCutting;
constexpr int kOther = kSoftGroupOther;
constexpr auto kNone = std::nullopt;

constexpr FieldBounds B(double min, double max)
{
    return {min, max};
}

constexpr int32_t kMinPageLength = 500; // mm; shorter page lengths mean "no paging"

const SoftField kFields[] = {
    {525,
     {"PLT文件分段长度(0-不分页，或500~3000mm)", "Page length (0-none, or 500~3000mm)"},
     kDraw,
     U,
     B(0, 3000),
     1,
     &S::PLTFilePageLen},
    {526, {"半刀笔号(2~9)", "Half-cut pen (2~9)"}, kDraw, U, B(2, 9), 1, &S::HCPenNumber},
    {624,
     {"起刀、收刀补偿(0~2.0mm)", "Start/end compensation (0~2.0mm)"},
     kCut,
     D,
     B(0, 2),
     40,
     &S::StartEndCompensite},
    {611, {"锐角补偿(0~2.0mm)", "Sharp corner compensation (0~2.0mm)"}, kCut, D, B(0, 2), 40, &S::SharpAngleCompensite},
    {625, {"曲线点密度(mm)", "Curve point spacing (mm)"}, kCut, D, B(0.4, 10), 40, &S::FitDistHpgl},
    {520, {"显示区大小X向(mm)", "Display area X (mm)"}, kShow, U, B(40, 4000), 1, &S::DispSizeX},
    {521, {"显示区大小Y向(mm)", "Display area Y (mm)"}, kShow, U, B(40, 3000), 1, &S::DispSizeY},
    {530, {"全刀喷切重合粗调-X(*0.1mm)", "Full cut to plot, coarse X (*0.1mm)"}, kOther, I, kNone, 1, &S::FCXXXX},
    {531, {"全刀喷切重合粗调-Y(*0.1mm)", "Full cut to plot, coarse Y (*0.1mm)"}, kOther, I, kNone, 1, &S::FCYYYY},
    {532, {"半刀喷切重合粗调-X(*0.1mm)", "Half cut to plot, coarse X (*0.1mm)"}, kOther, I, kNone, 1, &S::HCXXXX},
    {533, {"半刀喷切重合粗调-Y(*0.1mm)", "Half cut to plot, coarse Y (*0.1mm)"}, kOther, I, kNone, 1, &S::HCYYYY},
};

const SoftCheck kChecks[] = {
    {213, {"图形自动平移至Xmin=0", "Move the drawing to Xmin=0"}, kDraw, &S::AutoMoveToLeft},
    {214, {"图形自动平移至Ymin=0", "Move the drawing to Ymin=0"}, kDraw, &S::AutoMoveToBottom},
    {215, {"自动识别图形外轮廓", "Recognise outlines automatically"}, kDraw, &S::FindOutline},
    {207, {"自动删除手动打开的plt文件", "Delete PLT files opened by hand"}, kDraw, &S::AutoDelPlt},
    {216, {"工作前清洗喷头", "Clean the heads before work"}, kDraw, &S::AutoCleanSP},
    {217, {"只绘不切", "Plot only, no cutting"}, kDraw, &S::PlotOnly},
    {1030, {"读取扩展的HP-GL/2指令", "Read the wider HP-GL/2 dialect"}, kDraw, &S::HpglDialect}, // ours
    {204, {"显示切割起点和方向", "Show the start and direction of cuts"}, kShow, &S::DisplayStartAndDir},
    {205, {"显示切割顺序", "Show the cutting order"}, kShow, &S::DisplaySequence},
    {1018, {"优化切割曲线", "Optimise the cut curves"}, kCut, &S::CutEffectOptmize},
    {221, {"自动删除已完成的页", "Remove done pages automatically"}, kOther, &S::AutoDelFinish},
    {218, {"文件添加到列表后自动开始工作", "Start work when a file is added"}, kOther, &S::AutoStartWork},
    {219, {"老化测试，演示模式(循环工作)", "Ageing test, demonstration mode (repeat work)"}, kOther, &S::RepeatCut},
    {1017,
     {"自动绘图第1页不需要按面板上的“确认”键", "The first automatic page does not wait for the panel's confirm key"},
     kOther,
     &S::FPNoNeedConfirm},
};

bool CountsAsOn(const SoftCheck& check, int32_t value)
{
    return check.option == &S::FPNoNeedConfirm ? value == 1 : value != 0;
}

} // namespace

std::span<const SoftField> SoftSettingsFields()
{
    return kFields;
}

std::span<const SoftCheck> SoftSettingsChecks()
{
    return kChecks;
}

std::vector<std::string> SoftSettingsListItems(int32_t language)
{
    const UiText items[] = {{"0.0250mm (常规)", "0.0250mm"}, {"0.0254mm (专用)", "0.0254mm"}};
    return {items[0].Of(language), items[1].Of(language)};
}

FormValues LoadSoftSettingsForm(const SoftSettings& settings)
{
    FormValues values;
    for (const SoftCheck& check : kChecks)
        values.checks[check.control] = CountsAsOn(check, settings.*check.option);
    const int32_t unit = settings.PltUnit;
    values.selections[kSoftPltUnit] = unit == 0 || unit == 1 ? unit : -1;
    for (const SoftField& field : kFields) {
        const int32_t value = settings.*field.option;
        values.texts[field.control] =
            field.perMm == 1 ? std::to_string(value) : DecimalFieldText(static_cast<double>(value) / field.perMm);
    }
    return values;
}

std::variant<SoftSettings, FieldRefusal> CheckSoftSettingsForm(const FormValues& values, const SoftSettings& current,
                                                               int32_t language)
{
    SoftSettings result = current;
    for (const SoftCheck& check : kChecks)
        result.*check.option = values.checks.at(check.control) ? 1 : 0;
    result.PltUnit = values.selections.at(kSoftPltUnit);
    FieldReader reader(language);
    for (const SoftField& field : kFields) {
        const std::optional<double> value =
            reader.Read(field.control, values.texts.at(field.control), field.kind, field.bounds);
        if (!value)
            return *reader.Refusal();
        // Within the bounds, so the truncated value fits.
        result.*field.option = static_cast<int32_t>(std::trunc(*value * field.perMm));
    }
    if (result.PLTFilePageLen < kMinPageLength)
        result.PLTFilePageLen = 0;
    return result;
}

} // namespace qv
