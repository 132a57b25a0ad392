#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// How the dialog framework reads the text of an edit field, and what it says when the text is no such number.
enum class FieldKind : uint8_t {
    Integer,  // optional sign and decimal digits: "请输入一个整数。"
    Unsigned, // decimal digits, optionally after '+': "请输入一个正整数。"
    Decimal,  // a decimal number, optionally with fraction and exponent: "请输入一个数字。"
};

// The accepted values of a field, both ends included; the range prompt names them.
struct FieldBounds {
    double min;
    double max;
};

// A field the framework refuses on OK: the control that takes the focus, and the message shown once (with a
// warning icon); nothing of the dialog is stored.
struct FieldRefusal {
    int control = 0;
    std::string message;

    bool operator==(const FieldRefusal&) const = default;
};

// Reads the fields of a form in the order of the calls, as the framework does on OK. The first text that is
// not a number of its kind, or lies outside its bounds, is refused; every read after that returns nothing.
// Integer fields without bounds hold 32 bits, and are refused with the range prompt beyond them; a number
// too large for any field is out of range as well.
class FieldReader {
public:
    explicit FieldReader(int32_t language) : language_(language) {}

    std::optional<double> Read(int control, std::string_view text, FieldKind kind,
                               std::optional<FieldBounds> bounds = std::nullopt);
    const std::optional<FieldRefusal>& Refusal() const { return refusal_; }

private:
    int32_t language_;
    std::optional<FieldRefusal> refusal_;
};

// A decimal number as a field shows it: up to 15 significant digits, without trailing zeros (0.5, 104.25).
std::string DecimalFieldText(double value);

} // namespace qv
