#pragma once

#include "hpgl/CCharactor.h"
#include "hpgl/HpglInstruction.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class CSettings;
class Notifier;

// Character size, direction and origin in force when a label is drawn (set by IN, DF, SI, DI, DR, LO).
struct LabelStyle {
    double charHeight = 0.375;   // cm
    double charWidth = 0.285;    // cm
    double direction = 0;        // degrees
    int32_t origin = 1;          // label origin code 1..19
};

// Turns HP-GL label text into strokes with the two stroke fonts "fon_hz.bin" (GBK double-byte glyphs) and
// "fon_en.bin" (single-byte glyphs).
class CLabelRenderer {
public:
    // Resets the label pen, writes missing font files from the embedded ones, then reads both glyph indexes
    // (first the double-byte font, then the single-byte one). A font that cannot be read is reported through
    // the notifier and keeps its previous table.
    void LoadFonts(const CSettings& settings, Notifier& notifier);

    // Draws the label `text` (as collected by the reader) at the pen (penX, penY): the first 512 bytes, cut
    // into runs at CR and LF, each placed by the label origin. The strokes are appended to `out`. Throws
    // InvalidArgument when a glyph must be looked up in a table that is empty.
    void DrawLabel(int32_t penX, int32_t penY, std::string_view text, const LabelStyle& style,
                   std::vector<HpglInstruction>& out);

    const std::vector<CCharactor>& hzGlyphs() const { return hzGlyphs_; }
    const std::vector<CCharactor>& enGlyphs() const { return enGlyphs_; }

private:
    // Implementation owned by the stroke-font code; see CLabelRenderer.cpp.
    std::vector<CCharactor> hzGlyphs_;
    std::vector<CCharactor> enGlyphs_;
    std::string hzPath_;
    std::string enPath_;
    uint16_t hzCell_ = 0;
    uint16_t enScale_ = 0;
    uint16_t enHeight1_ = 0;
    uint16_t enHeight2_ = 0;
    int32_t cx_ = 0, cy_ = 0;   // current label pen point
    int32_t lx_ = 0, ly_ = 0;   // last drawn point
};

} // namespace qv
