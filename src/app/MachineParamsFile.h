#pragma once

#include "app/MachineParams.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// The machine's parameter set as a file: the two records exactly as they travel on the link, nothing else.
//   bytes 0..39    AdvancedParams (the layout of MachineParams.h)
//   bytes 40..99   MachineSettings
// The virtual machine keeps its records in such a file; the command-line tools read one to output a job for
// that machine. The tails the host does not use are kept as they are.
struct MachineParamsFile {
    static constexpr std::size_t kSize = AdvancedParams::kWireSize + MachineSettings::kWireSize;

    std::array<uint8_t, AdvancedParams::kWireSize> advanced{};
    std::array<uint8_t, MachineSettings::kWireSize> settings{};

    // Empty unless `bytes` holds exactly kSize bytes.
    static std::optional<MachineParamsFile> Parse(std::string_view bytes);
    std::string Serialize() const;
    // The records as the host reads them.
    MachineParams Decode() const;
};

} // namespace qv
