#include "geometry/CurveEdits.h"
#include "geometry/ViewCommands.h"

#include "PageSamples.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::AddCurve;
using test::KindsOf;
using test::PointsOf;

// Plot A, cut B, plot C, cut D, each a one-point-wide line at x = its letter's position.
COnePage Abcd()
{
    COnePage page;
    AddCurve(page, {{0, 0}, {0, 9}}, CurveKind::Plot);
    AddCurve(page, {{1, 0}, {1, 9}}, CurveKind::FullCut);
    AddCurve(page, {{2, 0}, {2, 9}}, CurveKind::PenZero);
    AddCurve(page, {{3, 0}, {3, 9}}, CurveKind::HalfCut);
    return page;
}

std::vector<int32_t> Order(const COnePage& page)
{
    std::vector<int32_t> xs;
    for (const auto& c : page.curves)
        xs.push_back(c->points[0].x);
    return xs;
}

TEST(RegroupByKind, KeepsTheOrderInsideEachGroup)
{
    COnePage page = Abcd();
    RegroupByKind(page, false);
    EXPECT_EQ(Order(page), (std::vector<int32_t>{1, 3, 0, 2}));
    RegroupByKind(page, true);
    EXPECT_EQ(Order(page), (std::vector<int32_t>{0, 2, 1, 3}));
}

TEST(CurveEdits, DeletionsByKindAndSelection)
{
    COnePage plot = Abcd();
    DeletePlotCurves(plot);
    EXPECT_EQ(Order(plot), (std::vector<int32_t>{1, 3})) << "kinds 0 and 1 go";

    COnePage cut = Abcd();
    DeleteCutCurves(cut);
    EXPECT_EQ(Order(cut), (std::vector<int32_t>{0, 2}));

    COnePage sel = Abcd();
    sel.curves[1]->selected = 1;
    sel.curves[2]->selected = 1;
    DeleteSelected(sel);
    EXPECT_EQ(Order(sel), (std::vector<int32_t>{0, 3})) << "two adjacent selected curves both go";
}

TEST(CurveEdits, ReverseSelectedAndSetAllPlot)
{
    COnePage page = Abcd();
    page.curves[3]->selected = 1;
    ReverseSelected(page);
    EXPECT_EQ(page.curves[3]->points, (std::vector<CPoint>{{3, 9}, {3, 0}}));
    EXPECT_EQ(page.curves[0]->points, (std::vector<CPoint>{{0, 0}, {0, 9}}));
    EXPECT_EQ(page.curves[3]->selected, 1);
    SetAllPlot(page);
    EXPECT_EQ(KindsOf(page), (std::vector<int32_t>{1, 1, 1, 1}));
}

TEST(ViewCommands, KindChangesRegroup)
{
    struct Row {
        const char* name;
        int32_t command;
        std::vector<int32_t> order;
        std::vector<int32_t> kinds;
    };
    // Selected: A (plot) and D (half cut).
    const Row rows[] = {
        {"to plot: plot group first", ViewCommand::ToPlot, {0, 2, 3, 1}, {1, 0, 1, 3}},
        {"to full cut: cut group first", ViewCommand::ToFullCut, {0, 1, 3, 2}, {3, 3, 3, 0}},
        {"to half cut: cut group first", ViewCommand::ToHalfCut, {0, 1, 3, 2}, {2, 3, 2, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        COnePage page = Abcd();
        page.curves[0]->selected = 1;
        page.curves[3]->selected = 1;
        ASSERT_TRUE(ApplyViewCommand(page, r.command, 28));
        EXPECT_EQ(Order(page), r.order);
        EXPECT_EQ(KindsOf(page), r.kinds);
    }
}

TEST(ViewCommands, NamesNumbersAndUnknownCommands)
{
    EXPECT_EQ(FindViewCommand("merge"), ViewCommand::Merge);
    EXPECT_EQ(FindViewCommand("2023"), ViewCommand::Merge);
    EXPECT_EQ(FindViewCommand("recognize-outlines"), 1507);
    EXPECT_EQ(FindViewCommand("2010"), std::nullopt);
    EXPECT_EQ(FindViewCommand("20x"), std::nullopt);
    EXPECT_EQ(FindViewCommand(""), std::nullopt);
    for (const ViewCommandName& n : ViewCommandNames())
        EXPECT_EQ(FindViewCommand(n.name), n.command) << n.name;

    COnePage page = Abcd();
    EXPECT_FALSE(ApplyViewCommand(page, 2010, 28));
    EXPECT_EQ(Order(page), (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_TRUE(ApplyViewCommand(page, ViewCommand::DeleteCut, 28));
    EXPECT_EQ(Order(page), (std::vector<int32_t>{0, 2}));
}

TEST(ViewCommands, MergeJoinsSelectedCurvesWide)
{
    COnePage page;
    AddCurve(page, {{0, 0}, {100, 0}}).selected = 1;
    AddCurve(page, {{110, 0}, {200, 0}}).selected = 1;
    ApplyViewCommand(page, ViewCommand::Merge, 28);
    EXPECT_EQ(PointsOf(page), (std::vector<std::vector<CPoint>>{{{0, 0}, {100, 0}, {110, 0}, {200, 0}}}));
}

TEST(CommandPage, CurrentPageRules)
{
    struct Row {
        const char* name;
        int32_t command;
        std::size_t pages;
        int32_t current;
        std::optional<std::size_t> target;
        int32_t currentAfter;
    };
    const Row rows[] = {
        {"empty list", ViewCommand::Merge, 0, 3, std::nullopt, 0},
        {"in range", ViewCommand::Merge, 4, 2, 2, 2},
        {"past the end falls back to page 0", ViewCommand::Delete, 4, 4, 0, 0},
        {"outlines past the end do nothing", ViewCommand::RecognizeOutlines, 4, 4, std::nullopt, 4},
        {"spline fit past the end does nothing", 1506, 2, 7, std::nullopt, 7},
        {"outlines on a valid page", ViewCommand::RecognizeOutlines, 4, 1, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        int32_t current = r.current;
        EXPECT_EQ(CommandPage(r.command, r.pages, current), r.target);
        EXPECT_EQ(current, r.currentAfter);
    }
}

} // namespace
} // namespace qv
