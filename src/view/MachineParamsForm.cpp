#include "view/MachineParamsForm.h"

#include "link/CommandCodes.h"

#include <algorithm>
#include <stdexcept>

namespace qv {

namespace {

constexpr FieldKind I = FieldKind::Integer;
constexpr FieldKind U = FieldKind::Unsigned;
constexpr RecordType U8 = RecordType::U8;
constexpr RecordType U16 = RecordType::U16;
constexpr RecordType I16 = RecordType::I16;
constexpr int kInk = kMacGroupInkjet;
constexpr int kCut = kMacGroupCutting;
constexpr int kOther = kMacGroupOther;
constexpr int kEnd = kMacGroupEndOfWork;

constexpr FieldBounds B(double min, double max)
{
    return {min, max};
}

// The paper-cut and stop positions are 16-bit fields: a larger value would reach the machine wrapped.
constexpr FieldBounds kU16 = B(0, 65535);

const RecordField kFields[] = {
    {615, {"绘图线宽(1~10)", "Plot line width (1~10)"}, kInk, I, B(1, 9), 38, U8},
    {616, {"喷头重叠(0~20Pix)", "Head overlap (0~20Pix)"}, kInk, I, B(0, 20), 30, U8},
    {617, {"2#喷头位置(100~250Pix)", "Head 2 position (100~250Pix)"}, kInk, I, B(100, 250), 28, U8},
    {614, {"来回校正(0~10Pix)", "Bidirectional correction (0~10Pix)"}, kInk, I, B(0, 10), 29, U8},
    {604, {"全刀启动刀压(10~90)", "Full-cut start pressure (10~90)"}, kCut, I, B(10, 90), 24, U8},
    {605, {"全刀工作刀压(10~90)", "Full-cut working pressure (10~90)"}, kCut, I, B(10, 90), 25, U8},
    {606, {"半刀启动刀压(10~90)", "Half-cut start pressure (10~90)"}, kCut, I, B(10, 90), 26, U8},
    {607, {"半刀工作刀压(10~90)", "Half-cut working pressure (10~90)"}, kCut, I, B(10, 90), 27, U8},
    {600, {"全刀位置补偿X(*0.1mm)", "Full-cut offset X (*0.1mm)"}, kCut, I, B(-700, 700), 16, I16},
    {601, {"全刀位置补偿Y(*0.1mm)", "Full-cut offset Y (*0.1mm)"}, kCut, I, B(-700, 700), 18, I16},
    {602, {"半刀位置补偿X(*0.1mm)", "Half-cut offset X (*0.1mm)"}, kCut, I, B(-700, 700), 20, I16},
    {603, {"半刀位置补偿Y(*0.1mm)", "Half-cut offset Y (*0.1mm)"}, kCut, I, B(-700, 700), 22, I16},
    {610, {"垂直度校正(50~150)", "Perpendicularity (50~150)"}, kOther, I, B(50, 150), 33, U8},
    {619, {"Y向边距调整(0~100mm)", "Y margin (0~100mm)"}, kOther, I, B(0, 100), 37, U8},
    {612, {"X向1米实际输出(*0.1mm)", "Actual X output of 1 m (*0.1mm)"}, kOther, I, B(5000, 20000), 4, U16},
    {613, {"Y向1米实际输出(*0.1mm)", "Actual Y output of 1 m (*0.1mm)"}, kOther, I, B(5000, 20000), 6, U16},
    {620, {"液晶面板语言(0-中文,1-EN)", "Panel language (0-Chinese,1-EN)"}, kOther, U, B(0, 1), 36, U8},
    {621, {"裁纸起点Y值(mm)：", "Paper cut start Y (mm):"}, kOther, I, kU16, 8, U16},
    {622, {"裁纸终点Y值(mm)：", "Paper cut end Y (mm):"}, kOther, I, kU16, 10, U16},
    {608, {"坐标：X=", "Coordinate: X="}, kEnd, I, kU16, 12, U16},
    {609, {"Y=", "Y="}, kEnd, I, kU16, 14, U16},
};

constexpr std::size_t kHeadsByte = 31;

const ChoiceField kChoices[] = {
    {kMacCartridgeType, {"墨盒类型：", "Cartridge type:"}, kInk, 35},
    {kMacHead1, {"1#喷头", "Head 1"}, kInk, kHeadsByte},
    {kMacHead2, {"2#喷头", "Head 2"}, kInk, kHeadsByte},
    {kMacBidirPrinting, {"双向打印", "Bidirectional printing"}, kInk, 32},
    {kMacSameKnife, {"半刀和全刀使用同一把刀", "Half cut and full cut use the same knife"}, kCut, 39},
    {kMacAddress, {"机器仪IP(修改后重启才能生效);", "Machine IP (takes effect after a restart);"}, kOther, 0},
    {kMacStopMode, {"一版切完,机头停止位置", "Head position after a page"}, kEnd, 34},
};

const ChoiceField& Choice(int control)
{
    const auto it = std::find_if(std::begin(kChoices), std::end(kChoices),
                                 [&](const ChoiceField& c) { return c.control == control; });
    if (it == std::end(kChoices))
        throw std::invalid_argument("not a control of the machine settings dialog");
    return *it;
}

constexpr int kListControls[] = {kMacCartridgeType, kMacStopMode};
constexpr int kCheckControls[] = {kMacBidirPrinting, kMacSameKnife};

} // namespace

std::span<const RecordField> MachineSettingsFields()
{
    return kFields;
}

std::span<const ChoiceField> MachineSettingsChoices()
{
    return kChoices;
}

std::vector<std::string> MachineSettingsListItems(int control, int32_t language)
{
    if (control == kMacCartridgeType)
        return {"HP45", "IUT308"};
    if (control == kMacStopMode) {
        const UiText items[] = {{"图形右下角", "Xmax Ymin of page"}, {"指定坐标", "Specified coord"}};
        return {items[0].Of(language), items[1].Of(language)};
    }
    throw std::invalid_argument("not a drop-down list of the machine settings dialog");
}

MachineSettingsForm LoadMachineSettingsForm(const MachineSettings& settings)
{
    const auto record = settings.Encode();
    MachineSettingsForm form;
    for (const RecordField& field : kFields)
        form.values.texts[field.control] = RecordFieldText(field, record);
    for (const int control : kListControls) {
        const uint8_t index = record[Choice(control).byte];
        const bool listed = index < MachineSettingsListItems(control, 0).size();
        form.values.selections[control] = listed ? index : -1;
    }
    for (const int control : kCheckControls)
        form.values.checks[control] = record[Choice(control).byte] != 0;
    form.values.checks[kMacHead1] = settings.headsInUse != 2;
    form.values.checks[kMacHead2] = settings.headsInUse != 1;
    form.address = settings.machineIp;
    return form;
}

bool MachineSettingsControlEnabled(int control, bool connected)
{
    return connected || control == kMacAddress || control == kMacOk || control == kMacCancel ||
           control == kMacScreenshot;
}

void HeadBoxToggled(FormValues& values, int control)
{
    const int other = control == kMacHead1 ? kMacHead2 : kMacHead1;
    if (!values.checks.at(kMacHead1) && !values.checks.at(kMacHead2))
        values.checks[other] = true;
}

std::variant<MachineSettings, FieldRefusal> CheckMachineSettingsForm(const MachineSettingsForm& form,
                                                                     const MachineSettings& current, int32_t language)
{
    auto record = current.Encode();
    FieldReader reader(language);
    for (const RecordField& field : kFields) {
        if (!ReadRecordField(field, form.values, reader, record))
            return *reader.Refusal();
    }
    for (const int control : kListControls) {
        const int index = form.values.selections.at(control);
        if (index >= 0 && static_cast<std::size_t>(index) < MachineSettingsListItems(control, 0).size())
            record[Choice(control).byte] = static_cast<uint8_t>(index);
    }
    for (const int control : kCheckControls)
        record[Choice(control).byte] = form.values.checks.at(control) ? 1 : 0;
    const bool head1 = form.values.checks.at(kMacHead1);
    const bool head2 = form.values.checks.at(kMacHead2);
    record[kHeadsByte] = head1 && !head2 ? 1 : head2 && !head1 ? 2 : 0;
    std::copy(form.address.begin(), form.address.end(), record.begin());

    MachineSettings result = current;
    result.Decode(record);
    return result;
}

MachineSettingsSave MachineSettingsSaveAfterOk(bool connected)
{
    if (connected)
        return {cmd::kSaveSettings, std::nullopt};
    return {std::nullopt, Msg::OfflineCannotSave};
}

} // namespace qv
