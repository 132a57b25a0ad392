#include "view/JobPreview.h"

#include "model/CurveKind.h"
#include "output/KnifeList.h"
#include "output/PrepareJob.h"
#include "view/ViewMapping.h"

namespace qv {

JobPreview BuildJobPreview(const COnePage& page, const MachineParams& params, const AppOptions& options)
{
    COnePage jobPage;
    KnifeList knives;
    PrepareJobPage(jobPage, knives, page, params, options);
    JobPreview preview;
    for (const auto& curve : jobPage.curves) {
        if (IsPlotWork(curve->kind) || curve->points.empty())
            continue;
        preview.cuts.push_back(
            {static_cast<uint32_t>(preview.points.size()), static_cast<uint32_t>(curve->points.size()), curve->kind});
        preview.points.insert(preview.points.end(), curve->points.begin(), curve->points.end());
    }
    preview.hasPlot = jobPage.plotMaxX != 0 || jobPage.plotMaxY != 0;
    preview.plotExtent = {jobPage.plotMaxX, jobPage.plotMaxY};
    return preview;
}

void PaintJobPreview(const CSetDisp& disp, const JobPreview& preview, DisplayList& out)
{
    if (preview.hasPlot) {
        const ScreenPoint a = ToScreen(disp, 0, 0);
        const ScreenPoint b = ToScreen(disp, preview.plotExtent);
        out.primitives.push_back(OutlineRect{RectBetween(a, b), Pen{kPreviewPlotExtent, LineStyle::Dashed, 1}});
    }
    const Pen travel{kPreviewTravel, LineStyle::Dotted, 1};
    ScreenPoint at = ToScreen(disp, 0, 0);
    for (const JobPreview::Cut& cut : preview.cuts) {
        const ScreenPoint start = ToScreen(disp, preview.points[cut.first]);
        out.primitives.push_back(Line{at, start, travel});
        out.primitives.push_back(FillRect{{start.x - 2, start.y - 2, start.x + 3, start.y + 3}, kPreviewCutStart});
        const auto first = static_cast<uint32_t>(out.points.size());
        for (uint32_t i = 0; i < cut.count; ++i)
            out.points.push_back(ToScreen(disp, preview.points[cut.first + i]));
        const Rgb colour = cut.kind == CurveKind::HalfCut ? kPreviewHalfCut : kPreviewFullCut;
        out.primitives.push_back(Polyline{first, cut.count, Pen{colour, LineStyle::Solid, 1}, -1});
        at = out.points.back();
    }
}

} // namespace qv
