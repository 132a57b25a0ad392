// quorvane-fontgen: writes the two stroke-font files "fon_en.bin" and "fon_hz.bin" that the program carries.
//
//   quorvane-fontgen OUTDIR [--hershey FILE.jhf] [--cjk FONTFILE]
//
// fon_en.bin: the printable ASCII glyphs 32..126 of a single-stroke Hershey font, as drawn (one line per stroke).
// fon_hz.bin: every GB2312 double-byte code 0xA1A1..0xF7FE the outline font covers, each contour of a glyph
// flattened into one closed stroke.
//
// Both fonts share the label em: the single-byte em is the Hershey cap height (baseline to capital top), and
// the double-byte glyphs are scaled so that the ink of all the Chinese characters together spans that em.

#include "Gb2312.h"
#include "HersheyFont.h"
#include "OutlineFont.h"
#include "Simplify.h"

#include "app/AtomicFile.h"
#include "hpgl/ShapeBytes.h"
#include "hpgl/StrokeFontFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv::fontgen {

namespace {

constexpr const char* kDefaultHershey = "/usr/share/hershey-fonts/rowmans.jhf";
constexpr const char* kDefaultCjk = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

// Single-byte glyph units -> label units, and so the double-byte em in double-byte glyph units.
constexpr uint16_t kEnScale = 128;
// Curves are flattened to within this many double-byte glyph units, and points are dropped while the
// outline stays within kSimplifyTolerance of the dropped ones.
constexpr double kFlattenTolerance = 0.25;
constexpr double kSimplifyTolerance = 0.5;

struct Options {
    std::string outDir;
    std::string hershey = kDefaultHershey;
    std::string cjk = kDefaultCjk;
};

Options ParseOptions(int argc, char** argv)
{
    constexpr const char* kUsage = "usage: quorvane-fontgen OUTDIR [--hershey FILE.jhf] [--cjk FONTFILE]";
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--hershey" || arg == "--cjk") && i + 1 < argc)
            (arg == "--hershey" ? options.hershey : options.cjk) = argv[++i];
        else if (options.outDir.empty() && !arg.starts_with("-"))
            options.outDir = arg;
        else
            throw std::runtime_error(kUsage);
    }
    if (options.outDir.empty())
        throw std::runtime_error(kUsage);
    if (!options.outDir.ends_with('/'))
        options.outDir += '/';
    return options;
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes)
{
    if (!WriteFileAtomically(path, std::span(reinterpret_cast<const char*>(bytes.data()), bytes.size())))
        throw std::runtime_error(path + ": cannot be written");
    std::printf("%s: %zu bytes\n", path.c_str(), bytes.size());
}

struct YRange {
    int top = std::numeric_limits<int>::max(); // smallest y: Hershey y grows downward
    int bottom = std::numeric_limits<int>::min();
};

YRange RangeOf(const HersheyGlyph& glyph)
{
    YRange r;
    for (const GlyphPolyline& stroke : glyph.strokes)
        for (const GlyphPoint& p : stroke) {
            r.top = std::min(r.top, p.y);
            r.bottom = std::max(r.bottom, p.y);
        }
    return r;
}

// The em runs from the baseline (the foot of 'H') to the top of 'H'; enHeight1 is the x-height (top of 'x')
// and enHeight2 the rest up to the capitals; the reserved field keeps the descender depth (foot of 'p').
EnFontHeader EnMetrics(const std::vector<HersheyGlyph>& glyphs, int& baseline)
{
    const auto at = [&](char c) -> const HersheyGlyph& { return glyphs.at(static_cast<std::size_t>(c - ' ')); };
    const YRange capital = RangeOf(at('H'));
    baseline = capital.bottom;
    const int xTop = RangeOf(at('x')).top;
    const int descent = RangeOf(at('p')).bottom - baseline;
    return {static_cast<uint16_t>(baseline - xTop), static_cast<uint16_t>(xTop - capital.top),
            static_cast<uint16_t>(descent)};
}

