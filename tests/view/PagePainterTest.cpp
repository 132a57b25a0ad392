#include "ViewSamples.h"

#include "geometry/PageSamples.h"

#include "app/AppOptions.h"
#include "tasks/CQuorvaneDoc.h"
#include "view/PagePainter.h"
#include "view/ViewController.h"
#include "view/ViewPalette.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qv::test {
namespace {

template <typename T>
std::vector<T> All(const DisplayList& list)
{
    std::vector<T> found;
    for (const Primitive& p : list.primitives) {
        if (const T* t = std::get_if<T>(&p))
            found.push_back(*t);
    }
    return found;
}

// The kind of each primitive in drawing order, one letter each: F fill, R rectangle, L line, T text,
// P polyline, S vertex squares, A arrow.
std::string Order(const DisplayList& list)
{
    std::string order;
    for (const Primitive& p : list.primitives)
        order += "FRLTPSA"[p.index()];
    return order;
}

struct PageRig {
    explicit PageRig(int32_t width = 1040, int32_t height = 780)
    {
        disp.DispSizeX = 1200;
        disp.DispSizeY = 900;
        doc.pages.push_back(std::make_unique<COnePage>());
        view.Resize(width, height);
        view.SetCurrentPage(0);
    }
    COnePage& page() { return *doc.pages[0]; }

    CQuorvaneDoc doc;
    CSetDisp disp;
    AppOptions options;
    ViewController view{doc, EditInPlace(doc), disp, options};
};

TEST(PagePainter, FrameAndFirstLabelsOfTheFittedView)
{
    PageRig rig;
    const DisplayList& list = rig.view.Frame();
    ASSERT_GE(list.primitives.size(), 3u);
    const auto* fill = std::get_if<FillRect>(&list.primitives[0]);
    ASSERT_TRUE(fill);
    EXPECT_EQ(fill->rect, (ScreenRect{0, 0, 1040, 780}));
    EXPECT_EQ(fill->colour, (Rgb{0, 0, 0}));
    // The display area runs from (40, 750) to (973, 50), grown by 4 pixels.
    const auto* frame = std::get_if<OutlineRect>(&list.primitives[1]);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->rect, (ScreenRect{36, 46, 977, 754}));
    EXPECT_EQ(frame->pen, (Pen{{0, 240, 0}, LineStyle::Solid, 1}));

    // 19 labels up the y axis every 50 mm, then 13 along the x axis every 100 mm.
    const std::vector<Text> labels = All<Text>(list);
    ASSERT_EQ(labels.size(), 19u + 13u);
    const struct {
        std::size_t index;
        const char* text;
        ScreenPoint at;
    } expected[] = {
        {0, "000", {4, 742}},   {1, "050", {4, 703}},    {18, "900", {4, 42}},
        {19, "000", {28, 756}}, {20, "100", {105, 756}}, {31, "1200", {961, 756}},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(labels[e.index].text, e.text) << e.index;
        EXPECT_EQ(labels[e.index].topLeft, e.at) << e.index;
        EXPECT_EQ(labels[e.index].colour, (Rgb{0, 255, 0}));
        EXPECT_TRUE(labels[e.index].font.family.empty()) << "the surface's font";
    }

    // 17 horizontal lines, then 23 vertical ones.
    const std::vector<Line> lines = All<Line>(list);
    ASSERT_EQ(lines.size(), 17u + 23u);
    EXPECT_EQ(lines[0].from, (ScreenPoint{40, 711}));
    EXPECT_EQ(lines[0].to, (ScreenPoint{973, 711}));
    EXPECT_EQ(lines[17].from, (ScreenPoint{78, 750}));
    EXPECT_EQ(lines[17].to, (ScreenPoint{78, 50}));
    EXPECT_EQ(lines[0].pen, (Pen{{20, 60, 60}, LineStyle::Solid, 1}));
    EXPECT_EQ(Order(list), "FR" + std::string(32, 'T') + std::string(40, 'L'));
}

