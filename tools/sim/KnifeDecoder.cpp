#include "KnifeDecoder.h"

#include "app/LittleEndian.h"

namespace qv::sim {

KnifeData DecodeKnifeRecords(std::span<const uint8_t> data)
{
    KnifeData out;
    if (data.size() % kKnifeRecordSize != 0)
        out.errors.push_back("knife data of " + std::to_string(data.size()) + " bytes is not whole records");
    const std::size_t count = data.size() / kKnifeRecordSize;
    int badCodes = 0;
    int badPads = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const uint8_t* p = data.data() + i * kKnifeRecordSize;
        KnifeRecord r{LoadLE<int32_t>(p), LoadLE<int32_t>(p + 4), p[8], p[9], static_cast<char>(p[10])};
        if (r.code != 'M' && r.code != 'F' && r.code != 'H')
            ++badCodes;
        if (p[11] != 0)
            ++badPads;
        out.records.push_back(r);
    }
    if (badCodes > 0)
        out.errors.push_back(std::to_string(badCodes) + " knife records with an unknown code");
    if (badPads > 0)
        out.errors.push_back(std::to_string(badPads) + " knife records with a non-zero last byte");
    return out;
}

} // namespace qv::sim
