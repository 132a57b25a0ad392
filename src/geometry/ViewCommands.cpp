#include "geometry/ViewCommands.h"

#include "geometry/CurveEdits.h"
#include "geometry/CutOptimisation.h"
#include "geometry/MergeCurves.h"
#include "geometry/OutlineRecognition.h"
#include "geometry/Smoothing.h"
#include "model/CurveKind.h"

#include <array>
#include <charconv>

namespace qv {

namespace {

struct Entry {
    ViewCommandName name;
    void (*apply)(COnePage&, int32_t fitDistHpgl);
};

constexpr Entry kCommands[] = {
    {{ViewCommand::RecognizeOutlines, "recognize-outlines"},
     [](COnePage& p, int32_t) {
         // Past the nesting bound the page shows every contour as a full cut, which the operator sees
         // and can change curve by curve; nothing is lost.
         (void)RecognizeOutlines(p);
     }},
    {{ViewCommand::Merge, "merge"}, [](COnePage& p, int32_t) { MergeCurves(p, true, true); }},
    {{ViewCommand::ToPlot, "to-plot"},
     [](COnePage& p, int32_t) {
         SetKindOfSelected(p, CurveKind::Plot);
         RegroupByKind(p, true);
     }},
    {{ViewCommand::ToFullCut, "to-full-cut"},
     [](COnePage& p, int32_t) {
         SetKindOfSelected(p, CurveKind::FullCut);
         RegroupByKind(p, false);
     }},
    {{ViewCommand::ToHalfCut, "to-half-cut"},
     [](COnePage& p, int32_t) {
         SetKindOfSelected(p, CurveKind::HalfCut);
         RegroupByKind(p, false);
     }},
    {{ViewCommand::Reverse, "reverse"}, [](COnePage& p, int32_t) { ReverseSelected(p); }},
    {{ViewCommand::Delete, "delete"}, [](COnePage& p, int32_t) { DeleteSelected(p); }},
    {{ViewCommand::DeletePlot, "delete-plot"}, [](COnePage& p, int32_t) { DeletePlotCurves(p); }},
    {{ViewCommand::DeleteCut, "delete-cut"}, [](COnePage& p, int32_t) { DeleteCutCurves(p); }},
    {{ViewCommand::AllPlot, "all-plot"}, [](COnePage& p, int32_t) { SetAllPlot(p); }},
    {{ViewCommand::Smooth, "smooth"}, [](COnePage& p, int32_t) { SmoothCutCurves(p); }},
    {{ViewCommand::SplineFit, "spline"},
     [](COnePage& p, int32_t fitDistHpgl) {
         RemoveCollinearCuts(p);
         OptimizeCutCurves(p, fitDistHpgl);
     }},
};

constexpr auto kNames = [] {
    std::array<ViewCommandName, std::size(kCommands)> names{};
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = kCommands[i].name;
    return names;
}();

} // namespace

std::span<const ViewCommandName> ViewCommandNames()
{
    return kNames;
}

std::optional<int32_t> FindViewCommand(std::string_view numberOrName)
{
    int32_t number = 0;
    const char* end = numberOrName.data() + numberOrName.size();
    const auto [ptr, ec] = std::from_chars(numberOrName.data(), end, number);
    const bool isNumber = ec == std::errc() && ptr == end;
    for (const Entry& e : kCommands) {
        if (isNumber ? e.name.command == number : e.name.name == numberOrName)
            return e.name.command;
    }
    return std::nullopt;
}

bool ApplyViewCommand(COnePage& page, int32_t command, int32_t fitDistHpgl)
{
    for (const Entry& e : kCommands) {
        if (e.name.command == command) {
            e.apply(page, fitDistHpgl);
            return true;
        }
    }
    return false;
}

std::optional<std::size_t> CommandPage(int32_t command, std::size_t pageCount, int32_t& currentPage)
{
    const bool valid = currentPage >= 0 && static_cast<std::size_t>(currentPage) < pageCount;
    if (command == ViewCommand::RecognizeOutlines || command == ViewCommand::SplineFit) {
        if (!valid)
            return std::nullopt;
        return static_cast<std::size_t>(currentPage);
    }
    if (pageCount == 0) {
        currentPage = 0;
        return std::nullopt;
    }
    if (!valid)
        currentPage = 0;
    return static_cast<std::size_t>(currentPage);
}

} // namespace qv
