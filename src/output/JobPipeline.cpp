#include "output/JobPipeline.h"

#include "model/COnePage.h"
#include "output/JobBuffers.h"
#include "output/JobStart.h"
#include "output/KnifeData.h"
#include "output/KnifeList.h"
#include "output/PrepareJob.h"
#include "output/WorkingArea.h"

#include <memory>

namespace qv {

JobPipeline::JobPipeline(const COnePage& jobPage, KnifeList& knives, const JobSettings& settings, Notifier& notifier)
    : jobPage_(jobPage), knives_(knives), settings_(settings), notifier_(notifier)
{
}

bool JobPipeline::BuildKnives()
{
    return BuildKnifeData(knives_, jobPage_, settings_.params, settings_.options, notifier_) == 0;
}

std::optional<JobPlan> JobPipeline::Plan(MachinePoint startPoint)
{
    const MachineParams& params = settings_.params;
    if (CheckWorkingArea(jobPage_, params, settings_.options, startPoint, params.Limits(), notifier_) != 0)
        return std::nullopt;
    const auto raster = PlanJobRaster(jobPage_, params, notifier_, settings_.options.Language);
    if (!raster)
        return std::nullopt;
    return JobPlan{*raster, MakeJobStartRecord(jobPage_, params, settings_.options, *raster, knives_)};
}

bool JobPipeline::Assemble(const JobPlan& plan, JobBuffers& buffers, CRasterEngine& raster)
{
    return buffers.Assemble(raster, jobPage_, settings_.params, plan.raster, knives_, notifier_,
                            settings_.options.Language) == JobBuffers::Ok;
}

std::optional<WireJob> BuildWireJob(const COnePage& page, const JobSettings& settings, MachinePoint startPoint,
                                    const SharedFlags& flags, Notifier& notifier)
{
    COnePage jobPage;
    KnifeList knives;
    PrepareJobPage(jobPage, knives, page, settings.params, settings.options);
    JobPipeline pipeline(jobPage, knives, settings, notifier);
    if (!pipeline.BuildKnives())
        return std::nullopt;
    const std::optional<JobPlan> plan = pipeline.Plan(startPoint);
    if (!plan)
        return std::nullopt;
    // The buffers are sized for the largest job; a job built once is not worth keeping them for.
    const auto raster = std::make_unique<CRasterEngine>();
    const auto buffers = std::make_unique<JobBuffers>();
    if (!pipeline.Assemble(*plan, *buffers, *raster))
        return std::nullopt;
    WireJob job;
    job.startCode = StartCommandCode(flags, settings.options);
    job.plan = *plan;
    job.data.assign(buffers->Data().begin(), buffers->Data().end());
    job.segments.assign(buffers->Segments().begin(), buffers->Segments().end());
    job.header = buffers->Header();
    return job;
}

} // namespace qv
