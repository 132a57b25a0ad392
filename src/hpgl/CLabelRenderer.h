#pragma once

#include "hpgl/CCharactor.h"
#include "hpgl/HpglInstructionList.h"
#include "model/CPoint.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <span>
#include <string_view>
#include <vector>

namespace qv {

class CSettings;
class Notifier;
class StrokeFontFile;

// Character size, direction and origin in force when a label is drawn (set by IN, DF, SI, DI, DR, LO).
struct LabelStyle {
    double charHeight = 0.375; // cm
    double charWidth = 0.285;  // cm
    double direction = 0;      // degrees
    int32_t origin = 1;        // label origin code 1..19
};

// Turns HP-GL label text into strokes with the two stroke fonts "fon_hz.bin" (GBK double-byte glyphs) and
// "fon_en.bin" (single-byte glyphs).
class CLabelRenderer {
public:
    // The most label points one drawing may make. Every glyph stroke becomes a curve of its own, so a file of
    // long labels grows about a thousandfold in memory; past this the drawing is refused.
    static constexpr std::size_t kMaxLabelPoints = 1'000'000;
    // Thrown by DrawLabel once the drawing's labels pass kMaxLabelPoints.
    struct TooManyLabelPoints {};

    // Resets the label pen, writes missing font files from the embedded ones, then reads both glyph indexes
    // (first the double-byte font, then the single-byte one). A font that cannot be read is reported through
    // the notifier and keeps its previous table.
    void LoadFonts(const CSettings& settings, Notifier& notifier);

    // Draws the label `text` (as collected by the reader) at the pen (penX, penY): the first 512 bytes, cut
    // into runs at CR and LF, each placed by the label origin. The strokes are appended to `out`. Throws
    // InvalidArgument when a glyph must be looked up in a table that is empty, TooManyLabelPoints when the
    // labels since LoadFonts pass kMaxLabelPoints.
    void DrawLabel(int32_t penX, int32_t penY, std::string_view text, const LabelStyle& style,
                   HpglInstructionList& out);

    const std::vector<CCharactor>& hzGlyphs() const { return hzGlyphs_; }
    const std::vector<CCharactor>& enGlyphs() const { return enGlyphs_; }
    // Codes labels needed since LoadFonts that neither table holds.
    const std::set<uint16_t>& missingGlyphs() const { return missing_; }

private:
    // Where and how the glyphs of one run are drawn: the run's reference point, the direction and the
    // label-unit to plotter-unit divisor k.
    struct RunFrame {
        int32_t x = 0;
        int32_t y = 0;
        double cosA = 1;
        double sinA = 0;
        double k = 1;
    };

    int64_t Em() const { return (int64_t{enHeight1_} + enHeight2_) * enScale_; }
    void PlaceLabel(double& x, double& y, std::size_t n, const LabelStyle& style) const;
    void RenderLabel(int32_t x, int32_t y, std::string_view run, const LabelStyle& style, HpglInstructionList& out);
    void DrawGlyph(const RunFrame& frame, std::span<const uint8_t> shape, int64_t advance, int64_t scale,
                   HpglInstructionList& out);
    CPoint MapPoint(const RunFrame& frame, int64_t gx, int64_t gy) const;
    void LabelMoveTo(CPoint p);
    void LabelLineTo(CPoint p, HpglInstructionList& out);

    std::vector<CCharactor> hzGlyphs_;
    std::vector<CCharactor> enGlyphs_;
    // The files the tables were read from, kept open for the shape bytes.
    std::shared_ptr<const StrokeFontFile> hzFile_;
    std::shared_ptr<const StrokeFontFile> enFile_;
    // Until a font is read, its header values are ones that keep the em non-zero (an unread font is never
    // drawn from, so they only keep the other font's arithmetic finite).
    uint16_t hzCell_ = 0;
    uint16_t enScale_ = 1;
    uint16_t enHeight1_ = 1;
    uint16_t enHeight2_ = 0;
    CPoint current_;   // current label pen point
    CPoint lastDrawn_; // last drawn point
    // Size of the instruction list right after the last point was drawn: a stroke is continued only while
    // nothing else has been appended since.
    std::size_t drawnListSize_ = 0;
    std::set<uint16_t> missing_;
    std::size_t labelPoints_ = 0; // drawn since LoadFonts
};

} // namespace qv
