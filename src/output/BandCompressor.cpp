#include "output/BandCompressor.h"

#include "app/LittleEndian.h"

namespace qv {

std::optional<std::size_t> CompressZeroRuns(std::span<const uint8_t> rows, std::span<uint8_t> out)
{
    if (rows.size() % 2 != 0 || out.size() / 2 < rows.size())
        return std::nullopt;
    uint8_t* o = out.data();
    const auto put = [&o](uint16_t word) {
        StoreLE(o, word);
        o += 2;
    };
    uint32_t run = 0;
    const auto closeRun = [&] {
        put(0);
        put(static_cast<uint16_t>(run));
        run = 0;
    };
    for (std::size_t i = 0; i < rows.size(); i += 2) {
        const auto word = LoadLE<uint16_t>(rows.data() + i);
        if (word == 0) {
            if (++run == kMaxZeroRun)
                closeRun();
            continue;
        }
        if (run > 0)
            closeRun();
        put(word);
    }
    if (run > 0)
        closeRun();
    return static_cast<std::size_t>(o - out.data());
}

} // namespace qv
