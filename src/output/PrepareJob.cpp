#include "output/PrepareJob.h"

#include "app/AppOptions.h"
#include "app/MachineParams.h"
#include "geometry/CleanUp.h"
#include "geometry/CurveEdits.h"
#include "geometry/CutOptimisation.h"
#include "geometry/JoinTouchingCuts.h"
#include "geometry/KnifeCompensation.h"
#include "geometry/MergeCurves.h"
#include "geometry/PageStatistics.h"
#include "geometry/PageTransforms.h"
#include "model/COnePage.h"
#include "output/KnifeList.h"

namespace qv {
namespace {

// The factor that brings a machine drawing `oneMetre` tenths of a mm per metre back to true size. A machine
// reporting 0 has no calibration to apply.
double CalibrationFactor(uint16_t oneMetre)
{
    return oneMetre == 0 ? 1.0 : 10000.0 / oneMetre;
}

} // namespace

void PrepareJobPage(COnePage& jobPage, KnifeList& knives, const COnePage& page, const MachineParams& params,
                    const AppOptions& options)
{
    const MachineSettings& machine = params.settings;

    jobPage.ClearCurves();
    knives.Clear();
    jobPage.CopyFrom(page);

    ScaleAll(jobPage, CalibrationFactor(machine.oneMetreX), CalibrationFactor(machine.oneMetreY));
    MergeCurves(jobPage, false, false);
    if (machine.yMargin != 0)
        AddYMargin(jobPage, machine.yMargin * 40);
    if (options.AutoCleanSP != 0)
        AddCleaningPattern(jobPage, machine.cartridgeType);
    if (options.PlotOnly != 0)
        SetAllPlot(jobPage);

    RemoveDuplicatePoints(jobPage);
    SimplifyCurves(jobPage);
    JoinTouchingCuts(jobPage);
    if (options.CutEffectOptmize != 0) {
        RemoveCollinearCuts(jobPage);
        OptimizeCutCurves(jobPage, options.FitDistHpgl);
    }
    CompensateCutCorners(jobPage, options.SharpAngleCompensite);
    ExtendCutEnds(jobPage, options.StartEndCompensite);
    CorrectSkew(jobPage, machine.perpendicularity);

    ComputePageBounds(jobPage);
    ComputePlotExtent(jobPage);
    // With one knife for both cuts the full-cut statistics describe all that knife cuts, so the full-cut
    // working-area check covers the half cuts too, in both axes and also on a page without full cuts.
    ComputeFullCutBounds(jobPage, machine.sameKnife != 0);
    ComputeHalfCutBounds(jobPage);
}

} // namespace qv
