#include "CurveList.h"

#include "model/COnePage.h"

#include <charconv>
#include <cstdio>

namespace qv::cli {

std::optional<std::size_t> PositiveNumber(std::string_view text)
{
    std::size_t n = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || ptr != text.data() + text.size() || n == 0)
        return std::nullopt;
    return n;
}

std::optional<std::vector<std::size_t>> CurveList(std::string_view text, std::size_t count)
{
    std::vector<std::size_t> picked;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view part = text.substr(0, comma);
        const std::size_t dash = part.find('-');
        const auto first = PositiveNumber(part.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : PositiveNumber(part.substr(dash + 1));
        if (!first || !last || *first > *last || *last > count)
            return std::nullopt;
        for (std::size_t i = *first; i <= *last; ++i)
            picked.push_back(i - 1);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
        if (comma != std::string_view::npos && text.empty())
            return std::nullopt;
    }
    return picked;
}

bool SelectListedCurves(COnePage& page, std::string_view text)
{
    const auto picked = CurveList(text, page.curves.size());
    if (!picked) {
        std::fprintf(stderr, "bad curve list \"%.*s\" for a page of %zu curves\n", static_cast<int>(text.size()),
                     text.data(), page.curves.size());
        return false;
    }
    for (const std::size_t i : *picked)
        page.curves[i]->selected = 1;
    return true;
}

} // namespace qv::cli
