#include "link/JobRecords.h"

#include "app/LittleEndian.h"

namespace qv {

std::array<uint8_t, JobStartRecord::kSize> JobStartRecord::Encode() const
{
    std::array<uint8_t, kSize> wire{};
    StoreLE(wire.data() + 0, xReference);
    StoreLE(wire.data() + 4, rowsPerBand);
    StoreLE(wire.data() + 8, segmentCount);
    return wire;
}

std::array<uint8_t, SegmentRecord::kSize> SegmentRecord::Encode() const
{
    std::array<uint8_t, kSize> wire{};
    StoreLE(wire.data() + 0, index);
    StoreLE(wire.data() + 2, length);
    wire[6] = kind;
    return wire;
}

std::array<uint8_t, JobHeader::kSize> JobHeader::Encode() const
{
    std::array<uint8_t, kSize> wire{};
    StoreLE(wire.data() + 0, uint16_t{0});
    StoreLE(wire.data() + 2, segmentCount);
    StoreLE(wire.data() + 4, knifeRecordCount);
    return wire;
}

ProgressReply ProgressReply::Decode(std::span<const uint8_t, kSize> wire)
{
    return {LoadLE<uint16_t>(wire.data()), {wire[2], wire[3]}};
}

MachinePoint DecodePosition(std::span<const uint8_t, kPositionReplySize> wire)
{
    return {LoadLE<int32_t>(wire.data()), LoadLE<int32_t>(wire.data() + 4)};
}

uint32_t DecodeVersion(std::span<const uint8_t, kVersionReplySize> wire)
{
    return LoadLE<uint32_t>(wire.data());
}

} // namespace qv
