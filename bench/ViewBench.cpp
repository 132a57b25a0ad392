#include "DenseJobPage.h"

#include "app/AppOptions.h"
#include "app/CSetDisp.h"
#include "tasks/CQuorvaneDoc.h"
#include "view/ViewController.h"

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <memory>
#include <variant>

namespace {

// The dense job page (300 000 points in 2500 curves over 1600 x 1000 mm) in a 1040 x 780 view; with
// `selected` every curve is selected, so every point gets its square and every cut curve its arrow.
struct DenseView {
    explicit DenseView(bool selected)
    {
        auto page = std::make_unique<qv::COnePage>(qv::bench::DenseJobPage());
        for (const auto& c : page->curves) {
            c->selected = selected ? 1 : 0;
            c->ComputeBounds();
        }
        doc.pages.push_back(std::move(page));
        disp.DispSizeX = 1600;
        disp.DispSizeY = 1000;
        view.Resize(1040, 780);
        view.SetCurrentPage(0);
    }

    qv::CQuorvaneDoc doc;
    qv::CSetDisp disp;
    qv::AppOptions options;
    qv::ViewController view{doc, qv::EditInPlace(doc), disp, options};
};

// A pan between two frames: the page's points are mapped again, the page itself is not read.
void BM_FrameAfterPan(benchmark::State& state)
{
    DenseView v(state.range(0) != 0);
    int32_t step = 1;
    for (auto _ : state) {
        v.view.RightDown({500, 400});
        v.view.MouseMove({500 + step, 400});
        v.view.RightUp({500 + step, 400});
        step = -step;
        benchmark::DoNotOptimize(v.view.Frame().points.data());
    }
    state.counters["points"] = static_cast<double>(v.view.Frame().points.size());
}
BENCHMARK(BM_FrameAfterPan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A selection change: the page is read into its scene again, then mapped.
void BM_FrameAfterSelection(benchmark::State& state)
{
    DenseView v(state.range(0) != 0);
    for (auto _ : state) {
        v.view.Redraw();
        benchmark::DoNotOptimize(v.view.Frame().points.data());
    }
}
BENCHMARK(BM_FrameAfterSelection)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void SetPen(cairo_t* cr, const qv::Pen& pen)
{
    cairo_set_source_rgb(cr, pen.colour.r / 255.0, pen.colour.g / 255.0, pen.colour.b / 255.0);
    cairo_set_line_width(cr, pen.width);
    const double dash[] = {6, 4};
    cairo_set_dash(cr, dash, pen.style == qv::LineStyle::Dashed ? 2 : 0, 0);
}

// What a window does with a frame, with Cairo standing in for the window system: the whole display list
// painted without antialiasing into an off-screen image of the window's size.
void Paint(cairo_t* cr, const qv::DisplayList& list)
{
    for (const qv::Primitive& p : list.primitives) {
        if (const auto* f = std::get_if<qv::FillRect>(&p)) {
            cairo_set_source_rgb(cr, f->colour.r / 255.0, f->colour.g / 255.0, f->colour.b / 255.0);
            cairo_rectangle(cr, f->rect.left, f->rect.top, f->rect.right - f->rect.left, f->rect.bottom - f->rect.top);
            cairo_fill(cr);
        } else if (const auto* l = std::get_if<qv::Line>(&p)) {
            SetPen(cr, l->pen);
            cairo_move_to(cr, l->from.x + 0.5, l->from.y + 0.5);
            cairo_line_to(cr, l->to.x + 0.5, l->to.y + 0.5);
            cairo_stroke(cr);
        } else if (const auto* pl = std::get_if<qv::Polyline>(&p)) {
            SetPen(cr, pl->pen);
            const auto points = list.PointsOf(pl->first, pl->count);
            cairo_move_to(cr, points[0].x + 0.5, points[0].y + 0.5);
            for (const qv::ScreenPoint& s : points.subspan(1))
                cairo_line_to(cr, s.x + 0.5, s.y + 0.5);
            cairo_stroke(cr);
        } else if (const auto* sq = std::get_if<qv::VertexSquares>(&p)) {
            SetPen(cr, sq->pen);
            for (const qv::ScreenPoint& s : list.PointsOf(sq->first, sq->count))
                cairo_rectangle(cr, s.x - sq->half + 0.5, s.y - sq->half + 0.5, 2 * sq->half - 1, 2 * sq->half - 1);
            cairo_stroke(cr);
        } else if (const auto* t = std::get_if<qv::Triangle>(&p)) {
            cairo_move_to(cr, t->corners[0].x + 0.5, t->corners[0].y + 0.5);
            cairo_line_to(cr, t->corners[1].x + 0.5, t->corners[1].y + 0.5);
            cairo_line_to(cr, t->corners[2].x + 0.5, t->corners[2].y + 0.5);
            cairo_close_path(cr);
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_fill_preserve(cr);
            SetPen(cr, t->pen);
            cairo_stroke(cr);
        } else if (const auto* r = std::get_if<qv::OutlineRect>(&p)) {
            SetPen(cr, r->pen);
            cairo_rectangle(cr, r->rect.left + 0.5, r->rect.top + 0.5, r->rect.right - r->rect.left - 1,
                            r->rect.bottom - r->rect.top - 1);
            cairo_stroke(cr);
        } else if (const auto* text = std::get_if<qv::Text>(&p)) {
            cairo_set_source_rgb(cr, text->colour.r / 255.0, text->colour.g / 255.0, text->colour.b / 255.0);
            cairo_move_to(cr, text->topLeft.x, text->topLeft.y + 12);
            cairo_show_text(cr, text->text.c_str());
        }
    }
}

// A pan's whole repaint: the frame mapped again and painted into the off-screen image.
void BM_RepaintIntoImage(benchmark::State& state)
{
    DenseView v(state.range(0) != 0);
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1040, 780);
    cairo_t* cr = cairo_create(image);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_font_size(cr, 13);
    int32_t step = 1;
    for (auto _ : state) {
        v.view.RightDown({500, 400});
        v.view.MouseMove({500 + step, 400});
        v.view.RightUp({500 + step, 400});
        step = -step;
        Paint(cr, v.view.Frame());
        cairo_surface_flush(image);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(image);
}
BENCHMARK(BM_RepaintIntoImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
