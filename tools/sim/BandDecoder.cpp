#include "BandDecoder.h"

#include "NozzleMap.h"
#include "app/LittleEndian.h"

namespace qv::sim {

std::optional<std::vector<uint16_t>> ExpandZeroRuns(std::span<const uint8_t> compressed)
{
    if (compressed.size() % 2 != 0)
        return std::nullopt;
    std::vector<uint16_t> words;
    const std::size_t count = compressed.size() / 2;
    for (std::size_t i = 0; i < count; ++i) {
        const auto w = LoadLE<uint16_t>(compressed.data() + 2 * i);
        if (w != 0) {
            words.push_back(w);
            continue;
        }
        if (i + 1 >= count)
            return std::nullopt;
        const auto run = LoadLE<uint16_t>(compressed.data() + 2 * ++i);
        if (run == 0)
            return std::nullopt;
        words.insert(words.end(), run, 0);
    }
    return words;
}

int RasterSetup::BandWidth() const
{
    const int n = NozzleMapFor(cartridgeType).nozzles;
    return headsInUse == 0 ? 2 * n - headOverlap : n;
}

int RasterSetup::Lag(int head, int band) const
{
    if (cartridgeType == 1)
        return head == 2 ? head2Position : 0;
    const int d = head2Position - (bidirPrinting != 0 && band % 2 == 1 ? 1 : 0);
    // The holder type swaps the heads only when both print; a head printing alone keeps its own half's place.
    const int trailing = headsInUse == 0 && holderType == 1 ? 1 : 2;
    return head == trailing ? d : 0;
}

BandResult DecodeBand(const RasterSetup& setup, int band, int rowsPerBand, std::span<const uint8_t> compressed,
                      PrintedImage& image)
{
    BandResult result;
    const NozzleMap& map = NozzleMapFor(setup.cartridgeType);
    const auto words = ExpandZeroRuns(compressed);
    if (!words) {
        result.errors.push_back("band " + std::to_string(band) + ": damaged compression");
        return result;
    }
    const std::size_t rowWords = static_cast<std::size_t>(map.RowBytes()) / 2;
    const std::size_t rowCount = words->size() / rowWords;
    result.rows = static_cast<int>(rowCount);
    const int expected = rowsPerBand + 30;
    if (words->size() % rowWords != 0 || result.rows != expected) {
        result.errors.push_back("band " + std::to_string(band) + ": " + std::to_string(words->size() * 2) +
                                " bytes, expected " + std::to_string(expected) + " rows of " +
                                std::to_string(map.RowBytes()) + " bytes");
        return result;
    }
    const int width = setup.BandWidth();
    const int x0 = band * width;
    image.Reserve(x0 + width, expected);

    int64_t strayBits = 0;
    int64_t idleHeadBits = 0;
    for (std::size_t j = 0; j < rowCount; ++j) {
        uint8_t row[88];
        for (std::size_t w = 0; w < rowWords; ++w)
            StoreLE(row + 2 * w, (*words)[j * rowWords + w]);
        for (int head = 1; head <= 2; ++head) {
            const uint8_t* bytes = row + (head - 1) * map.groups;
            const bool inUse = setup.headsInUse == 0 || setup.headsInUse == head;
            const int columnBase = setup.headsInUse == 0 && head == 2 ? map.nozzles - setup.headOverlap : 0;
            const int y = static_cast<int>(j) - setup.Lag(head, band);
            for (int g = 0; g < map.groups; ++g) {
                for (int bit = 0; bit < 8; ++bit) {
                    if (!(bytes[g] & (1u << bit)))
                        continue;
                    const int nozzle = map.nozzleOf[g][bit];
                    if (nozzle == NozzleMap::kNone) {
                        ++strayBits;
                    } else if (!inUse) {
                        ++idleHeadBits;
                    } else if (y < 0) {
                        ++result.offMaterial;
                    } else {
                        image.Set(x0 + columnBase + nozzle, y);
                        ++result.inkPixels;
                    }
                }
            }
        }
    }
    if (strayBits > 0)
        result.errors.push_back("band " + std::to_string(band) + ": " + std::to_string(strayBits) +
                                " bits that fire no nozzle");
    if (idleHeadBits > 0)
        result.errors.push_back("band " + std::to_string(band) + ": " + std::to_string(idleHeadBits) +
                                " bits for a head not in use");
    return result;
}

} // namespace qv::sim
