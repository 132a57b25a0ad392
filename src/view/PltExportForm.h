#pragma once

#include "view/FieldCheck.h"
#include "view/FormValues.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace qv {

// CDlgPltExport, "Plt导出": the scales of the export of the task list, in percent, X above Y. The fields are
// told apart by these numbers in a refusal.
enum PltExportField : int { kPltExportScaleX = 0, kPltExportScaleY = 1 };

inline constexpr UiText kPltExportTitle{"Plt导出", "Plt export"};
inline constexpr std::array<UiText, 2> kPltExportLabels{{
    {"缩放比例 X(百分比)", "Scale X (percent)"},
    {"缩放比例 Y(百分比)", "Scale Y (percent)"},
}};
// What both fields show whenever the dialog opens.
inline constexpr std::string_view kPltExportInitialText = "100";

// The save dialog's filter pairs.
inline constexpr std::array<std::array<std::string_view, 2>, 2> kPltExportFilters{{
    {"HP-GL(*.plt)", "*.plt"},
    {"All file(*.*)", "*.*"},
}};

// The scales in per mille (CSettings::exportScaleX and exportScaleY).
struct PltExportScale {
    int32_t x = 1000;
    int32_t y = 1000;

    bool operator==(const PltExportScale&) const = default;
};

// "确定": each field is a decimal number of percent, any sign; the scale is trunc(percent * 10). A percentage
// whose per mille would not fit 32 bits is refused with the range prompt.
std::variant<PltExportScale, FieldRefusal> CheckPltExportForm(std::string_view x, std::string_view y, int32_t language);

// The name the export writes to: the chosen one, with ".plt" appended unless it is longer than four characters
// and ends in a point and P, L, T in either case.
std::string PltExportFileName(std::string chosen);

} // namespace qv
