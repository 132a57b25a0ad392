#include "hpgl/EmbeddedFonts.h"

#include "app/AtomicFile.h"
#include "app/CSettings.h"

#include <string>

// The font files are pulled in by the assembler; QV_FONT_DIR is set by the build, which also rebuilds this
// file whenever one of them changes.
#define QV_EMBED_FONT(name, file)                                                                                      \
    ".section .rodata\n"                                                                                               \
    ".balign 16\n"                                                                                                     \
    ".global " name "_begin\n"                                                                                         \
    ".type " name "_begin, @object\n" name "_begin:\n"                                                                 \
    ".incbin \"" QV_FONT_DIR "/" file "\"\n"                                                                           \
    ".global " name "_end\n"                                                                                           \
    ".type " name "_end, @object\n" name "_end:\n"                                                                     \
    ".previous\n"

asm(QV_EMBED_FONT("qv_font_hz", "fon_hz.bin") QV_EMBED_FONT("qv_font_en", "fon_en.bin"));

extern "C" {
extern const uint8_t qv_font_hz_begin[];
extern const uint8_t qv_font_hz_end[];
extern const uint8_t qv_font_en_begin[];
extern const uint8_t qv_font_en_end[];
}

namespace qv {

std::span<const uint8_t> EmbeddedFontHz()
{
    return {qv_font_hz_begin, qv_font_hz_end};
}

std::span<const uint8_t> EmbeddedFontEn()
{
    return {qv_font_en_begin, qv_font_en_end};
}

void EnsureFontFiles(const CSettings& settings)
{
    WriteFileIfMissing(settings.FontHzPath, EmbeddedFontHz());
    WriteFileIfMissing(settings.FontEnPath, EmbeddedFontEn());
}

} // namespace qv
