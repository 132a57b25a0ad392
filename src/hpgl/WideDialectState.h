#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// What the wider dialect of the reader keeps between commands and bytes (see HpglWideDialect.cpp).
struct WideDialectState {
    // P2 until IP sets it: the plotting area of a sheet of 1188 x 840 mm, which plot drivers that send SC
    // without IP assume.
    static constexpr double kDefaultP2X = 33600;
    static constexpr double kDefaultP2Y = 47520;

    bool relative = false; // PR in force
    double x = 0;          // the pen in plotter units, before rotation
    double y = 0;
    double p1x = 0;
    double p1y = 0;
    double p2x = kDefaultP2X;
    double p2y = kDefaultP2Y;
    std::vector<double> scale; // the SC parameters in force; empty while scaling is off
    // plotter = origin + factor * user
    double originX = 0;
    double originY = 0;
    double factorX = 1;
    double factorY = 1;
    int32_t rotation = 0; // RO: 0, 90, 180 or 270
    // Size of the instruction list after the last stroke point: a stroke goes on while nothing came since.
    std::size_t strokeEnd = 0;
    uint64_t arcPoints = 0;    // made by arcs and circles in this file
    std::string bufferedLabel; // BL's text, which PB prints

    // Escape sequences and PJL lines around the drawing.
    enum class Escape : uint8_t { Start, Percent, Dot, DotParams, PclGroup, PclValue, Line, Data };
    Escape escape = Escape::Start;
    uint64_t escapeValue = 0; // a PCL value; bytes of binary data still to skip
    // PE: polyline-encoded coordinates.
    bool sevenBit = false;
    uint8_t flag = 0;          // ':' or '>' waiting for its value, else 0
    bool nextUp = false;       // '<': the next point is a move
    bool nextAbsolute = false; // '=': the next point is absolute
    int32_t fractionBits = 0;
    uint64_t digitsValue = 0;
    uint64_t digitWeight = 1;
    bool haveX = false;
    double encodedX = 0;
};

} // namespace qv
