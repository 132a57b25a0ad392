#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qv::fontgen {

struct Vec2 {
    double x = 0;
    double y = 0;
};
using Contour = std::vector<Vec2>; // closed: the last point repeats the first

// An outline font read through FreeType, in its own units (y growing upward).
class OutlineFont {
public:
    // Throws std::runtime_error when the file cannot be opened as a font.
    explicit OutlineFont(const std::string& path);
    ~OutlineFont();
    OutlineFont(const OutlineFont&) = delete;
    OutlineFont& operator=(const OutlineFont&) = delete;

    int UnitsPerEm() const;
    std::string FamilyName() const;

    // The glyph's contours with its curves flattened so that no point of a curve lies further than
    // `tolerance` font units from the chords. None when the font has no glyph for the character.
    std::optional<std::vector<Contour>> Contours(char32_t character, double tolerance) const;

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
};

} // namespace qv::fontgen
