#pragma once

#include "app/MachineParams.h"
#include "app/MessageCatalog.h"
#include "view/FieldCheck.h"
#include "view/FormValues.h"
#include "view/RecordFields.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace qv {

// CDlgMacPara, "机器设置": the machine settings record. The edit fields are MachineSettingsFields(); the
// other controls are these.
enum MachineSettingsControl : int {
    kMacCartridgeType = 230, // drop-down "HP45", "IUT308"
    kMacHead1 = 201,         // check boxes; at least one stays ticked
    kMacHead2 = 202,
    kMacBidirPrinting = 209,
    kMacSameKnife = 220,
    kMacStopMode = 400, // drop-down, MachineSettingsListItems
    kMacAddress = 623,  // IPv4 address field
    kMacOk = 1,
    kMacCancel = 2,
    kMacScreenshot = 1014,
};

enum MachineSettingsGroup : int { kMacGroupInkjet, kMacGroupCutting, kMacGroupOther, kMacGroupEndOfWork };

// A check box, drop-down list or address field of the dialog and the record byte it edits.
struct ChoiceField {
    int control;
    UiText label;
    int group;
    std::size_t byte;
};

inline constexpr UiText kMachineSettingsTitle{"机器设置", "Machine settings"};
inline constexpr std::array<UiText, 4> kMachineSettingsGroups{{
    {"喷墨参数", "Inkjet"},
    {"切割参数", "Cutting"},
    {"其他参数", "Other"},
    {"工作完成", "End of work"},
}};
inline constexpr UiText kMachineSettingsStopYUnit{"mm", "mm"}; // after the stop position's "Y=" field

// The edit fields in the order OK reads them.
std::span<const RecordField> MachineSettingsFields();
// The check boxes, the two lists and the address field, in the dialog's order.
std::span<const ChoiceField> MachineSettingsChoices();
// The items of a drop-down list of the dialog, in the language given.
std::vector<std::string> MachineSettingsListItems(int control, int32_t language);

struct MachineSettingsForm {
    FormValues values;
    std::array<uint8_t, 4> address{}; // first octet first
};

// Every control from the record: the lists select the stored index (none when it is not an item); heads in use
// 1 ticks head 1, 2 ticks head 2, anything else both.
MachineSettingsForm LoadMachineSettingsForm(const MachineSettings& settings);

// Offline only the machine address and the three buttons can be used.
bool MachineSettingsControlEnabled(int control, bool connected);

// A head check box was clicked and has toggled itself: when that leaves neither ticked, the other one is.
void HeadBoxToggled(FormValues& values, int control);

// OK: every edit field checked in order; the first refusal stores nothing. Otherwise `current` with every
// control's value: heads in use 1, 2 or 0 (both), the lists' indices (a list without a selection keeps the
// byte), the check boxes 1 or 0.
std::variant<MachineSettings, FieldRefusal> CheckMachineSettingsForm(const MachineSettingsForm& form,
                                                                     const MachineSettings& current, int32_t language);

// After an accepted OK, once the new record is the host's copy: online the code that saves it on the machine,
// to be queued; offline the notice that it stays on the host.
struct MachineSettingsSave {
    std::optional<uint8_t> code;
    std::optional<Msg> notice;

    bool operator==(const MachineSettingsSave&) const = default;
};
MachineSettingsSave MachineSettingsSaveAfterOk(bool connected);

} // namespace qv
