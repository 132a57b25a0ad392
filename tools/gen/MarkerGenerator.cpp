#include "gen/MarkerGenerator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <random>
#include <string_view>
#include <vector>

namespace qv::gen {

namespace {

constexpr int32_t kMarkerWidth = 60000; // 1.5 m
constexpr int32_t kGap = 400;           // 10 mm between pieces

struct Point {
    int32_t x;
    int32_t y;
};

// Piece names with their Chinese names in GBK.
struct PieceName {
    std::string_view ascii;
    std::string_view gbk;
};
constexpr PieceName kNames[] = {
    {"FRONT", "\xC7\xB0\xC6\xAC"},   // 前片
    {"BACK", "\xBA\xF3\xC6\xAC"},    // 后片
    {"SLEEVE", "\xD0\xE4\xD7\xD3"},  // 袖子
    {"COLLAR", "\xC1\xEC\xD7\xD3"},  // 领子
    {"POCKET", "\xBF\xDA\xB4\xFC"},  // 口袋
    {"PLACKET", "\xC3\xC5\xBD\xF3"}, // 门襟
};
constexpr std::string_view kSizes[] = {"S", "M", "L", "XL"};

class Writer {
public:
    explicit Writer(const MarkerOptions& options) : options_(options) {}

    std::string text;

    void Append(std::string_view s) { text.append(s); }
    void Number(int64_t v)
    {
        char buffer[24];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
        text.append(buffer, end);
    }
    void Pen(int pen)
    {
        Append("SP");
        Number(pen);
        Append(";");
    }
    void MoveTo(Point p)
    {
        Append("PU");
        Number(p.x);
        Append(",");
        Number(p.y);
        Append(";");
    }
    // A label at `at` with the default terminator.
    void Label(Point at, std::initializer_list<std::string_view> parts)
    {
        MoveTo(at);
        Append("LB");
        for (const std::string_view part : parts)
            Append(part);
        Append("\x03");
    }
    // PU to the first point, then PD commands through the rest.
    void Polyline(const std::vector<Point>& points)
    {
        MoveTo(points.front());
        const std::size_t per =
            options_.pointsPerCommand > 0 ? static_cast<std::size_t>(options_.pointsPerCommand) : points.size();
        for (std::size_t i = 1; i < points.size(); i += per) {
            Append("PD");
            const std::size_t end = std::min(points.size(), i + per);
            for (std::size_t k = i; k < end; ++k) {
                if (k > i)
                    Append(",");
                Number(points[k].x);
                Append(",");
                Number(points[k].y);
            }
            Append(";");
        }
    }

private:
    const MarkerOptions& options_;
};

class Marker {
public:
    explicit Marker(const MarkerOptions& options) : options_(options), rng_(options.seed) {}

    // One piece at the next free place of the marker.
    std::string Piece(int index)
    {
        const int32_t halfW = Uniform(1600, 9000);
        const int32_t halfH = Uniform(1600, 12000);
        if (shelfY_ + 2 * halfH > kMarkerWidth) {
            shelfX_ += shelfDepth_ + kGap;
            shelfY_ = 0;
            shelfDepth_ = 0;
        }
        const Point centre{shelfX_ + halfW, shelfY_ + halfH};
        shelfY_ += 2 * halfH + kGap;
        shelfDepth_ = std::max(shelfDepth_, 2 * halfW);

        Writer w(options_);
        w.Pen(options_.fullCutPen);
        w.Polyline(Outline(centre, halfW, halfH));
        w.Pen(options_.plotPen);
        w.Polyline({{centre.x - halfW / 2, centre.y}, {centre.x + halfW / 2, centre.y}}); // grain line
        w.Polyline({{centre.x + halfW / 2 - 200, centre.y - 120},
                    {centre.x + halfW / 2, centre.y},
                    {centre.x + halfW / 2 - 200, centre.y + 120}}); // its arrow
        w.Polyline({{centre.x - halfW / 3, centre.y + halfH - 100},
                    {centre.x - halfW / 3 + 150, centre.y + halfH / 2},
                    {centre.x - halfW / 3 + 300, centre.y + halfH - 100}}); // a dart
        w.Pen(options_.halfCutPen);
        w.Polyline(FoldLine(centre, halfW, halfH));
        if (options_.labels) {
            const PieceName& name = kNames[static_cast<std::size_t>(index) % std::size(kNames)];
            const std::string_view size = kSizes[Uniform(0, static_cast<int32_t>(std::size(kSizes)) - 1)];
            w.Pen(options_.plotPen);
            w.Append(Uniform(0, 3) == 0 ? "DI0,1;" : "DI1,0;");
            w.Append("SI0.3,0.4;");
            const std::string number = std::to_string(index + 1);
            w.Label({centre.x - halfW / 2, centre.y - halfH / 3}, {name.ascii, "-", size, "-", number});
            w.Label({centre.x - halfW / 2, centre.y - halfH / 2}, {name.gbk, " ", size});
        }
        return std::move(w.text);
    }

private:
    int32_t Uniform(int32_t lo, int32_t hi)
    {
        return lo + static_cast<int32_t>(rng_() % static_cast<uint32_t>(hi - lo + 1));
    }
    double Unit() { return static_cast<double>(rng_()) / 4294967296.0; }

