// The wider dialect of the reader (HpglDialect 1): what CAD exports, instrument plots and plot drivers send
// beyond the design's dialect. Only reached when the dialect is 1; dialect 0 never enters this file.
//
//   PA PR         absolute / relative plotting; PU and PD take their points in the mode in force
//   PE            polyline encoded: flags ':' pen, '<' next point a move, '>' fraction bits, '=' next point
//                 absolute, '7' base 32; values least significant digit first, base 64 in 63..126 with the
//                 last digit in 191..254, base 32 in 63..94 with the last in 95..126; the lowest bit of a
//                 value is its sign; points relative unless '='; the pen stays as the last pair leaves it
//   CI AA AR      circles and arcs as polylines within 0.1 mm of the true curve (the file's chord is ignored)
//   EA ER RA RR   rectangles, all four as outlines, one for each pair of parameters
//   BL PB         a label's text kept by BL, drawn by PB at the pen
//   IP SC         P1/P2 and user units: anisotropic, isotropic (with left/bottom), point factor
//   RO            rotation of the coordinate system by 0, 90, 180 or 270 degrees
//   ESC, @PJL     UEL "ESC%-12345X", "ESC%#A/B", "ESC E", "ESC.x[params:]", PCL "ESC&l0O" with binary
//                 data after ...W skipped; a line starting with '@' skipped to its LF
//   "..."         quoted string parameters (BP, CO) skipped; SM's symbol, one character, skipped with SM
//   numbers       a sign inside a number starts the next one; a positioning command with a number past 2^30
//                 is ignored

#include "hpgl/CHpglFile.h"

#include "model/Angles.h"
#include "model/Rounding.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <tuple>
#include <utility>

