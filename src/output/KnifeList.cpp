#include "output/KnifeList.h"

#include "app/InvalidArgument.h"
#include "app/LittleEndian.h"

#include <algorithm>

namespace qv {
namespace {

// Speed and look-ahead travel as one byte each; a value beyond a byte is sent as the fastest the byte says,
// never wrapped round to a slow one.
uint8_t ToByte(int32_t v)
{
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

} // namespace

void EncodeKnifeData(const KnifeList& list, std::span<uint8_t> out)
{
    if (out.size() / KnifeList::kWireRecordSize < list.records.size())
        throw InvalidArgument("knife buffer smaller than the knife records");
    uint8_t* p = out.data();
    for (const KnifeRecord& r : list.records) {
        StoreLE(p, r.x);
        StoreLE(p + 4, r.y);
        p[8] = ToByte(r.speed);
        p[9] = ToByte(r.lookAhead);
        p[10] = static_cast<uint8_t>(r.code);
        p[11] = 0;
        p += KnifeList::kWireRecordSize;
    }
}

} // namespace qv
