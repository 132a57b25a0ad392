#include "HersheyFont.h"

#include <charconv>
#include <fstream>
#include <stdexcept>

namespace qv::fontgen {

namespace {

// Each coordinate is one character, its value counted from 'R'.
int Coordinate(char c)
{
    return c - 'R';
}

int Number(const std::string& field, const std::string& path)
{
    std::size_t start = field.find_first_not_of(' ');
    int value = 0;
    if (start == std::string::npos ||
        std::from_chars(field.data() + start, field.data() + field.size(), value).ec != std::errc())
        throw std::runtime_error(path + ": malformed glyph line");
    return value;
}

} // namespace

// A glyph: 5 characters of glyph number, 3 of vertex count (the margins count as one vertex), the two margins,
// then the vertices; " R" lifts the pen. A glyph may run on over following lines.
std::vector<HersheyGlyph> ReadHersheyFont(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error(path + ": cannot be read");
    std::vector<HersheyGlyph> glyphs;
    std::string line;
    while (std::getline(in, line)) {
        if (line.find_first_not_of(" \r") == std::string::npos)
            continue;
        if (line.size() < 10)
            throw std::runtime_error(path + ": malformed glyph line");
        const int vertices = Number(line.substr(5, 3), path);
        std::string body = line.substr(8);
        while (static_cast<int>(body.size()) < 2 * vertices && std::getline(in, line))
            body += line;
        while (!body.empty() && (body.back() == '\r' || body.back() == '\n'))
            body.pop_back();
        if (vertices < 1 || static_cast<int>(body.size()) < 2 * vertices)
            throw std::runtime_error(path + ": glyph shorter than its vertex count");

        HersheyGlyph glyph;
        glyph.left = Coordinate(body[0]);
        glyph.right = Coordinate(body[1]);
        GlyphPolyline stroke;
        for (int v = 1; v < vertices; ++v) {
            const char x = body[static_cast<std::size_t>(2 * v)];
            const char y = body[static_cast<std::size_t>(2 * v + 1)];
            if (x == ' ' && y == 'R') {
                glyph.strokes.push_back(std::move(stroke));
                stroke.clear();
                continue;
            }
            stroke.push_back({Coordinate(x), Coordinate(y)});
        }
        glyph.strokes.push_back(std::move(stroke));
        glyphs.push_back(std::move(glyph));
    }
    return glyphs;
}

} // namespace qv::fontgen
