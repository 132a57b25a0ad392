#include "view/RecordFields.h"

#include "app/LittleEndian.h"

#include <cassert>

namespace qv {

std::string RecordFieldText(const RecordField& field, std::span<const uint8_t> record)
{
    const uint8_t* p = record.data() + field.byte;
    switch (field.type) {
    case RecordType::U8:
        return std::to_string(p[0]);
    case RecordType::U16:
        return std::to_string(LoadLE<uint16_t>(p));
    case RecordType::I16:
        return std::to_string(LoadLE<int16_t>(p));
    case RecordType::F64:
        break;
    }
    return DecimalFieldText(LoadLE<double>(p));
}

bool ReadRecordField(const RecordField& field, const FormValues& values, FieldReader& reader, std::span<uint8_t> record)
{
    const std::optional<double> value =
        reader.Read(field.control, values.texts.at(field.control), field.kind, field.bounds);
    if (!value)
        return false;
    // The bounds of every integer field lie inside its type, so the conversions below are exact.
    uint8_t* p = record.data() + field.byte;
    switch (field.type) {
    case RecordType::U8:
        assert(*value >= 0 && *value <= 255);
        p[0] = static_cast<uint8_t>(*value);
        break;
    case RecordType::U16:
        assert(*value >= 0 && *value <= 65535);
        StoreLE(p, static_cast<uint16_t>(*value));
        break;
    case RecordType::I16:
        assert(*value >= -32768 && *value <= 32767);
        StoreLE(p, static_cast<int16_t>(*value));
        break;
    case RecordType::F64:
        StoreLE(p, *value);
        break;
    }
    return true;
}

} // namespace qv