TEST(PagePainter, AnEmptyListIsTheBlackBackgroundAlone)
{
    PageRig rig(300, 200);
    rig.doc.pages.clear();
    rig.view.Redraw();
    EXPECT_EQ(Order(rig.view.Frame()), "F");
}

TEST(PagePainter, LayersColoursAndSequenceNumbers)
{
    PageRig rig;
    COnePage& page = rig.page();
    AddCurve(page, {{0, 0}, {4000, 0}}, CurveKind::FullCut).lineStyle = 1;
    AddCurve(page, {{0, 4000}, {4000, 4000}}, CurveKind::Plot);
    AddCurve(page, {{0, 8000}, {4000, 8000}}, CurveKind::PenZero);
    AddCurve(page, {{0, 12000}, {4000, 12000}}, CurveKind::HalfCut);
    AddCurve(page, {{0, 16000}, {4000, 16000}}, 7);
    for (const auto& c : page.curves)
        c->ComputeBounds();
    rig.view.Redraw();

    const DisplayList& list = rig.view.Frame();
    const std::vector<Polyline> lines = All<Polyline>(list);
    ASSERT_EQ(lines.size(), 4u) << "pen-0 curves are not drawn";
    const struct {
        int32_t curve;
        Pen pen;
    } expected[] = {
        {1, {{0, 0, 255}}},
        {0, {{255, 0, 0}, LineStyle::Dashed}},
        {3, {{255, 255, 0}}},
        {4, {{255, 0, 0}}},
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].curve, expected[i].curve) << i;
        EXPECT_EQ(lines[i].pen, expected[i].pen) << i;
    }
    // The plot line from (0, 4000) to (4000, 4000) at 0.019444 pixels per unit.
    const auto plot = list.PointsOf(lines[0].first, lines[0].count);
    ASSERT_EQ(plot.size(), 2u);
    EXPECT_EQ(plot[0], (ScreenPoint{40, 672}));
    EXPECT_EQ(plot[1], (ScreenPoint{117, 672}));

    // The numbers follow each cut curve, at the centre of its bounds.
    const std::string order = Order(list);
    EXPECT_EQ(order.substr(order.size() - 7), "PPTPTPT");
    const std::vector<Text> texts = All<Text>(list);
    ASSERT_GE(texts.size(), 3u);
    const Text* numbers = &texts[texts.size() - 3];
    const char* expectedNumbers[] = {"01", "02", "03"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(numbers[i].text, expectedNumbers[i]);
        EXPECT_EQ(numbers[i].colour, (Rgb{160, 222, 150}));
        EXPECT_EQ(numbers[i].font, (Font{"Arial", 16}));
    }
    EXPECT_EQ(numbers[0].topLeft, (ScreenPoint{78, 750}));

    rig.options.DisplaySequence = 0;
    EXPECT_EQ(All<Text>(rig.view.Frame()).size(), texts.size() - 3) << "DisplaySequence off";
}

TEST(PagePainter, SelectedCurvesShowVerticesAndTheStartArrow)
{
    PageRig rig;
    COnePage& page = rig.page();
    AddCurve(page, {{0, 0}, {0, 4000}, {4000, 4000}}, CurveKind::FullCut).selected = 1; // starts upwards
    AddCurve(page, {{8000, 0}, {12000, 0}}, CurveKind::Plot).selected = 1;
    rig.options.DisplaySequence = 0;
    rig.view.Redraw();

    const DisplayList& list = rig.view.Frame();
    const std::string order = Order(list);
    EXPECT_EQ(order.substr(order.size() - 5), "PSPSA") << "plot layer first, the arrow after the cut's squares";
    const std::vector<VertexSquares> squares = All<VertexSquares>(list);
    ASSERT_EQ(squares.size(), 2u);
    EXPECT_EQ(squares[1].curve, 0);
    EXPECT_EQ(squares[1].half, 3);
    EXPECT_EQ(squares[1].pen.colour, (Rgb{255, 0, 0}));
    const auto corners = list.PointsOf(squares[1].first, squares[1].count);
    ASSERT_EQ(corners.size(), 3u);
    EXPECT_EQ(corners[0], (ScreenPoint{40, 750}));
    EXPECT_EQ(corners[1], (ScreenPoint{40, 672}));

    // From (40, 750) up the window: the tip 15 pixels above, the base 6 pixels to each side.
    const std::vector<Triangle> arrows = All<Triangle>(list);
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_EQ(arrows[0].corners[0], (ScreenPoint{40, 735}));
    EXPECT_EQ(arrows[0].corners[1], (ScreenPoint{46, 750}));
    EXPECT_EQ(arrows[0].corners[2], (ScreenPoint{34, 750}));
    EXPECT_EQ(arrows[0].fill, (Rgb{255, 255, 255}));
    EXPECT_EQ(arrows[0].pen.colour, (Rgb{255, 0, 0}));
}