    // A closed, smooth outline: a superellipse with a slow radial wobble, its first point repeated at the end.
    std::vector<Point> Outline(Point centre, int32_t halfW, int32_t halfH)
    {
        const int n =
            std::max(8, options_.pointsPerPiece + Uniform(-options_.pointsPerPiece / 5, options_.pointsPerPiece / 5));
        const double exponent = 2 + 4 * Unit();
        double amplitude[3], phase[3];
        for (int k = 0; k < 3; ++k) {
            amplitude[k] = 0.05 * Unit();
            phase[k] = 2 * std::numbers::pi * Unit();
        }
        std::vector<Point> points;
        points.reserve(static_cast<std::size_t>(n) + 1);
        for (int i = 0; i < n; ++i) {
            const double t = 2 * std::numbers::pi * i / n;
            const double c = std::cos(t), s = std::sin(t);
            double r = 1;
            for (int k = 0; k < 3; ++k)
                r += amplitude[k] * std::sin((k + 2) * t + phase[k]);
            const double x = std::copysign(std::pow(std::fabs(c), 2 / exponent), c) * halfW * r / 1.16;
            const double y = std::copysign(std::pow(std::fabs(s), 2 / exponent), s) * halfH * r / 1.16;
            points.push_back(
                {centre.x + static_cast<int32_t>(std::lround(x)), centre.y + static_cast<int32_t>(std::lround(y))});
        }
        points.push_back(points.front());
        return points;
    }

    // A gently curved line across the piece, where it is folded.
    std::vector<Point> FoldLine(Point centre, int32_t halfW, int32_t halfH)
    {
        std::vector<Point> points;
        const double bow = halfW * 0.1 * (Unit() - 0.5);
        for (int i = 0; i <= 20; ++i) {
            const double u = i / 20.0 - 0.5;
            points.push_back({centre.x + halfW / 4 + static_cast<int32_t>(std::lround(bow * (1 - 4 * u * u))),
                              centre.y + static_cast<int32_t>(std::lround(u * halfH * 1.2))});
        }
        return points;
    }

    const MarkerOptions& options_;
    std::mt19937 rng_;
    int32_t shelfX_ = 0;
    int32_t shelfY_ = 0;
    int32_t shelfDepth_ = 0;
};

} // namespace

std::string GenerateMarkerPlt(const MarkerOptions& options)
{
    constexpr std::string_view kHeader = "IN;SP1;";
    constexpr std::string_view kFooter = "PU0,0;SP0;";
    constexpr std::string_view kPageBreak = "PG;";
    Marker marker(options);
    std::string out(kHeader);
    const std::size_t target = options.targetBytes;
    if (target > 0)
        out.reserve(target);
    const int sections = options.pageBreaks + 1;
    int breaksDone = 0;
    for (int i = 0; target > 0 || i < options.pieces; ++i) {
        // A page break once the drawing passes the next share of its pieces or of its bytes.
        const bool due = target > 0 ? out.size() * sections >= target * static_cast<std::size_t>(breaksDone + 1)
                                    : i * sections >= options.pieces * (breaksDone + 1);
        if (breaksDone < options.pageBreaks && i > 0 && due) {
            out += kPageBreak;
            ++breaksDone;
        }
        std::string piece = marker.Piece(i);
        const std::size_t reserved =
            kFooter.size() + kPageBreak.size() * static_cast<std::size_t>(options.pageBreaks - breaksDone);
        if (target > 0 && out.size() + piece.size() + reserved > target)
            break;
        out += piece;
    }
    for (; breaksDone < options.pageBreaks; ++breaksDone)
        out += kPageBreak;
    out += kFooter;
    if (out.size() < target)
        out.append(target - out.size(), '\n');
    return out;
}

std::string GenerateTestSquarePlt(int sizeCm, bool halfCut)
{
    constexpr int32_t kCm = 400;
    const int32_t size = sizeCm * kCm;
    const auto square = [](int32_t from, int32_t to) {
        return std::vector<Point>{{from, from}, {to, from}, {to, to}, {from, to}, {from, from}};
    };
    const MarkerOptions options;
    Writer w(options);
    w.Append("IN;SP1;");
    w.Polyline(square(0, size));
    for (int32_t i = 1; i < sizeCm; ++i) {
        const int32_t length = i % 5 == 0 ? 200 : 100;
        w.Polyline({{i * kCm, 0}, {i * kCm, length}});
        w.Polyline({{0, i * kCm}, {length, i * kCm}});
    }
    const int32_t middle = size / 2;
    w.Polyline({{middle - kCm / 2, middle}, {middle + kCm / 2, middle}});
    w.Polyline({{middle, middle - kCm / 2}, {middle, middle + kCm / 2}});
    w.Append("DI1,0;SI0.3,0.4;");
    const std::string name = std::to_string(sizeCm) + "x" + std::to_string(sizeCm) + " cm";
    w.Label({kCm, size - 2 * kCm}, {name});
    if (halfCut) {
        w.Pen(options.halfCutPen);
        w.Polyline(square(kCm, size - kCm));
    }
    w.Pen(options.fullCutPen);
    w.Polyline(square(0, size));
    w.Append("PU0,0;SP0;");
    return std::move(w.text);
}

} // namespace qv::gen
