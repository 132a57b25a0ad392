#include "SimJob.h"

#include "app/LittleEndian.h"

namespace qv::sim {

namespace {

constexpr std::size_t kStartRecordSize = 10;
constexpr std::size_t kSegmentRecordSize = 7;
constexpr std::size_t kHeaderSize = 6;

} // namespace

SimJob::SimJob(int number, uint8_t startCode, std::span<const uint8_t> startRecord)
{
    report_.number = number;
    report_.startCode = startCode;
    if (startRecord.size() != kStartRecordSize) {
        report_.errors.push_back("job start record of " + std::to_string(startRecord.size()) + " bytes");
        return;
    }
    report_.xReference = LoadLE<int32_t>(startRecord.data());
    report_.rowsPerBand = LoadLE<int32_t>(startRecord.data() + 4);
    report_.startSegments = LoadLE<uint16_t>(startRecord.data() + 8);
}

void SimJob::AddBulk(std::span<const uint8_t> data, bool padded)
{
    bulk_.insert(bulk_.end(), data.begin(), data.end());
    report_.bulkBytes = bulk_.size();
    report_.bulkPadded = report_.bulkPadded || padded;
}

void SimJob::AddSegment(std::span<const uint8_t> record)
{
    if (record.size() != kSegmentRecordSize) {
        report_.errors.push_back("segment record of " + std::to_string(record.size()) + " bytes");
        return;
    }
    const SegmentEntry e{LoadLE<uint16_t>(record.data()), LoadLE<uint32_t>(record.data() + 2),
                         static_cast<char>(record[6])};
    if (e.index >= 200) {
        report_.errors.push_back("segment index " + std::to_string(e.index) + " beyond the table of 200");
        return;
    }
    if (table_.size() <= e.index)
        table_.resize(e.index + 1u);
    // A record sent again after a lost acknowledgement simply replaces the first one.
    table_[e.index] = e;
}

void SimJob::Finish(std::span<const uint8_t> header, const MachineParams& machine)
{
    if (header.size() != kHeaderSize) {
        report_.errors.push_back("job header of " + std::to_string(header.size()) + " bytes");
        return;
    }
    report_.headerSeen = true;
    if (LoadLE<uint16_t>(header.data()) != 0)
        report_.errors.push_back("job header does not start with 0");
    report_.headerSegments = LoadLE<uint16_t>(header.data() + 2);
    report_.headerKnifeRecords = LoadLE<uint16_t>(header.data() + 4);
    Check();
    if (report_.Ok())
        Decode(machine);
}

void SimJob::Check()
{
    JobReport& r = report_;
    if (r.headerSegments != r.startSegments)
        r.errors.push_back("header counts " + std::to_string(r.headerSegments) + " segments, job start " +
                           std::to_string(r.startSegments));
    if (table_.size() > r.headerSegments)
        r.errors.push_back("segment table has entries beyond the " + std::to_string(r.headerSegments) + " announced");
    std::size_t total = 0;
    for (uint16_t i = 0; i < r.headerSegments; ++i) {
        if (i >= table_.size() || !table_[i]) {
            r.errors.push_back("segment " + std::to_string(i) + " missing from the table");
            continue;
        }
        const SegmentEntry& e = *table_[i];
        r.segments.push_back(e);
        total += e.length;
        if (e.kind == 'C') {
            if (i + 1 != r.headerSegments)
                r.errors.push_back("knife data is not the last segment");
            // The header's count is 16 bits wide while a job may hold up to 131070 records: the segment length
            // carries the whole count, the header its low 16 bits.
            if (e.length % kKnifeRecordSize != 0 ||
                static_cast<uint16_t>(e.length / kKnifeRecordSize) != r.headerKnifeRecords)
                r.errors.push_back("knife segment of " + std::to_string(e.length) + " bytes, header announces " +
                                   std::to_string(r.headerKnifeRecords) + " records");
        } else if (e.kind != 'P') {
            r.errors.push_back("segment " + std::to_string(i) + " of unknown kind " + std::to_string(e.kind));
        }
    }
    const bool hasKnife = !r.segments.empty() && r.segments.back().kind == 'C';
    if (!hasKnife && r.headerKnifeRecords != 0)
        r.errors.push_back("header announces knife records but no knife segment");
    // Over Ethernet the stream is whole 400-byte chunks, the last one padded.
    const std::size_t expected = r.bulkPadded ? (total + kBulkChunk - 1) / kBulkChunk * kBulkChunk : total;
    if (r.bulkBytes != expected)
        r.errors.push_back("segments add up to " + std::to_string(total) + " bytes, bulk data has " +
                           std::to_string(r.bulkBytes));
}

void SimJob::Decode(const MachineParams& machine)
{
    JobReport& r = report_;
    const RasterSetup setup{static_cast<uint8_t>(machine.settings.cartridgeType),
                            machine.settings.headsInUse,
                            machine.settings.headOverlap,
                            machine.settings.head2Position,
                            machine.settings.bidirPrinting,
                            machine.advanced.holderType};
    std::size_t offset = 0;
    int band = 0;
    for (const SegmentEntry& e : r.segments) {
        const std::span<const uint8_t> data(bulk_.data() + offset, e.length);
        offset += e.length;
        if (e.kind == 'C') {
            KnifeData knife = DecodeKnifeRecords(data);
            r.knife = std::move(knife.records);
            r.errors.insert(r.errors.end(), knife.errors.begin(), knife.errors.end());
            continue;
        }
        BandResult b = DecodeBand(setup, band, r.rowsPerBand, data, r.image);
        r.bands.push_back({band, e.length, b.rows, b.inkPixels});
        r.inkOffMaterial += b.offMaterial;
        r.errors.insert(r.errors.end(), b.errors.begin(), b.errors.end());
        ++band;
    }
}

} // namespace qv::sim
