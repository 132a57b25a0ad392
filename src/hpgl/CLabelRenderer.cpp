#include "hpgl/CLabelRenderer.h"

#include "app/CSettings.h"
#include "app/InvalidArgument.h"
#include "app/MessageCatalog.h"
#include "app/Notifier.h"
#include "hpgl/EmbeddedFonts.h"
#include "hpgl/ShapeBytes.h"
#include "hpgl/StrokeFontFile.h"
#include "model/Angles.h"
#include "model/Rounding.h"

#include <array>
#include <cmath>

namespace qv {

namespace {

constexpr std::size_t kMaxLabelBytes = 512;
constexpr double kPlotterUnitsPerCm = 400;

// Offsets of the reference point (the top of the first character's cell) from the pen for each label origin:
// a = (perRun * n + perChar) * W along the text, b = across * H across it.
struct OriginOffset {
    double perRun;
    double perChar;
    double across;
};

OriginOffset OffsetOf(int32_t origin)
{
    static constexpr std::array<double, 3> kPerRun{0, -0.5, -1};
    static constexpr std::array<double, 3> kInnerAcross{1, 0.5, 0};
    static constexpr std::array<double, 3> kOuterPerChar{0.25, 0, -0.25};
    static constexpr std::array<double, 3> kOuterAcross{1.25, 0.5, -0.25};
    if (origin >= 1 && origin <= 9) {
        const auto group = static_cast<std::size_t>((origin - 1) / 3);
        const auto row = static_cast<std::size_t>((origin - 1) % 3);
        return {kPerRun[group], 0, kInnerAcross[row]};
    }
    if (origin >= 11 && origin <= 19) {
        const auto group = static_cast<std::size_t>((origin - 11) / 3);
        const auto row = static_cast<std::size_t>((origin - 11) % 3);
        return {kPerRun[group], kOuterPerChar[group], kOuterAcross[row]};
    }
    return OffsetOf(1);
}

double Radians(double degrees)
{
    return degrees * kPi / 180;
}

// Halves away from zero.
double RoundHalfAway(double v)
{
    return v >= 0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5);
}

// Binary search over an index sorted by code. An unsorted index only makes glyphs missing.
const CCharactor* FindGlyph(const std::vector<CCharactor>& table, uint16_t code)
{
    if (table.empty())
        throw InvalidArgument("a label needs a stroke font that could not be read");
    std::size_t lo = 0;
    std::size_t hi = table.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (table[mid].code < code)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo < table.size() && table[lo].code == code ? &table[lo] : nullptr;
}

// The shape bytes of a glyph that is there to draw; false for a missing glyph, one without shape data, or
// one its file no longer holds.
bool ReadShape(const CCharactor* glyph, const StrokeFontFile& file, std::vector<uint8_t>& shape)
{
    if (!glyph || glyph->length == 0)
        return false;
    shape.resize(glyph->length);
    return file.ReadAt(glyph->offset, shape);
}

void ReportUnreadable(Notifier& notifier, Msg message, int32_t language)
{
    notifier.Show(MessageText(message, language), "", MsgButtons::Ok, MsgIcon::Warning);
}

} // namespace

void CLabelRenderer::LoadFonts(const CSettings& settings, Notifier& notifier)
{
    current_ = {};
    lastDrawn_ = {};
    drawnListSize_ = 0;
    missing_.clear();
    labelPoints_ = 0;

    if (auto hz = LoadHzFont(settings.FontHzPath)) {
        hzCell_ = hz->index.header.hzCell;
        enScale_ = hz->index.header.enScale;
        hzGlyphs_ = std::move(hz->index.glyphs);
        hzFile_ = std::move(hz->file);
    } else {
        ReportUnreadable(notifier, Msg::FontHzOpenFailed, settings.Language);
    }
    if (auto en = LoadEnFont(settings.FontEnPath)) {
        enHeight1_ = en->index.header.enHeight1;
        enHeight2_ = en->index.header.enHeight2;
        enGlyphs_ = std::move(en->index.glyphs);
        enFile_ = std::move(en->file);
    } else {
        ReportUnreadable(notifier, Msg::FontEnOpenFailed, settings.Language);
    }
}

void CLabelRenderer::DrawLabel(int32_t penX, int32_t penY, std::string_view text, const LabelStyle& style,
                               HpglInstructionList& out)
{
    text = text.substr(0, kMaxLabelBytes);
    // Each LF moves the following runs up by one character height, whatever the direction.
    const int64_t lineStep = RoundToInt32(style.charHeight * kPlotterUnitsPerCm);
    int64_t lineOffset = 0;
    std::size_t runStart = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool atEnd = i == text.size();
        if (!atEnd && text[i] != '\r' && text[i] != '\n')
            continue;
        if (i > runStart) {
            double x = penX;
            double y = static_cast<double>(penY) + static_cast<double>(lineOffset);
            PlaceLabel(x, y, i - runStart, style);
            RenderLabel(RoundToInt32(x), RoundToInt32(y), text.substr(runStart, i - runStart), style, out);
        }
        if (!atEnd && text[i] == '\n')
            lineOffset += lineStep;
        runStart = i + 1;
    }
}

