#pragma once

#include "model/COnePage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class CSettings;

// What the export of the task list to HP-GL needs: the scales in per mille and the half-cut pen.
struct PltExportOptions {
    int32_t exportScaleX = 1000;
    int32_t exportScaleY = 1000;
    int32_t HCPenNumber = 2;
};

PltExportOptions PltExportOptionsOf(const CSettings& settings);

// The pen a curve is written with: Plot 1, HalfCut the half-cut pen, every other kind (FullCut, PenZero) the
// pen next to it that the reader takes for a full cut.
int32_t PltExportPen(int32_t kind, int32_t hcPenNumber);

// The task list as one HP-GL text, read back by the program's own reader with the same half-cut pen.
// Per page, in list order, with no separators:
//   LT<style>;        before a curve whose line style differs from the page's last (0 at the page's start)
//   IN;SP<pen>;       before the page's first curve and before every curve whose pen differs from the last
//   PU<x0>,<y0>;PD<x0>,<y0>,<x1>,<y1>,...,<xn>,<yn>;   for a curve with points
//   PG;               after the page
// A point is written as trunc(x * scaleX / 1000), trunc(y * scaleY / 1000), in plotter units.
std::string PltExportText(const std::vector<std::unique_ptr<COnePage>>& pages, const PltExportOptions& options);

} // namespace qv
