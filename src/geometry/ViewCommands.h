#pragma once

#include "model/COnePage.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace qv {

// The geometry commands of the drawing view's context menu and keys, by command number. Each acts on one page
// of the task list; the "selected" ones act on the curves whose `selected` is set.
struct ViewCommand {
    enum : int32_t {
        SplineFit = 1506,         // "使用Spline拟合": cut curves rebuilt from fitted splines, once per page
        RecognizeOutlines = 1507, // "识别图形外轮廓"
        ToPlot = 2004,            // selected curves become plot curves, plot group first
        ToFullCut = 2005,         // selected curves become full cuts, cut group first
        Delete = 2006,            // selected curves removed
        Reverse = 2007,           // selected curves reversed
        DeletePlot = 2008,        // every plot curve removed
        DeleteCut = 2009,         // every cut curve removed
        AllPlot = 2011,           // every curve becomes a plot curve
        ToHalfCut = 2021,         // selected curves become half cuts, cut group first
        Smooth = 2022,            // "使用平滑算法平滑曲线": close points of the cut curves merged
        Merge = 2023,             // selected curves merged end to end, 20 units apart at most
    };
};

struct ViewCommandName {
    int32_t command;
    std::string_view name; // for command lines: "merge", "to-plot", ...
};

// Every command ApplyViewCommand knows, in menu order.
std::span<const ViewCommandName> ViewCommandNames();

// The command given by its number or its name; nothing for anything else.
std::optional<int32_t> FindViewCommand(std::string_view numberOrName);

// Applies the command to the page; false, with the page untouched, for a number that is not a view command.
// fitDistHpgl: the option FitDistHpgl, the point spacing of the spline fit.
bool ApplyViewCommand(COnePage& page, int32_t command, int32_t fitDistHpgl);

// The page a command acts on, given the view's current page. With an empty list nothing is done (and the
// current page becomes 0). Outline recognition and the spline fit (1506) act only on a current page that
// exists; every other command falls back to page 0, which becomes the current page.
std::optional<std::size_t> CommandPage(int32_t command, std::size_t pageCount, int32_t& currentPage);

} // namespace qv
