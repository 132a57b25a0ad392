#pragma once

#include "BandDecoder.h"
#include "KnifeDecoder.h"
#include "PrintedImage.h"

#include "app/MachineParams.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv::sim {

// Bulk job data travels in chunks of this many bytes, the last one padded.
constexpr std::size_t kBulkChunk = 400;

// The payloads of the job commands as the machine reads them, little-endian:
//   job start (52, 53), 10 bytes:  i32 X reference (pulses)  i32 rows per band R  u16 segment count
//   segment (54), 7 bytes:         u16 index  u32 length in bytes  u8 kind 'P' (raster band) or 'C' (knife data)
//   job header (55), 6 bytes:      u16 0  u16 segment count  u16 knife record count
struct SegmentEntry {
    uint16_t index = 0;
    uint32_t length = 0;
    char kind = 'P';
};

struct BandReport {
    int index = 0;
    uint32_t bytes = 0;
    int rows = 0;
    int64_t inkPixels = 0;
};

// One job as received, checked and decoded.
struct JobReport {
    int number = 0;
    uint8_t startCode = 0;
    int32_t xReference = 0;
    int32_t rowsPerBand = 0;
    uint16_t startSegments = 0;
    bool headerSeen = false;
    uint16_t headerSegments = 0;
    uint16_t headerKnifeRecords = 0;
    std::size_t bulkBytes = 0;
    bool bulkPadded = false;            // arrived in 400-byte chunks (Ethernet)
    std::vector<SegmentEntry> segments; // in index order
    std::vector<BandReport> bands;
    std::vector<KnifeRecord> knife;
    PrintedImage image;
    int64_t inkOffMaterial = 0;
    bool cancelled = false;
    std::vector<std::string> errors;

    bool Ok() const { return errors.empty(); }
};

// Collects a job from its start command to its header, then checks and decodes it.
class SimJob {
public:
    SimJob(int number, uint8_t startCode, std::span<const uint8_t> startRecord);

    void AddBulk(std::span<const uint8_t> data, bool padded);
    void AddSegment(std::span<const uint8_t> record);
    // The header ends the job's data: the segment table is checked against the bulk data and the header,
    // and every segment is decoded with the machine's parameters.
    void Finish(std::span<const uint8_t> header, const MachineParams& machine);

    uint16_t SegmentCount() const { return report_.headerSeen ? report_.headerSegments : report_.startSegments; }
    JobReport& Report() { return report_; }

private:
    void Check();
    void Decode(const MachineParams& machine);

    JobReport report_;
    std::vector<uint8_t> bulk_;
    std::vector<std::optional<SegmentEntry>> table_;
};

} // namespace qv::sim
