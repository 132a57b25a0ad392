#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace qv {

// What one read of a drawing met, beside the pages it gave: a plain value the CLI prints, the station logs and
// the window shows after an add.
struct ImportReport {
    int32_t dialect = 0;
    std::map<std::string, uint32_t> met;     // instructions of the dialect read, by mnemonic, and how often
    std::map<std::string, uint32_t> skipped; // instructions outside the dialect, ignored
    std::map<int32_t, int32_t> pens;         // pen number selected -> the CurveKind its curves became
    uint32_t labels = 0;                     // labels drawn
    std::set<uint16_t> missingGlyphs;        // codes a label needed that the fonts do not hold
    uint32_t curves = 0;                     // curves the drawing gave, before paging
    double widthMm = 0;                      // the drawing's extent
    double heightMm = 0;
    double lengthMm = 0; // drawn length of every curve
    uint32_t pages = 0;  // pages made, after tidying and paging

    // Read without error but no page made (no curve, or only curves the clean-up drops, such as single
    // points): nothing the operator can work with. Meaningful once `pages` is set.
    bool Empty() const { return pages == 0; }

    bool operator==(const ImportReport&) const = default;
};

// "IN 1, PD 12" style lists of mnemonic counts, empty when there are none.
std::string CountList(const std::map<std::string, uint32_t>& counts);

} // namespace qv
