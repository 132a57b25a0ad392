#pragma once

#include "app/AppOptions.h"
#include "view/FieldCheck.h"
#include "view/FormValues.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace qv {

// What the software settings dialog edits: the options and the two display sizes of the drawing view (which
// live in CSetDisp). The dialog leaves Language and ConnectViaNet as they are.
struct SoftSettings : AppOptions {
    int32_t DispSizeX = 1200;
    int32_t DispSizeY = 900;

    bool operator==(const SoftSettings&) const = default;
};

// CDlgSoftSet, "软件设置". The edit fields are SoftSettingsFields(), the check boxes SoftSettingsChecks();
// the other controls are these.
enum SoftSettingsControl : int {
    kSoftPltUnit = 231,       // editable drop-down, SoftSettingsListItems
    kSoftChangeDataDir = 260, // "修改": see DataDirChoice
    kSoftDataDirLink = 1004,  // link label showing DataDir, with it as its target
    kSoftOk = 1,
    kSoftCancel = 2,
};

enum SoftSettingsGroup : int {
    kSoftGroupDrawing,
    kSoftGroupDisplay,
    kSoftGroupCutting,
    kSoftGroupOther,
    kSoftGroupDataDir
};

inline constexpr UiText kSoftSettingsTitle{"软件设置", "Software settings"};
inline constexpr std::array<UiText, 5> kSoftSettingsGroups{{
    {"绘图设置", "Drawing"},
    {"图形显示", "Display"},
    {"切割效果", "Cutting effect"},
    {"其他选项", "Other options"},
    {"数据目录", "Data directory"},
}};
inline constexpr UiText kSoftPltUnitLabel{"PLT文件单位", "PLT file unit"};
// The static note under the half-cut pen.
inline constexpr UiText kSoftNoteText{"注:SP0、SP1识别为笔，笔和半刀以外的全部识别为全刀",
                                      "Note: SP0 and SP1 are the pen; every pen but the pen and the half-cut pen "
                                      "is a full cut"};
inline constexpr UiText kSoftChangeDataDirLabel{"修改", "Change"};

// An edit field and the option it edits. With `perMm` 40 the option counts 1/40 mm and the field shows
// millimetres: the option / 40 on loading, the entered value * 40, truncated, on OK.
struct SoftField {
    int control;
    UiText label;
    int group;
    FieldKind kind;
    std::optional<FieldBounds> bounds;
    int32_t perMm; // 1, or 40 for a length in 1/40 mm
    int32_t SoftSettings::*option;
};

// A check box and the flag it edits.
struct SoftCheck {
    int control;
    UiText label;
    int group;
    int32_t SoftSettings::*option;
};

// The edit fields in the order OK reads them, after the check boxes.
std::span<const SoftField> SoftSettingsFields();
std::span<const SoftCheck> SoftSettingsChecks();
// The items of the PLT unit list in the language given, sorted; an item's index is its PltUnit.
std::vector<std::string> SoftSettingsListItems(int32_t language);

// Every control from the values: a check box is ticked while its flag counts as on (FPNoNeedConfirm only
// when it is 1); the unit list selects PltUnit when that is an item's index.
FormValues LoadSoftSettingsForm(const SoftSettings& settings);

// OK: the check boxes, then the edit fields in order; the first refusal changes nothing. Otherwise `current`
// with every control's value: flags 1 or 0, PltUnit the list's selection (-1 for typed text), a page length
// below 500 as 0.
std::variant<SoftSettings, FieldRefusal> CheckSoftSettingsForm(const FormValues& values, const SoftSettings& current,
                                                               int32_t language);

} // namespace qv