void CLabelRenderer::PlaceLabel(double& x, double& y, std::size_t n, const LabelStyle& style) const
{
    const double h = style.charHeight * kPlotterUnitsPerCm;
    const double w = style.charWidth * kPlotterUnitsPerCm;
    const double theta = Radians(style.direction);
    const OriginOffset o = OffsetOf(style.origin);
    const double a = o.perRun * static_cast<double>(n) * w + o.perChar * w;
    const double b = o.across * h;
    x += a * std::cos(theta) - b * std::sin(theta);
    y += a * std::sin(theta) + b * std::cos(theta);
}

void CLabelRenderer::RenderLabel(int32_t x, int32_t y, std::string_view run, const LabelStyle& style,
                                 HpglInstructionList& out)
{
    const double theta = Radians(style.direction);
    const RunFrame frame{x, y, std::cos(theta), std::sin(theta),
                         static_cast<double>(Em()) / (style.charHeight * kPlotterUnitsPerCm)};
    const int64_t hzScale = int64_t{enHeight1_} + enHeight2_;
    std::vector<uint8_t> shape;
    int64_t advance = 0;
    for (std::size_t i = 0; i < run.size();) {
        const auto lead = static_cast<uint8_t>(run[i]);
        if (lead < 0x80 || i + 1 == run.size()) {
            const CCharactor* glyph = FindGlyph(enGlyphs_, lead);
            if (ReadShape(glyph, *enFile_, shape)) {
                DrawGlyph(frame, shape, advance, enScale_, out);
                advance += int64_t{glyph->advance} * enScale_;
            } else {
                advance += int64_t{enGlyphs_.front().advance} * enScale_;
                if (!glyph)
                    missing_.insert(lead);
            }
            i += 1;
        } else {
            const auto code = static_cast<uint16_t>(lead << 8 | static_cast<uint8_t>(run[i + 1]));
            const CCharactor* glyph = FindGlyph(hzGlyphs_, code);
            if (ReadShape(glyph, *hzFile_, shape))
                DrawGlyph(frame, shape, advance, hzScale, out);
            else if (!glyph)
                missing_.insert(code);
            advance += hzScale * hzCell_;
            i += 2;
        }
    }
}

void CLabelRenderer::DrawGlyph(const RunFrame& frame, std::span<const uint8_t> shape, int64_t advance, int64_t scale,
                               HpglInstructionList& out)
{
    LabelMoveTo(MapPoint(frame, advance, 0));
    WalkShape(shape, advance, scale, [&](const ShapeMove& m) {
        const CPoint p = MapPoint(frame, m.x, m.y);
        if (m.penDown)
            LabelLineTo(p, out);
        else
            LabelMoveTo(p);
    });
}

// Label units to plotter units: the em from gy = 0 to gy = E spans the character height, its top at the
// reference point, turned by the label direction.
CPoint CLabelRenderer::MapPoint(const RunFrame& frame, int64_t gx, int64_t gy) const
{
    const auto x = static_cast<double>(gx);
    const auto below = static_cast<double>(gy - Em());
    return {TruncToInt32(frame.x + RoundHalfAway((x * frame.cosA - below * frame.sinA) / frame.k)),
            TruncToInt32(frame.y + RoundHalfAway((x * frame.sinA + below * frame.cosA) / frame.k))};
}

void CLabelRenderer::LabelMoveTo(CPoint p)
{
    current_ = p;
}

void CLabelRenderer::LabelLineTo(CPoint p, HpglInstructionList& out)
{
    const bool continues = lastDrawn_ == current_ && current_.x > 0 && current_.y > 0 && !out.empty() &&
                           drawnListSize_ == out.size() && out.back().op == HpglInstruction::OP_POINTS;
    labelPoints_ += continues ? 1 : 2;
    if (labelPoints_ > kMaxLabelPoints)
        throw TooManyLabelPoints{};
    if (!continues) {
        out.Add(HpglInstruction::OP_STROKE_START, {current_.x, current_.y});
        out.Add(HpglInstruction::OP_POINTS);
    }
    out.AddPointToLast(p.x, p.y);
    current_ = p;
    lastDrawn_ = p;
    drawnListSize_ = out.size();
}

} // namespace qv
