#include "ViewSamples.h"

#include "geometry/PageSamples.h"

#include "app/AppOptions.h"
#include "geometry/ViewCommands.h"
#include "tasks/CQuorvaneDoc.h"
#include "view/ViewController.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace qv::test {
namespace {

// One page at one unit per pixel, (x, y) at (x + 40, 570 - y):
//   0 full cut, vertical from (240, 570) up to (240, 370)
//   1 plot, horizontal from (140, 470) to (340, 470), crossing the cut at (240, 470)
//   2 plot, short, from (160, 480) to (170, 475)
//   3 pen 0, horizontal from (290, 470) to (340, 470), on top of the plot line
struct ViewRig {
    ViewRig()
    {
        auto page = std::make_unique<COnePage>();
        AddCurve(*page, {{200, 0}, {200, 200}}, CurveKind::FullCut);
        AddCurve(*page, {{100, 100}, {300, 100}}, CurveKind::Plot);
        AddCurve(*page, {{120, 90}, {130, 95}}, CurveKind::Plot);
        AddCurve(*page, {{250, 100}, {300, 100}}, CurveKind::PenZero);
        doc.pages.push_back(std::move(page));
        disp = UnitDisp();
    }
    std::vector<int32_t> Selected() const
    {
        std::vector<int32_t> selected;
        for (const auto& c : doc.pages[0]->curves)
            selected.push_back(c->selected);
        return selected;
    }

    CQuorvaneDoc doc;
    CSetDisp disp;
    AppOptions options;
    ViewController view{doc, EditInPlace(doc), disp, options};
};

struct Drag {
    ScreenPoint from;
    ScreenPoint to;
    Modifiers modifiers{};
};

Drag Click(int32_t x, int32_t y, Modifiers modifiers = {})
{
    return {{x, y}, {x, y}, modifiers};
}

TEST(ViewSelection, ClicksAndBands)
{
    const Modifiers ctrl{true, false}, shift{false, true};
    struct Row {
        const char* name;
        std::vector<Drag> drags;
        std::vector<int32_t> selected;
    };
    const Row rows[] = {
        {"where plot and cut cross, the plot line", {Click(240, 470)}, {0, 1, 0, 0}},
        {"Ctrl on it again deselects it", {Click(240, 470), Click(240, 470, ctrl)}, {0, 0, 0, 0}},
        {"a plain click on it again leaves it selected", {Click(240, 470), Click(240, 470)}, {0, 1, 0, 0}},
        {"Shift keeps the earlier selection", {Click(240, 470), Click(240, 400, shift)}, {1, 1, 0, 0}},
        {"a plain click replaces it", {Click(240, 470), Click(240, 400)}, {1, 0, 0, 0}},
        {"a click on empty space clears", {Click(240, 470), Click(600, 100)}, {0, 0, 0, 0}},
        {"pen-0 curves are tried first", {Click(300, 470)}, {0, 0, 0, 1}},
        {"a band to the right takes what it crosses", {{{100, 450}, {260, 490}}}, {1, 1, 1, 0}},
        {"a band to the left only what it encloses", {{{260, 490}, {100, 450}}}, {0, 0, 1, 0}},
        {"a band with Ctrl adds", {Click(240, 400), {{260, 490}, {100, 450}, ctrl}}, {1, 0, 1, 0}},
        {"a 10 x 10 drag is a click at the release", {{{230, 460}, {240, 470}}}, {0, 1, 0, 0}},
        {"an 11 x 11 drag is a band", {{{230, 460}, {241, 471}}}, {1, 1, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ViewRig rig;
        for (const Drag& d : row.drags) {
            EXPECT_EQ(rig.view.LeftDown(d.from), ViewUpdate::Band);
            rig.view.MouseMove(d.to);
            EXPECT_EQ(rig.view.LeftUp(d.to, d.modifiers), ViewUpdate::Redraw);
        }
        EXPECT_EQ(rig.Selected(), row.selected);
    }
}

TEST(ViewSelection, TheBandFollowsTheMouse)
{
    ViewRig rig;
    EXPECT_FALSE(rig.view.Band());
    rig.view.LeftDown({260, 490});
    EXPECT_EQ(rig.view.MouseMove({100, 450}), ViewUpdate::Band);
    auto band = rig.view.Band();
    ASSERT_TRUE(band);
    EXPECT_EQ(band->rect, (ScreenRect{100, 450, 260, 490}));
    EXPECT_FALSE(band->crossing);
    rig.view.MouseMove({300, 500});
    band = rig.view.Band();
    ASSERT_TRUE(band);
    EXPECT_EQ(band->rect, (ScreenRect{260, 490, 300, 500}));
    EXPECT_TRUE(band->crossing);
    rig.view.LeftUp({300, 500}, {});
    EXPECT_FALSE(rig.view.Band());

    rig.doc.pages[0]->curves[1]->selected = 1;
    EXPECT_EQ(rig.view.LeftUp({0, 0}, {}), ViewUpdate::None) << "a release without its press";
    EXPECT_EQ(rig.Selected(), (std::vector<int32_t>{0, 1, 0, 0}));
}

TEST(ViewSelection, RightButtonPansOrOpensTheMenu)
{
    ViewRig rig;
    EXPECT_EQ(rig.view.RightDown({100, 100}), ViewUpdate::None);
    EXPECT_EQ(rig.view.MouseMove({110, 95}), ViewUpdate::Redraw);
    EXPECT_EQ(rig.disp.panX, -30);
    EXPECT_EQ(rig.disp.panY, 5);
    EXPECT_EQ(rig.view.RightUp({110, 95}), ViewUpdate::None) << "a pan, not a click";

    rig.view.RightDown({50, 50});
    EXPECT_EQ(rig.view.RightUp({51, 49}), ViewUpdate::ContextMenu);
    rig.view.RightDown({50, 50});
    EXPECT_EQ(rig.view.RightUp({52, 50}), ViewUpdate::None) << "2 pixels is a move";
    EXPECT_EQ(rig.view.RightUp({50, 50}), ViewUpdate::None) << "a release without its press";
    EXPECT_EQ(rig.disp.panX, -30) << "moves without a button do not pan";
}

TEST(ViewCommands, ActOnTheCurrentPageThroughTheCoreOperation)
{
    ViewRig rig;
    rig.view.LeftDown({240, 400});
    rig.view.LeftUp({240, 400}, {});
    const CommandOutcome outcome = rig.view.Command(ViewCommand::ToPlot);
    EXPECT_TRUE(outcome.edited);
    EXPECT_EQ(outcome.update, ViewUpdate::Redraw);
    EXPECT_EQ(KindsOf(*rig.doc.pages[0]), (std::vector<int32_t>{1, 1, 1, 0})) << "the cut became a plot curve";

    EXPECT_FALSE(rig.view.Command(262).edited) << "not a view command";
    rig.doc.pages.clear();
    EXPECT_FALSE(rig.view.Command(ViewCommand::DeletePlot).edited) << "an empty list";
}

} // namespace
} // namespace qv::test
