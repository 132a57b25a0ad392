#include "view/PltExportForm.h"

#include <cmath>

namespace qv {

namespace {

// The percentages whose per mille fits a signed 32-bit scale.
constexpr FieldBounds kPercent{-214748364.8, 214748364.7};

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::variant<PltExportScale, FieldRefusal> CheckPltExportForm(std::string_view x, std::string_view y, int32_t language)
{
    FieldReader reader(language);
    const auto px = reader.Read(kPltExportScaleX, x, FieldKind::Decimal, kPercent);
    const auto py = reader.Read(kPltExportScaleY, y, FieldKind::Decimal, kPercent);
    if (reader.Refusal())
        return *reader.Refusal();
    return PltExportScale{static_cast<int32_t>(std::trunc(*px * 10)), static_cast<int32_t>(std::trunc(*py * 10))};
}

std::string PltExportFileName(std::string chosen)
{
    const std::size_t n = chosen.size();
    const bool hasExtension = n > 4 && chosen[n - 4] == '.' && Lower(chosen[n - 3]) == 'p' &&
                              Lower(chosen[n - 2]) == 'l' && Lower(chosen[n - 1]) == 't';
    if (!hasExtension)
        chosen += ".plt";
    return chosen;
}

} // namespace qv
