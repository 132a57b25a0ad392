#include "view/PagePainter.h"

#include "view/Grid.h"
#include "view/ViewMapping.h"
#include "view/ViewPalette.h"

#include <cstdlib>
#include <optional>

namespace qv {

namespace {

constexpr int32_t kVertexHalf = 3;

// Whether `s` lies outside the 3 x 3 pixels around `kept`.
bool BeyondAPixel(ScreenPoint kept, ScreenPoint s)
{
    return std::abs(int64_t{s.x} - kept.x) > 1 || std::abs(int64_t{s.y} - kept.y) > 1;
}

void PaintCurve(const CSetDisp& disp, const PageScene& scene, const SceneCurve& c, DisplayList& out)
{
    const auto first = static_cast<uint32_t>(out.points.size());
    std::optional<ScreenPoint> dropped; // the latest point left out on another pixel than the last one kept
    for (uint32_t i = 0; i < c.count; ++i) {
        const ScreenPoint s = ToScreen(disp, scene.points[c.first + i]);
        const bool last = i + 1 == c.count;
        if (i == 0 || (last ? !(s == out.points.back()) : BeyondAPixel(out.points.back(), s))) {
            out.points.push_back(s);
            dropped.reset();
        } else if (!(s == out.points.back())) {
            dropped = s;
        }
    }
    // A curve within 3 x 3 pixels still shows as a dot.
    if (out.points.size() - first == 1 && dropped)
        out.points.push_back(*dropped);
    const auto count = static_cast<uint32_t>(out.points.size() - first);
    if (count >= 2)
        out.primitives.emplace_back(Polyline{first, count, c.pen, c.curve});
    if (c.selected && count > 0)
        out.primitives.emplace_back(VertexSquares{first, count, kVertexHalf, c.pen, c.curve});
    if (c.arrow) {
        const ScreenPoint p = out.points[first];
        Triangle t{{}, c.pen, kArrowFill, c.curve};
        for (int k = 0; k < 3; ++k)
            t.corners[k] = {TruncToInt32(p.x + c.arrowX[k]), TruncToInt32(p.y + c.arrowY[k])};
        out.primitives.emplace_back(t);
    }
    if (!c.sequence.empty())
        out.primitives.emplace_back(Text{ToScreen(disp, c.sequenceAt), c.sequence, kSequenceColour, kSequenceFont});
}

} // namespace

void PaintView(const CSetDisp& disp, const PageScene* scene, DisplayList& out)
{
    out.Clear();
    out.primitives.emplace_back(FillRect{{0, 0, disp.viewWidth, disp.viewHeight}, kViewBackground});
    if (!scene)
        return;
    PaintGrid(disp, out);
    out.points.reserve(scene->points.size());
    for (const SceneCurve& c : scene->curves)
        PaintCurve(disp, *scene, c, out);
}

const DisplayList& PagePainter::Frame(const CSetDisp& disp, const COnePage* page, bool displaySequence)
{
    if (!sceneValid_ || page != scenePage_ || displaySequence != sceneSequence_) {
        scene_ = page ? BuildPageScene(*page, displaySequence) : PageScene{};
        scenePage_ = page;
        sceneSequence_ = displaySequence;
        sceneValid_ = true;
        frameValid_ = false;
    }
    if (!frameValid_ || !(disp == frameDisp_)) {
        PaintView(disp, page ? &scene_ : nullptr, frame_);
        frameDisp_ = disp;
        frameValid_ = true;
    }
    return frame_;
}

} // namespace qv
