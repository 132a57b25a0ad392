#include "geometry/CurveEdits.h"

#include "model/CurveKind.h"

#include <algorithm>

namespace qv {

void RegroupByKind(COnePage& page, bool plotFirst)
{
    std::stable_partition(page.curves.begin(), page.curves.end(),
                          [plotFirst](const std::unique_ptr<CCurve>& c) { return IsPlotWork(c->kind) == plotFirst; });
}

void SetKindOfSelected(COnePage& page, int32_t kind)
{
    for (auto& curve : page.curves) {
        if (curve->selected != 0)
            curve->kind = kind;
    }
}

void ReverseSelected(COnePage& page)
{
    for (auto& curve : page.curves) {
        if (curve->selected != 0)
            curve->Reverse();
    }
}

void DeleteSelected(COnePage& page)
{
    std::erase_if(page.curves, [](const std::unique_ptr<CCurve>& c) { return c->selected != 0; });
}

void DeleteCutCurves(COnePage& page)
{
    std::erase_if(page.curves, [](const std::unique_ptr<CCurve>& c) { return IsCutWork(c->kind); });
}

void DeletePlotCurves(COnePage& page)
{
    std::erase_if(page.curves, [](const std::unique_ptr<CCurve>& c) { return IsPlotWork(c->kind); });
}

void SetAllPlot(COnePage& page)
{
    for (auto& curve : page.curves)
        curve->kind = CurveKind::Plot;
}

} // namespace qv
