#pragma once

#include "view/FieldCheck.h"
#include "view/FormValues.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace qv {

// How a field of a machine parameter record is held on the wire.
enum class RecordType : uint8_t { U8, U16, I16, F64 };

// One edit field of a parameter dialog and the record bytes it edits.
struct RecordField {
    int control;
    UiText label;
    int group; // index into the dialog's groups
    FieldKind kind;
    std::optional<FieldBounds> bounds; // what OK accepts; the label may say otherwise
    std::size_t byte;
    RecordType type;
};

// The text the field shows for the record's value.
std::string RecordFieldText(const RecordField& field, std::span<const uint8_t> record);

// Reads the field's text and stores the number at its bytes of `record`; false once the reader has refused
// a field (this or an earlier one), leaving `record` as it was.
bool ReadRecordField(const RecordField& field, const FormValues& values, FieldReader& reader,
                     std::span<uint8_t> record);

} // namespace qv
