#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qv::gen {

// What a generated garment marker holds. The same options and seed always give the same bytes.
struct MarkerOptions {
    uint32_t seed = 1;
    // 0: exactly `pieces` pieces. Otherwise pieces are added until the next would not fit, and the file is
    // padded with line feeds to exactly this many bytes.
    std::size_t targetBytes = 0;
    int pieces = 300;
    int pointsPerPiece = 300; // points of a piece outline, about
    int pageBreaks = 0;       // PG commands spread evenly through the drawing
    bool labels = true;       // piece labels, ASCII and GBK Chinese
    int fullCutPen = 3;       // outlines
    int plotPen = 1;          // inner lines and labels
    int halfCutPen = 2;       // fold lines
    int pointsPerCommand = 0; // coordinate pairs per PD command; 0 puts a whole polyline in one
};

// A garment marker as garment CAD software plots it: pieces laid out on a 1.5 m wide marker, each a closed
// outline on the full-cut pen, a grain line and a dart on the plot pen, a fold line on the half-cut pen and a
// label with the piece name in ASCII and in Chinese. Plotter units of 1/40 mm.
std::string GenerateMarkerPlt(const MarkerOptions& options);

// A machine-tuning sheet: a printed square of `sizeCm` centimetres with centimetre ticks along two edges, a
// centre cross and its size as a label, cut along the printed outline (pen 3) so that print and cut can be
// compared. With `halfCut` a second square 1 cm inside it is half-cut (pen 2).
std::string GenerateTestSquarePlt(int sizeCm, bool halfCut);

} // namespace qv::gen
