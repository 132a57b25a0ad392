#include "ViewJson.h"

#include "JobOutput.h"

#include "view/Grid.h"

#include <cstdio>
#include <initializer_list>
#include <string_view>
#include <type_traits>

namespace qv::cli {

namespace {

std::string Int(int64_t v)
{
    return std::to_string(v);
}

// Appended piece by piece: GCC 12 at -O3 takes "[" + std::string for an overlapping copy (-Wrestrict).
std::string IntArray(std::initializer_list<int64_t> values)
{
    std::string s = "[";
    for (const int64_t v : values) {
        if (s.size() > 1)
            s += ", ";
        s += Int(v);
    }
    s += ']';
    return s;
}

std::string Xy(ScreenPoint p)
{
    return IntArray({p.x, p.y});
}

std::string Ltrb(int64_t left, int64_t top, int64_t right, int64_t bottom)
{
    return IntArray({left, top, right, bottom});
}

std::string Colour(Rgb c)
{
    return IntArray({c.r, c.g, c.b});
}

std::string PenJson(const Pen& pen)
{
    const char* style = pen.style == LineStyle::Solid ? "solid" : pen.style == LineStyle::Dashed ? "dashed" : "dotted";
    return "{\"colour\": " + Colour(pen.colour) + ", \"style\": \"" + style + "\", \"width\": " + Int(pen.width) + "}";
}

std::string FontJson(const Font& font)
{
    if (font.family.empty())
        return "null";
    return "{\"family\": " + sim::JsonString(font.family) + ", \"points\": " + Int(font.pointSize) + "}";
}

std::string Curve(int32_t index)
{
    return "\"curve\": " + Int(int64_t{index} + 1);
}

struct PrimitiveJson {
    const DisplayList& list;

    std::string operator()(const FillRect& f) const
    {
        const ScreenRect& r = f.rect;
        return "{\"type\": \"fill\", \"rect\": " + Ltrb(r.left, r.top, r.right, r.bottom) +
               ", \"colour\": " + Colour(f.colour) + "}";
    }
    std::string operator()(const OutlineRect& o) const
    {
        const ScreenRect& r = o.rect;
        return "{\"type\": \"rect\", \"rect\": " + Ltrb(r.left, r.top, r.right, r.bottom) +
               ", \"pen\": " + PenJson(o.pen) + "}";
    }
    std::string operator()(const Line& l) const
    {
        return "{\"type\": \"line\", \"from\": " + Xy(l.from) + ", \"to\": " + Xy(l.to) +
               ", \"pen\": " + PenJson(l.pen) + "}";
    }
    std::string operator()(const Text& t) const
    {
        return "{\"type\": \"text\", \"at\": " + Xy(t.topLeft) + ", \"text\": " + sim::JsonString(t.text) +
               ", \"colour\": " + Colour(t.colour) + ", \"font\": " + FontJson(t.font) + "}";
    }
    std::string operator()(const Polyline& p) const
    {
        std::string out =
            "{\"type\": \"polyline\", " + Curve(p.curve) + ", \"pen\": " + PenJson(p.pen) + ", \"points\": [";
        const char* sep = "";
        for (const ScreenPoint& s : list.PointsOf(p.first, p.count)) {
            out += sep + Xy(s);
            sep = ", ";
        }
        return out + "]}";
    }
    std::string operator()(const VertexSquares& v) const
    {
        std::string out =
            "{\"type\": \"squares\", " + Curve(v.curve) + ", \"pen\": " + PenJson(v.pen) + ", \"rects\": [";
        const char* sep = "";
        for (const ScreenPoint& s : list.PointsOf(v.first, v.count)) {
            out +=
                sep + Ltrb(int64_t{s.x} - v.half, int64_t{s.y} - v.half, int64_t{s.x} + v.half, int64_t{s.y} + v.half);
            sep = ", ";
        }
        return out + "]}";
    }
    std::string operator()(const Triangle& t) const
    {
        return "{\"type\": \"triangle\", " + Curve(t.curve) + ", \"pen\": " + PenJson(t.pen) +
               ", \"fill\": " + Colour(t.fill) + ", \"points\": [" + Xy(t.corners[0]) + ", " + Xy(t.corners[1]) + ", " +
               Xy(t.corners[2]) + "]}";
    }
};

} // namespace

std::string ViewJson(const std::string& file, std::size_t pageNumber, const COnePage* page, const CSetDisp& disp,
                     const DisplayList& list)
{
    char zoom[32];
    std::snprintf(zoom, sizeof zoom, "%.17g", disp.pixelsPerUnit);
    std::string out = "{\n  \"file\": " + sim::JsonString(file) + ",\n  \"page\": " + Int(int64_t(pageNumber)) +
                      ",\n  \"view\": {\"width\": " + Int(disp.viewWidth) + ", \"height\": " + Int(disp.viewHeight) +
                      ", \"pixelsPerUnit\": " + zoom + ", \"panX\": " + Int(disp.panX) +
                      ", \"panY\": " + Int(disp.panY) + ", \"gridStep\": " + Int(GridStepMm(disp.pixelsPerUnit)) +
                      "},\n  \"selected\": [";
    const char* sep = "";
    if (page) {
        for (std::size_t i = 0; i < page->curves.size(); ++i) {
            if (page->curves[i]->selected) {
                out += sep + Int(int64_t(i + 1));
                sep = ", ";
            }
        }
    }
    out += "],\n  \"primitives\": [";
    sep = "\n    ";
    for (const Primitive& p : list.primitives) {
        out += sep + std::visit(PrimitiveJson{list}, p);
        sep = ",\n    ";
    }
    return out + "\n  ]\n}\n";
}

} // namespace qv::cli
