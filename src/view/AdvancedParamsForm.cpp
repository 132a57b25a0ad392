#include "view/AdvancedParamsForm.h"

namespace qv {

namespace {

constexpr FieldKind I = FieldKind::Integer;
constexpr FieldKind U = FieldKind::Unsigned;
constexpr FieldKind D = FieldKind::Decimal;
constexpr RecordType U8 = RecordType::U8;
constexpr RecordType U16 = RecordType::U16;
constexpr RecordType F64 = RecordType::F64;

constexpr FieldBounds B(double min, double max)
{
    return {min, max};
}

// Every length in millimetres becomes pulses by these factors: zero or less makes every job meaningless, and
// beyond 100000 pulses per millimetre the longest protection length (4000 mm) no longer fits a 32-bit position.
constexpr FieldBounds kPulsesPerMm = B(0.001, 100000);

const RecordField kFields[] = {
    {kAdvXPulsesPerMm, {"X轴每mm的脉冲数", "X pulses per mm"}, 0, D, kPulsesPerMm, 0, F64},
    {kAdvYPulsesPerMm, {"Y轴每mm的脉冲数", "Y pulses per mm"}, 0, D, kPulsesPerMm, 8, F64},
    {650, {"X向软件保护长度(500~4000mm)", "X limit (500~4000mm)"}, 0, U, B(500, 4000), 16, U16},
    {651, {"喷墨时Y向软件保护长度(500~4000mm)", "Y limit when printing (500~4000mm)"}, 0, U, B(500, 3000), 18, U16},
    {652, {"全刀时Y向软件保护长度(500~4000mm)", "Y limit when full-cutting (500~4000mm)"}, 0, U, B(500, 3000), 20, U16},
    {653, {"半刀时Y向软件保护长度(500~4000mm)", "Y limit when half-cutting (500~4000mm)"}, 0, U, B(500, 3000), 22, U16},
    {654, {"喷墨加速距离(25~60mm)", "Inkjet acceleration distance (25~60mm)"}, 0, U, B(10, 60), 24, U8},
    {655, {"切割速度(1~5)", "Cutting speed (1~5)"}, 0, U, B(1, 5), 25, U8},
    {656, {"空程速度(1~5)", "Idle travel speed (1~5)"}, 0, U, B(1, 5), 26, U8},
    {662, {"小车板软件版本（0~2）", "Carriage board software version (0~2)"}, 0, U, B(0, 2), 27, U8},
    {657, {"喷墨间隔脉冲数(4~100)", "Inkjet interval pulses (4~100)"}, 0, U, B(2, 100), 28, U8},
    {660, {"切割分段长度(10~250)", "Cut segment length (10~250)"}, 0, I, B(20, 250), 29, U8},
    {661, {"曲线速度(5~50，默认8):", "Curve speed (5~50, default 8):"}, 0, U, B(5, 50), 30, U8},
    {663, {"喷头左右两列距离(20~40)：", "Distance between the nozzle columns (20~40):"}, 0, U, B(20, 40), 31, U8},
    {664,
     {"墨盒架类型\n(0-2#靠近Y原点,1-1#靠近Y原点)\n(注:视靠近X原点的为1#)",
      "Cartridge holder type\n(0-head 2 nearer the Y origin,1-head 1 nearer the Y origin)\n(Note: head 1 is the one "
      "nearer the X origin)"},
     0,
     U,
     B(0, 1),
     32,
     U8},
};

bool IsPulsesField(int control)
{
    return control == kAdvXPulsesPerMm || control == kAdvYPulsesPerMm;
}

} // namespace

std::span<const RecordField> AdvancedParamsFields()
{
    return kFields;
}

AdvancedParamsForm LoadAdvancedParamsForm(const AdvancedParams& params)
{
    const auto record = params.Encode();
    AdvancedParamsForm form;
    for (const RecordField& field : kFields)
        form.values.texts[field.control] = RecordFieldText(field, record);
    return form;
}

bool AdvancedParamsControlEnabled(int control, const AdvancedParamsForm& form)
{
    return form.gearRatioEnabled || !IsPulsesField(control);
}

std::variant<AdvancedParams, FieldRefusal> CheckAdvancedParamsForm(const AdvancedParamsForm& form,
                                                                   const AdvancedParams& current, int32_t language)
{
    auto record = current.Encode();
    FieldReader reader(language);
    for (const RecordField& field : kFields) {
        if (!AdvancedParamsControlEnabled(field.control, form))
            continue;
        if (!ReadRecordField(field, form.values, reader, record))
            return *reader.Refusal();
    }
    AdvancedParams result = current;
    result.Decode(record);
    return result;
}

bool AdvancedParamsMayOpen(MachineStatus status)
{
    return status.type == kStatusReady;
}

bool AdvancedParamsPasswordAccepted(std::string_view typed)
{
    return typed == "50318462" || typed == "qv";
}

} // namespace qv