EnFontHeader WriteEnFont(const Options& options)
{
    const std::vector<HersheyGlyph> hershey = ReadHersheyFont(options.hershey);
    if (hershey.size() < 95)
        throw std::runtime_error(options.hershey + ": fewer than the 95 printable ASCII glyphs");
    int baseline = 0;
    const EnFontHeader header = EnMetrics(hershey, baseline);

    std::vector<GlyphShape> glyphs;
    for (uint16_t code = 32; code <= 126; ++code) {
        const HersheyGlyph& h = hershey[code - 32u];
        std::vector<GlyphPolyline> strokes;
        for (const GlyphPolyline& stroke : h.strokes) {
            GlyphPolyline s;
            for (const GlyphPoint& p : stroke)
                s.push_back({p.x - h.left, baseline - p.y});
            strokes.push_back(std::move(s));
        }
        glyphs.push_back({code, static_cast<uint16_t>(h.right - h.left), EncodeShape(strokes, kEnScale)});
    }
    Write(options.outDir + "fon_en.bin", EncodeEnFont(header, glyphs));
    return header;
}

struct HanziSource {
    uint16_t code;
    std::vector<Contour> contours;
};

bool IsHanziRow(uint16_t code)
{
    return code >= 0xB0A1;
}

void WriteHzFont(const Options& options, const EnFontHeader& en)
{
    const OutlineFont font(options.cjk);
    const Gb2312ToUnicode toUnicode;
    const double upem = font.UnitsPerEm();

    // Read every covered code, flattened finely in font units; the ink of the Chinese characters gives the scale.
    std::vector<HanziSource> sources;
    double inkBottom = std::numeric_limits<double>::max();
    double inkTop = std::numeric_limits<double>::lowest();
    const double fontTolerance = kFlattenTolerance * upem / kEnScale;
    for (unsigned lead = 0xA1; lead <= 0xF7; ++lead) {
        for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
            const auto code = static_cast<uint16_t>(lead << 8 | trail);
            const std::optional<char32_t> character = toUnicode(code);
            if (!character)
                continue;
            std::optional<std::vector<Contour>> contours = font.Contours(*character, fontTolerance);
            if (!contours || contours->empty())
                continue;
            if (IsHanziRow(code))
                for (const Contour& c : *contours)
                    for (const Vec2& p : c) {
                        inkBottom = std::min(inkBottom, p.y);
                        inkTop = std::max(inkTop, p.y);
                    }
            sources.push_back({code, std::move(*contours)});
        }
    }
    if (sources.empty() || inkTop <= inkBottom)
        throw std::runtime_error(options.cjk + ": covers no GB2312 Chinese character");

    const double scale = kEnScale / (inkTop - inkBottom);
    const auto toGrid = [&](Vec2 p) { return Vec2{p.x * scale, (p.y - inkBottom) * scale}; };
    const HzFontHeader header{static_cast<uint16_t>(std::lround(upem * scale)), kEnScale};
    const int64_t shapeScale = int64_t{en.enHeight1} + en.enHeight2;

    std::vector<GlyphShape> glyphs;
    for (const HanziSource& source : sources) {
        std::vector<GlyphPolyline> strokes;
        for (const Contour& contour : source.contours)
            strokes.push_back(ToGridPolyline(contour, toGrid, kSimplifyTolerance));
        std::vector<uint8_t> shape = EncodeShape(strokes, shapeScale);
        if (!shape.empty())
            glyphs.push_back({source.code, 0, std::move(shape)});
    }
    std::printf("%s (%s): %zu double-byte glyphs, cell %u, em %u\n", options.cjk.c_str(), font.FamilyName().c_str(),
                glyphs.size(), header.hzCell, header.enScale);
    Write(options.outDir + "fon_hz.bin", EncodeHzFont(header, glyphs));
}

} // namespace

} // namespace qv::fontgen

int main(int argc, char** argv)
{
    try {
        const qv::fontgen::Options options = qv::fontgen::ParseOptions(argc, argv);
        const qv::EnFontHeader en = qv::fontgen::WriteEnFont(options);
        qv::fontgen::WriteHzFont(options, en);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quorvane-fontgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