TEST(PagePainter, EachFrameShowsTheLatestPanAndSelection)
{
    PageRig rig;
    AddCurve(rig.page(), {{0, 0}, {4000, 0}}, CurveKind::FullCut);
    rig.view.Redraw();
    const auto firstPoint = [&] {
        const DisplayList& list = rig.view.Frame();
        const Polyline line = All<Polyline>(list).front();
        return list.PointsOf(line.first, line.count)[0];
    };
    EXPECT_EQ(firstPoint(), (ScreenPoint{40, 750}));

    rig.view.RightDown({500, 500});
    rig.view.MouseMove({510, 490});
    rig.view.RightUp({510, 490});
    EXPECT_EQ(firstPoint(), (ScreenPoint{50, 740}));

    EXPECT_TRUE(All<VertexSquares>(rig.view.Frame()).empty());
    rig.view.LeftDown({60, 740});
    rig.view.LeftUp({60, 740}, {});
    EXPECT_EQ(All<VertexSquares>(rig.view.Frame()).size(), 1u);

    rig.view.Resize(520, 390);
    EXPECT_EQ(firstPoint(), (ScreenPoint{40, 360})) << "a resize fits again";
}

TEST(PagePainter, CurvesWithoutEnoughPointsDrawWhatTheyHave)
{
    CSetDisp disp = UnitDisp();
    COnePage page;
    AddCurve(page, {}, CurveKind::FullCut);
    AddCurve(page, {{10, 10}}, CurveKind::FullCut).selected = 1;
    AddCurve(page, {{20, 20}, {30, 30}}, CurveKind::FullCut);
    const PageScene scene = BuildPageScene(page, true);
    DisplayList list;
    PaintView(disp, &scene, list);
    const std::vector<Text> texts = All<Text>(list);
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2].text, "02") << "the empty curve keeps its number, but shows none";
    EXPECT_EQ(texts.back().text, "03");
    const std::string order = Order(list);
    EXPECT_EQ(order.substr(order.size() - 4), "STPT") << "one point: its square and number, no line, no arrow";
}

TEST(PagePainter, DetailFinerThanAPixelIsLeftOut)
{
    struct Row {
        const char* name;
        std::vector<CPoint> points;
        std::vector<ScreenPoint> drawn;
    };
    // At one unit per pixel, (x, y) at (x + 40, 570 - y).
    const Row rows[] = {
        {"points within a pixel of the last one kept go, the last point stays",
         {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {5, 0}, {5, 0}, {6, 0}},
         {{40, 570}, {42, 570}, {45, 570}, {46, 570}}},
        {"a closed curve within 3 x 3 pixels keeps two points",
         {{0, 0}, {1, 0}, {1, 1}, {0, 0}},
         {{40, 570}, {41, 569}}},
        {"a curve on one pixel draws nothing", {{0, 0}, {0, 0}}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        COnePage page;
        page.AddCurve().points = row.points;
        const PageScene scene = BuildPageScene(page, false);
        DisplayList list;
        PaintView(UnitDisp(), &scene, list);
        const std::vector<Polyline> lines = All<Polyline>(list);
        std::vector<ScreenPoint> drawn;
        if (!lines.empty()) {
            const auto points = list.PointsOf(lines[0].first, lines[0].count);
            drawn.assign(points.begin(), points.end());
        }
        EXPECT_EQ(drawn, row.drawn);
    }
}

} // namespace
} // namespace qv::test
