#include "OutlineFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace qv::fontgen {

struct OutlineFont::Handles {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    ~Handles()
    {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};

namespace {

struct Flattener {
    std::vector<Contour> contours;
    Vec2 at;
    double tolerance = 1;

    void LineTo(Vec2 p)
    {
        contours.back().push_back(p);
        at = p;
    }
};

Vec2 ToVec(const FT_Vector* v)
{
    return {static_cast<double>(v->x), static_cast<double>(v->y)};
}

double Length(double x, double y)
{
    return std::sqrt(x * x + y * y);
}

// Uniform steps along the curve, as many as keep the chord error within the tolerance: a quadratic's chord
// error is |p0 - 2 p1 + p2| / (4 n^2), a cubic's at most 3/4 max(|p0 - 2 p1 + p2|, |p1 - 2 p2 + p3|) / n^2.
int Steps(double bend, double tolerance)
{
    return std::max(1, static_cast<int>(std::ceil(std::sqrt(bend / tolerance))));
}

int MoveTo(const FT_Vector* to, void* user)
{
    auto& f = *static_cast<Flattener*>(user);
    f.at = ToVec(to);
    f.contours.push_back({f.at});
    return 0;
}

int LineTo(const FT_Vector* to, void* user)
{
    static_cast<Flattener*>(user)->LineTo(ToVec(to));
    return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    auto& f = *static_cast<Flattener*>(user);
    const Vec2 p0 = f.at, p1 = ToVec(control), p2 = ToVec(to);
    const int n = Steps(Length(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y) / 4, f.tolerance);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1 - t;
        f.LineTo({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x, u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
    }
    return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
{
    auto& f = *static_cast<Flattener*>(user);
    const Vec2 p0 = f.at, p1 = ToVec(c1), p2 = ToVec(c2), p3 = ToVec(to);
    const double bend = std::max(Length(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                                 Length(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
    const int n = Steps(0.75 * bend, f.tolerance);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        f.LineTo({a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
    }
    return 0;
}

} // namespace

OutlineFont::OutlineFont(const std::string& path) : handles_(std::make_unique<Handles>())
{
    if (FT_Init_FreeType(&handles_->library) != 0)
        throw std::runtime_error("FreeType cannot start");
    if (FT_New_Face(handles_->library, path.c_str(), 0, &handles_->face) != 0 || !FT_IS_SCALABLE(handles_->face))
        throw std::runtime_error(path + ": not an outline font");
}

OutlineFont::~OutlineFont() = default;

int OutlineFont::UnitsPerEm() const
{
    return handles_->face->units_per_EM;
}

std::string OutlineFont::FamilyName() const
{
    return handles_->face->family_name ? handles_->face->family_name : "";
}

std::optional<std::vector<Contour>> OutlineFont::Contours(char32_t character, double tolerance) const
{
    const FT_UInt index = FT_Get_Char_Index(handles_->face, character);
    if (index == 0)
        return std::nullopt;
    if (FT_Load_Glyph(handles_->face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
        handles_->face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return std::nullopt;

    Flattener flattener;
    flattener.tolerance = tolerance;
    FT_Outline_Funcs funcs{};
    funcs.move_to = MoveTo;
    funcs.line_to = LineTo;
    funcs.conic_to = ConicTo;
    funcs.cubic_to = CubicTo;
    if (FT_Outline_Decompose(&handles_->face->glyph->outline, &funcs, &flattener) != 0)
        return std::nullopt;
    // Close every contour back to its start.
    for (Contour& c : flattener.contours)
        if (c.size() > 1 && (c.back().x != c.front().x || c.back().y != c.front().y))
            c.push_back(c.front());
    return flattener.contours;
}

} // namespace qv::fontgen
