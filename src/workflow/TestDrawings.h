#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv {

class CSettings;

// The seven machine-tuning drawings the program carries (resources/TestPlt), compiled into the core. The
// File menu's commands 3000 to 3006 add them, in this order.
struct TestDrawing {
    int command;
    std::string_view name; // below ExeDir, "TestPlt/10x10.plt"
    std::span<const uint8_t> bytes;
};

std::span<const TestDrawing> TestDrawings();
// The drawing of a command 3000 to 3006; empty for any other number.
std::optional<TestDrawing> TestDrawingOf(int command);

// Writes each test drawing that does not exist below ExeDir from the embedded bytes, atomically, creating
// "TestPlt" when needed. Existing files are left as they are; a file that cannot be written is not reported
// (adding it later simply finds nothing).
void EnsureTestFiles(const CSettings& settings);

} // namespace qv
