#include "view/FieldCheck.h"

#include "app/MessageCatalog.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace qv {

namespace {

enum class Parsed { Number, NotNumber, OutOfRange };

std::string_view Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The framework takes one leading '+'; std::from_chars takes none, and a second sign is no number.
bool TakePlus(std::string_view& text)
{
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        return !text.empty() && text.front() != '-' && text.front() != '+';
    }
    return !text.empty();
}

Parsed ParseNumber(std::string_view text, FieldKind kind, double& value)
{
    text = Trimmed(text);
    if (!TakePlus(text) || (kind == FieldKind::Unsigned && text.front() == '-'))
        return Parsed::NotNumber;
    const char* end = text.data() + text.size();
    std::from_chars_result r{};
    if (kind == FieldKind::Decimal) {
        r = std::from_chars(text.data(), end, value, std::chars_format::general);
        // from_chars also reads "inf" and "nan", which are no numbers to the framework.
        if (r.ec == std::errc() && !std::isfinite(value))
            return Parsed::NotNumber;
    } else {
        int64_t i = 0;
        r = std::from_chars(text.data(), end, i);
        value = static_cast<double>(i);
    }
    if (r.ptr != end || r.ec == std::errc::invalid_argument)
        return Parsed::NotNumber;
    return r.ec == std::errc::result_out_of_range ? Parsed::OutOfRange : Parsed::Number;
}

Msg NotNumberMessage(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Integer:
        return Msg::EnterInteger;
    case FieldKind::Unsigned:
        return Msg::EnterPositiveInteger;
    case FieldKind::Decimal:
        break;
    }
    return Msg::EnterNumber;
}

// Integer and unsigned fields without bounds of their own hold what the widest option holds.
std::optional<FieldBounds> BoundsOf(FieldKind kind, std::optional<FieldBounds> bounds)
{
    if (bounds || kind == FieldKind::Decimal)
        return bounds;
    if (kind == FieldKind::Integer)
        return FieldBounds{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
    return FieldBounds{0, std::numeric_limits<uint32_t>::max()};
}

std::string RangeMessage(FieldKind kind, FieldBounds bounds, int32_t language)
{
    if (kind == FieldKind::Decimal)
        return FormatMessage(Msg::EnterNumberInRange, language,
                             {DecimalFieldText(bounds.min), DecimalFieldText(bounds.max)});
    return FormatMessage(Msg::EnterIntegerInRange, language,
                         {static_cast<int64_t>(bounds.min), static_cast<int64_t>(bounds.max)});
}

} // namespace

std::optional<double> FieldReader::Read(int control, std::string_view text, FieldKind kind,
                                        std::optional<FieldBounds> bounds)
{
    if (refusal_)
        return std::nullopt;
    bounds = BoundsOf(kind, bounds);
    double value = 0;
    const Parsed parsed = ParseNumber(text, kind, value);
    const bool inRange = parsed == Parsed::Number && (!bounds || (value >= bounds->min && value <= bounds->max));
    if (inRange)
        return value;
    if (parsed == Parsed::NotNumber || !bounds)
        refusal_ = FieldRefusal{control, std::string(MessageText(NotNumberMessage(kind), language_))};
    else
        refusal_ = FieldRefusal{control, RangeMessage(kind, *bounds, language_)};
    return std::nullopt;
}

std::string DecimalFieldText(double value)
{
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, r.ptr);
}

} // namespace qv
