#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace qv {
class COnePage;
}

namespace qv::cli {

// A whole decimal number of at least 1; empty for anything else.
std::optional<std::size_t> PositiveNumber(std::string_view text);

// Curves of a page counted from 1, "1,3-5", as the 0-based positions 0, 2, 3, 4; nothing when a part is
// malformed or beyond `count`.
std::optional<std::vector<std::size_t>> CurveList(std::string_view text, std::size_t count);

// Marks the curves of `text` (a CurveList) selected; false, with the reason on stderr, when the list is bad.
bool SelectListedCurves(COnePage& page, std::string_view text);

} // namespace qv::cli
