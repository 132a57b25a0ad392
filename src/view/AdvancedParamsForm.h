#pragma once

#include "app/MachineParams.h"
#include "link/CommandCodes.h"
#include "link/LinkState.h"
#include "view/FieldCheck.h"
#include "view/FormValues.h"
#include "view/RecordFields.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

namespace qv {

// CDlgAdvPara, "高级参数": the advanced parameter record, behind the password of CDlgPwdInput. The edit fields
// are AdvancedParamsFields(), all in the one group "高级参数".
enum AdvancedParamsControl : int {
    kAdvXPulsesPerMm = 658, // disabled until the gear-ratio button is pressed
    kAdvYPulsesPerMm = 659,
    kAdvOk = 257, // a command of its own, not the framework's OK
    kAdvCancel = 2,
    kAdvScreenshot = 1014,
    kAdvGearRatio = 271,
};

inline constexpr UiText kAdvancedParamsTitle{"高级参数", "Advanced parameters"};
inline constexpr UiText kAdvancedParamsGroup{"高级参数", "Advanced parameters"};

// The edit fields in the order OK reads them.
std::span<const RecordField> AdvancedParamsFields();

struct AdvancedParamsForm {
    FormValues values;
    bool gearRatioEnabled = false; // "修改齿轮比" was pressed
};

AdvancedParamsForm LoadAdvancedParamsForm(const AdvancedParams& params);

bool AdvancedParamsControlEnabled(int control, const AdvancedParamsForm& form);

// OK (257): every edit field checked in order; the first refusal stores nothing. The pulses per millimetre are
// read only once the gear-ratio button has made them editable, and must be positive; until then the record's
// values stay exactly as they are.
std::variant<AdvancedParams, FieldRefusal> CheckAdvancedParamsForm(const AdvancedParamsForm& form,
                                                                   const AdvancedParams& current, int32_t language);
// Queued once the accepted record is the host's copy; the dialog opens only for a connected, ready machine.
inline constexpr uint8_t kAdvancedParamsSaveCode = cmd::kSaveAdvanced;

// The main frame's guard of the dialog: the machine must be ready (else Msg::AdvancedParamsNotReady) and the
// password typed into CDlgPwdInput one of the two (else Msg::PasswordError).
bool AdvancedParamsMayOpen(MachineStatus status);
bool AdvancedParamsPasswordAccepted(std::string_view typed);

// CDlgPwdInput, "输入": one hidden edit field and OK.
inline constexpr int kPasswordField = 524;
inline constexpr int kPasswordOk = 1;
inline constexpr UiText kPasswordTitle{"输入", "Input"};
inline constexpr UiText kPasswordLabel{"请输入密码：", "Please enter the password:"};

} // namespace qv
