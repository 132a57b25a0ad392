#pragma once

#include <cstdint>
#include <span>

namespace qv {

class CSettings;

// The two stroke-font files the program carries (resources/fonts), compiled into the core.
std::span<const uint8_t> EmbeddedFontHz();
std::span<const uint8_t> EmbeddedFontEn();

// Writes each font file that does not exist at settings.FontHzPath / FontEnPath from the embedded bytes,
// atomically, so that an interrupted write never leaves a partial font behind. Existing files are left as
// they are, whatever they hold. A file that cannot be written shows up when the font is opened.
void EnsureFontFiles(const CSettings& settings);

} // namespace qv