namespace qv {

namespace {

constexpr uint8_t kEsc = 27;
constexpr double kChordTolerance = 4;        // plotter units: 0.1 mm
constexpr double kMaxSegmentsPerTurn = 4096; // beyond some 85 m of radius the chord grows past the tolerance
// Arc points one file may make at the tolerance, some twice what the largest file of straight lines holds;
// past them arcs take kCoarseSegmentsPerTurn, so a file of huge circles cannot exhaust the memory.
constexpr uint64_t kArcPointBudget = 4'000'000;
constexpr double kCoarseSegmentsPerTurn = 16;

bool IsUpper(uint8_t b)
{
    return b >= '@' && b <= '^';
}

bool IsLower(uint8_t b)
{
    return b >= '`' && b <= '~';
}

// User units to plotter units (scaling off: the same).
void ToPlotter(const WideDialectState& s, double ux, double uy, double& x, double& y)
{
    x = s.originX + s.factorX * ux;
    y = s.originY + s.factorY * uy;
}

void ToUser(const WideDialectState& s, double x, double y, double& ux, double& uy)
{
    ux = (x - s.originX) / s.factorX;
    uy = (y - s.originY) / s.factorY;
}

// Derives origin and factors from P1/P2 and the SC parameters; false, with scaling off, when they give no usable
// scale (equal bounds, zero factors).
bool ApplyScale(WideDialectState& s)
{
    s.originX = 0;
    s.originY = 0;
    s.factorX = 1;
    s.factorY = 1;
    const std::vector<double>& p = s.scale;
    if (p.size() < 4)
        return true;
    const int32_t type = p.size() >= 5 ? RoundToInt32(p[4]) : 0;
    double fx = 0;
    double fy = 0;
    double ox = s.p1x;
    double oy = s.p1y;
    if (type == 2) {
        fx = p[1];
        fy = p[3];
    } else if (p[1] != p[0] && p[3] != p[2]) {
        fx = (s.p2x - s.p1x) / (p[1] - p[0]);
        fy = (s.p2y - s.p1y) / (p[3] - p[2]);
        if (type == 1) {
            const double f = std::min(std::fabs(fx), std::fabs(fy));
            const double left = p.size() >= 7 ? std::clamp(p[5], 0.0, 100.0) : 50;
            const double bottom = p.size() >= 7 ? std::clamp(p[6], 0.0, 100.0) : 50;
            const double fx1 = std::copysign(f, fx);
            const double fy1 = std::copysign(f, fy);
            ox += (s.p2x - s.p1x - fx1 * (p[1] - p[0])) * left / 100;
            oy += (s.p2y - s.p1y - fy1 * (p[3] - p[2])) * bottom / 100;
            fx = fx1;
            fy = fy1;
        }
    }
    if (!std::isfinite(fx) || !std::isfinite(fy) || fx == 0 || fy == 0) {
        s.scale.clear();
        return false;
    }
    s.factorX = fx;
    s.factorY = fy;
    s.originX = ox - fx * p[0];
    s.originY = oy - fy * p[2];
    return true;
}

// A point turned counter-clockwise by 0, 90, 180 or 270 degrees.
std::pair<double, double> Turned(int32_t degrees, double x, double y)
{
    switch (degrees) {
    case 90:
        return {-y, x};
    case 180:
        return {-x, -y};
    case 270:
        return {y, -x};
    default:
        return {x, y};
    }
}

CPoint Device(const WideDialectState& s, double x, double y)
{
    const auto [dx, dy] = Turned(s.rotation, x, y);
    return {RoundToInt32(dx), RoundToInt32(dy)};
}

// The parameters of HP-GL/2 reach 2^30; a larger one is a parameter error, and the command is ignored rather
// than taken as infinity, which would leave the pen at no position at all.
constexpr double kMaxParameter = 1073741824.0;

} // namespace

bool CHpglFile::StartWide()
{
    if (mnemonic_ == Mnemonic('B', 'L')) {
        // The text of a label to print later with PB, up to the label terminator as LB's.
        mode_ = Mode::Label;
        labelText.clear();
        return true;
    }
    if (mnemonic_ == Mnemonic('S', 'M')) {
        mode_ = Mode::Symbol;
        return true;
    }
    if (mnemonic_ != Mnemonic('P', 'E'))
        return false;
    mode_ = Mode::Encoded;
    WideDialectState& s = wide_;
    s.sevenBit = false;
    s.flag = 0;
    s.nextUp = false;
    s.nextAbsolute = false;
    s.fractionBits = 0;
    s.digitsValue = 0;
    s.digitWeight = 1;
    s.haveX = false;
    return true;
}

bool CHpglFile::ConsumeWide(uint8_t b)
{
    switch (mode_) {
    case Mode::Escape:
        ConsumeEscape(b);
        return true;
    case Mode::Encoded:
        ConsumeEncoded(b);
        return true;
    case Mode::Quoted:
        if (b == '"')
            mode_ = Mode::Numeric;
        return true;
    case Mode::Symbol:
        // The symbol may be a letter or a quote; it is no command and opens no string. ";" alone ends SM.
        mode_ = Mode::Numeric;
        params_.clear();
        inToken_ = false;
        if (b == ';' || b == kEsc)
            Consume(b);
        return true;
    case Mode::Between:
        if (b == kEsc || (b == '@' && pendingLetter_ == 0)) {
            pendingLetter_ = 0;
            mode_ = Mode::Escape;
            wide_.escape = b == kEsc ? WideDialectState::Escape::Start : WideDialectState::Escape::Line;
            return true;
        }
        return false;
    case Mode::Numeric:
        if (b == '"') {
            mode_ = Mode::Quoted;
            return true;
        }
        if (b == kEsc) {
            if (inToken_)
                TakeToken();
            mode_ = Mode::Between;
            ExecuteCommand();
            mode_ = Mode::Escape;
            wide_.escape = WideDialectState::Escape::Start;
            return true;
        }
        return false;
    default:
        return false;
    }
}

void CHpglFile::ConsumeEscape(uint8_t b)
{
    using Escape = WideDialectState::Escape;
    WideDialectState& s = wide_;
    switch (s.escape) {
    case Escape::Start:
        if (b == '%') {
            s.escape = Escape::Percent;
        } else if (b == '.') {
            s.escape = Escape::Dot;
        } else if (b >= '!' && b <= '/') {
            s.escape = Escape::PclGroup;
        } else {
            mode_ = Mode::Between; // a two-byte escape such as ESC E
        }
        break;
    case Escape::Percent:
        if (IsUpper(b))
            mode_ = Mode::Between;
        break;
    case Escape::Dot:
        // Device controls with parameters end at ':'; the others are the letter alone.
        if (b == '@' || b == 'H' || b == 'I' || b == 'M' || b == 'N' || b == 'T')
            s.escape = Escape::DotParams;
        else
            mode_ = Mode::Between;
        break;
    case Escape::DotParams:
        if (b == ':')
            mode_ = Mode::Between;
        break;
    case Escape::PclGroup:
        s.escapeValue = 0;
        s.escape = Escape::PclValue;
        break;
    case Escape::PclValue:
        if (b >= '0' && b <= '9') {
            s.escapeValue = std::min<uint64_t>(s.escapeValue * 10 + (b - '0'), kMaxFileSize);
        } else if (b == '+' || b == '-' || b == '.') {
        } else if ((b == 'W' || b == 'w') && s.escapeValue > 0) {
            // Binary data follows; after a lower-case W the sequence would go on, but data ends it here.
            s.escape = Escape::Data;
        } else if (IsLower(b)) {
            s.escapeValue = 0;
        } else {
            mode_ = Mode::Between;
        }
        break;
    case Escape::Line:
        if (b == '\n')
            mode_ = Mode::Between;
        break;
    case Escape::Data:
        if (--s.escapeValue == 0)
            mode_ = Mode::Between;
        break;
    }
}

void CHpglFile::ConsumeEncoded(uint8_t b)
{
    WideDialectState& s = wide_;
    // In base 32 every eighth bit is noise (parity); a flag means the same with it or without.
    if (s.sevenBit)
        b &= 0x7F;
    if (b == ';' || b == kEsc) {
        FinishWide();
        if (b == kEsc) {
            mode_ = Mode::Escape;
            s.escape = WideDialectState::Escape::Start;
        }
        return;
    }
    const uint8_t lastDigit = s.sevenBit ? 95 : 191;
    const uint8_t top = s.sevenBit ? 126 : 254;
    const uint64_t base = s.sevenBit ? 32 : 64;
    if (b < 63 || b > top || (b > 62 + base && b < lastDigit)) {
        const uint8_t flag = b & 0x7F;
        switch (flag) {
        case ':':
        case '>':
            s.flag = flag;
            break;
        case '<':
            s.nextUp = true;
            break;
        case '=':
            s.nextAbsolute = true;
            break;
        case '7':
            s.sevenBit = true;
            break;
        default:
            break; // spaces, line ends and bytes of no meaning
        }
        return;
    }
    const bool last = b >= lastDigit;
    const uint64_t digit = last ? b - lastDigit : b - 63u;
    // The weight is a power of two and wraps to 0 past 64 bits: an absurdly long value cannot fault.
    s.digitsValue += digit * s.digitWeight;
    s.digitWeight *= base;
    if (!last)
        return;
    const auto magnitude = static_cast<double>(s.digitsValue >> 1);
    const double value = (s.digitsValue & 1) != 0 ? -magnitude : magnitude;
    s.digitsValue = 0;
    s.digitWeight = 1;
    if (s.flag == ':') {
        s.flag = 0;
        instructions.Add(HpglInstruction::OP_SELECT_PEN, {RoundToInt32(value)});
        return;
    }
    if (s.flag == '>') {
        s.flag = 0;
        s.fractionBits = std::clamp(RoundToInt32(value), -26, 26);
        return;
    }
    const double v = std::ldexp(value, -s.fractionBits);
    if (!s.haveX) {
        s.haveX = true;
        s.encodedX = v;
        return;
    }
    s.haveX = false;
    double x = 0;
    double y = 0;
    if (s.nextAbsolute) {
        ToPlotter(s, s.encodedX, v, x, y);
    } else {
        x = s.x + s.factorX * s.encodedX;
        y = s.y + s.factorY * v;
    }
    // The pen stays as the last pair left it: up after a move, down after a line.
    penDown = !s.nextUp;
    if (s.nextUp)
        WideMoveTo(x, y);
    else
        WideLineTo(x, y);
    s.nextUp = false;
    s.nextAbsolute = false;
}

void CHpglFile::FinishWide()
{
    mode_ = Mode::Between;
}

void CHpglFile::WideMoveTo(double x, double y)
{
    wide_.strokeEnd = 0; // a move ends the stroke
    wide_.x = x;
    wide_.y = y;
    const CPoint p = Device(wide_, x, y);
    penX = p.x;
    penY = p.y;
}

void CHpglFile::WideLineTo(double x, double y)
{
    const bool continues = wide_.strokeEnd == instructions.size() && !instructions.empty() &&
                           instructions.back().op == HpglInstruction::OP_POINTS;
    if (!continues) {
        instructions.Add(HpglInstruction::OP_STROKE_START, {penX, penY});
        instructions.Add(HpglInstruction::OP_POINTS);
    }
    WideMoveTo(x, y);
    instructions.AddPointToLast(penX, penY);
    wide_.strokeEnd = instructions.size();
}

// An arc around the centre (user units) from the pen, `sweep` degrees counter-clockwise, drawn or only moved
// along; in user units, so anisotropic scaling makes it an ellipse as the file means.
void CHpglFile::WideArc(double cx, double cy, double sweep, bool drawn)
{
    WideDialectState& s = wide_;
    double ux = 0;
    double uy = 0;
    ToUser(s, s.x, s.y, ux, uy);
    const double r = std::hypot(ux - cx, uy - cy);
    if (r == 0)
        return; // around the pen itself: nothing to draw, and the pen stays
    const double start = std::atan2(uy - cy, ux - cx);
    const double degrees = std::clamp(sweep, -360.0, 360.0);
    const double turn = degrees * kPi / 180;
    const double rPlotter = r * std::max(std::fabs(s.factorX), std::fabs(s.factorY));
    const double step = rPlotter > kChordTolerance ? 2 * std::acos(1 - kChordTolerance / rPlotter) : kPi / 2;
    const double perTurn = s.arcPoints < kArcPointBudget ? std::min(kMaxSegmentsPerTurn, std::ceil(2 * kPi / step))
                                                         : kCoarseSegmentsPerTurn;
    const auto n = static_cast<int>(std::max(1.0, std::ceil(perTurn * std::fabs(degrees) / 360)));
    s.arcPoints += static_cast<uint64_t>(n);
    for (int k = 1; k <= n; ++k) {
        const double a = start + turn * k / n;
        double x = 0;
        double y = 0;
        ToPlotter(s, cx + r * std::cos(a), cy + r * std::sin(a), x, y);
        if (drawn)
            WideLineTo(x, y);
        else if (k == n)
            WideMoveTo(x, y);
    }
}

// The outline of the rectangle from the pen to the opposite corner (user units); the pen stays where it was.
void CHpglFile::WideOutline(double ux1, double uy1)
{
    WideDialectState& s = wide_;
    const double x0 = s.x;
    const double y0 = s.y;
    double ux0 = 0;
    double uy0 = 0;
    ToUser(s, x0, y0, ux0, uy0);
    const double corners[4][2] = {{ux1, uy0}, {ux1, uy1}, {ux0, uy1}, {ux0, uy0}};
    for (const auto& c : corners) {
        double x = 0;
        double y = 0;
        ToPlotter(s, c[0], c[1], x, y);
        WideLineTo(x, y);
    }
    WideMoveTo(x0, y0);
}

// The point pairs of PU, PD, PA and PR in the plotting mode in force, drawn while the pen is down.
void CHpglFile::WideMoves()
{
    WideDialectState& s = wide_;
    for (std::size_t i = 0; i + 1 < params_.size(); i += 2) {
        double x = 0;
        double y = 0;
        if (s.relative) {
            x = s.x + s.factorX * params_[i];
            y = s.y + s.factorY * params_[i + 1];
        } else {
            ToPlotter(s, params_[i], params_[i + 1], x, y);
        }
        if (penDown)
            WideLineTo(x, y);
        else
            WideMoveTo(x, y);
    }
}

bool CHpglFile::ExecuteWide()
{
    WideDialectState& s = wide_;
    const std::size_t n = params_.size();
    const double* p = params_.data();
    static constexpr uint16_t kPositioning[] = {
        Mnemonic('P', 'U'), Mnemonic('P', 'D'), Mnemonic('P', 'A'), Mnemonic('P', 'R'), Mnemonic('C', 'I'),
        Mnemonic('A', 'A'), Mnemonic('A', 'R'), Mnemonic('E', 'A'), Mnemonic('R', 'A'), Mnemonic('E', 'R'),
        Mnemonic('R', 'R'), Mnemonic('I', 'P'), Mnemonic('S', 'C'), Mnemonic('R', 'O')};
    if (std::find(std::begin(kPositioning), std::end(kPositioning), mnemonic_) != std::end(kPositioning) &&
        !std::all_of(p, p + n, [](double v) { return std::fabs(v) <= kMaxParameter; }))
        return true;
    double ux = 0;
    double uy = 0;
    ToUser(s, s.x, s.y, ux, uy);
    switch (mnemonic_) {
    case Mnemonic('I', 'N'): {
        const uint64_t arcPoints = s.arcPoints;
        s = WideDialectState{};
        s.arcPoints = arcPoints;
        return false;
    } // the label defaults and the pen as in the design's dialect
    case Mnemonic('D', 'F'):
        s.relative = false;
        s.scale.clear();
        ApplyScale(s);
        return false;
    case Mnemonic('P', 'U'):
    case Mnemonic('P', 'D'):
        penDown = mnemonic_ == Mnemonic('P', 'D');
        WideMoves();
        return true;
    case Mnemonic('P', 'A'):
    case Mnemonic('P', 'R'):
        s.relative = mnemonic_ == Mnemonic('P', 'R');
        WideMoves();
        return true;
    case Mnemonic('C', 'I'):
        if (n >= 1 && p[0] != 0) {
            const double x0 = s.x;
            const double y0 = s.y;
            double x = 0;
            double y = 0;
            ToPlotter(s, ux + p[0], uy, x, y);
            WideMoveTo(x, y);
            WideArc(ux, uy, 360, true);
            WideMoveTo(x0, y0);
        }
        return true;
    case Mnemonic('A', 'A'):
    case Mnemonic('A', 'R'):
        if (n >= 3) {
            const bool absolute = mnemonic_ == Mnemonic('A', 'A');
            WideArc(absolute ? p[0] : ux + p[0], absolute ? p[1] : uy + p[1], p[2], penDown);
        }
        return true;
    // Each pair is a rectangle from the pen, which stays: a drawing that gives both corners in one
    // instruction still gets its rectangle.
    case Mnemonic('E', 'A'):
    case Mnemonic('R', 'A'):
        for (std::size_t i = 0; i + 1 < n; i += 2)
            WideOutline(p[i], p[i + 1]);
        return true;
    case Mnemonic('E', 'R'):
    case Mnemonic('R', 'R'):
        for (std::size_t i = 0; i + 1 < n; i += 2)
            WideOutline(ux + p[i], uy + p[i + 1]);
        return true;
    case Mnemonic('B', 'L'):
        s.bufferedLabel = labelText;
        return true;
    case Mnemonic('P', 'B'):
        if (!s.bufferedLabel.empty())
            DrawLabelText(s.bufferedLabel);
        return true;
    case Mnemonic('I', 'P'):
        if (n == 0) {
            // The default plotting area, its sides swapped in a turned coordinate system.
            const bool across = s.rotation == 90 || s.rotation == 270;
            s.p1x = 0;
            s.p1y = 0;
            s.p2x = across ? WideDialectState::kDefaultP2Y : WideDialectState::kDefaultP2X;
            s.p2y = across ? WideDialectState::kDefaultP2X : WideDialectState::kDefaultP2Y;
        } else if (n >= 2) {
            const double dx = s.p2x - s.p1x;
            const double dy = s.p2y - s.p1y;
            s.p1x = p[0];
            s.p1y = p[1];
            s.p2x = n >= 4 ? p[2] : p[0] + dx;
            s.p2y = n >= 4 ? p[3] : p[1] + dy;
            // P1 and P2 never coincide along an axis: P2 moves one unit on.
            if (s.p2x == s.p1x)
                s.p2x += 1;
            if (s.p2y == s.p1y)
                s.p2y += 1;
        }
        ApplyScale(s);
        return true;
    case Mnemonic('S', 'C'): {
        // One to three parameters, a type the language does not have, or bounds that give no scale are a
        // parameter error: the scaling in force stays. SC alone ends scaling.
        const int32_t type = n >= 5 ? RoundToInt32(p[4]) : 0;
        if ((n >= 1 && n < 4) || type < 0 || type > 2)
            return true;
        std::vector<double> previous = std::move(s.scale);
        s.scale.assign(p, p + std::min<std::size_t>(n, 7));
        if (!ApplyScale(s)) {
            s.scale = std::move(previous);
            ApplyScale(s);
        }
        return true;
    }
    case Mnemonic('R', 'O'): {
        const int32_t angle = n >= 1 ? RoundToInt32(p[0]) : 0;
        if (angle == 0 || angle == 90 || angle == 180 || angle == 270) {
            // The pen stays where it is on the sheet; only its coordinates change with the system.
            const auto [dx, dy] = Turned(s.rotation, s.x, s.y);
            s.rotation = angle;
            std::tie(s.x, s.y) = Turned((360 - angle) % 360, dx, dy);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace qv
