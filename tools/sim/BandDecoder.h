#pragma once

#include "PrintedImage.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv::sim {

// A raster band ("P" segment) as the machine receives it: the band's row records, (R + 30) rows of 44
// ("HP45") or 88 ("IUT308") bytes, compressed as little-endian 16-bit words in which every non-zero word
// stands for itself and the pair (0, count) stands for count zero words (count 1..65000).
//
// Which head prints a row record's bytes where (band a, band width w, n nozzles per head, d head 2 position):
// - columns: with both heads in use, head 1's nozzle q prints band column q and head 2's nozzle q column
//   n - overlap + q (w = 2n - overlap); with one head in use (heads in use 1 or 2) that head's nozzle q prints
//   column q (w = n). Band a starts at X pixel a * w.
// - rows: the trailing head sits d rows behind the leading one, so its row record j lands on row j - d.
//   "HP45": with both heads in use head 2 trails with holder type 0, head 1 with holder type 1; a head in use
//   alone lands where the host puts it, head 1 on its own row and head 2 d rows on, whatever the holder type.
//   On odd bands printed bidirectionally the distance is d - 1. "IUT308": head 2 trails by d whatever the
//   holder type and band.

// Expands the zero runs; empty when the data is not whole words or a run pair is cut off or counts zero.
std::optional<std::vector<uint16_t>> ExpandZeroRuns(std::span<const uint8_t> compressed);

// The machine's print settings (from its own parameter records).
struct RasterSetup {
    uint8_t cartridgeType = 0; // 0 "HP45", 1 "IUT308"
    uint8_t headsInUse = 0;    // 0 both, 1 head 1, 2 head 2
    uint8_t headOverlap = 1;
    uint8_t head2Position = 150;
    uint8_t bidirPrinting = 1;
    uint8_t holderType = 0;

    int BandWidth() const;
    // Rows the given head's data lands before its row index in band `band` (head 1 or 2).
    int Lag(int head, int band) const;
};

struct BandResult {
    int rows = 0;            // row records found
    int64_t inkPixels = 0;   // bits that fired a nozzle
    int64_t offMaterial = 0; // fired before the first row of the material
    std::vector<std::string> errors;
};

// Decodes band `band` of a job with `rowsPerBand` R and lays its ink into `image`. The band must hold exactly
// (R + 30) row records; bits that fire no nozzle or a head not in use are errors.
BandResult DecodeBand(const RasterSetup& setup, int band, int rowsPerBand, std::span<const uint8_t> compressed,
                      PrintedImage& image);

} // namespace qv::sim
