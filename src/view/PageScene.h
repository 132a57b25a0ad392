#pragma once

#include "model/COnePage.h"
#include "model/CPoint.h"
#include "view/DisplayList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// The drawing of one page in plotter units, in drawing order: what does not change while the view pans or
// zooms. Built again when the page's curves or their selection change.
struct SceneCurve {
    int32_t curve = 0; // index in the page
    Pen pen;
    bool selected = false;
    uint32_t first = 0; // into PageScene::points
    uint32_t count = 0;
    // The start arrow of a selected cut curve: the corner offsets from the first point's window position.
    bool arrow = false;
    double arrowX[3] = {};
    double arrowY[3] = {};
    // The sequence number of a cut curve ("%02d", empty when not shown) at the centre of its stored bounds.
    std::string sequence;
    CPoint sequenceAt;
};

struct PageScene {
    std::vector<SceneCurve> curves;
    std::vector<CPoint> points;
};

// The plot curves (kind 1) in list order, then the cut curves (kind above 1) in list order, numbered from 1
// when `displaySequence` is set. Pen-0 curves are not drawn. A curve without points draws nothing but keeps
// its place in the numbering, so the numbers still give the cutting order.
PageScene BuildPageScene(const COnePage& page, bool displaySequence);

} // namespace qv
