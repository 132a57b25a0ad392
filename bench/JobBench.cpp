// The dense job page (1600 mm x 1000 mm, 200 000 plot points, 100 000 cut points) from the operator's page to
// the job data, and its whole job to the virtual machine over loopback TCP.
#include "DenseJobPage.h"

#include "SimClock.h"
#include "SimMachine.h"
#include "SimTcpServer.h"

#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/MachineParamsStore.h"
#include "app/Notifier.h"
#include "app/UiBridge.h"
#include "link/CMyCommu.h"
#include "link/CommandCodes.h"
#include "link/LibusbBackend.h"
#include "link/LinkProtocol.h"
#include "link/ManualCommandQueue.h"
#include "output/JobBuffers.h"
#include "output/JobPipeline.h"
#include "output/JobThread.h"
#include "output/KnifeList.h"
#include "output/PrepareJob.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>

namespace {

// Protection lengths that leave the whole page inside the working area.
qv::MachineParams RoomyMachine(uint8_t cartridgeType)
{
    qv::MachineParams p;
    p.settings.cartridgeType = qv::CartridgeFromByte(cartridgeType);
    p.advanced.xProtectLength = 2000;
    p.advanced.yProtectLengthPrint = 1500;
    p.advanced.yProtectLengthFullCut = 1500;
    p.advanced.yProtectLengthHalfCut = 1500;
    return p;
}

// Everything the job thread does before the first byte goes out: preparation, knife records, raster plan,
// every band, and the knife data after them, with both heads of the cartridge given as the argument
// (0 "HP45", 1 "IUT308").
void BM_DenseJobData(benchmark::State& state)
{
    const qv::COnePage page = qv::bench::DenseJobPage();
    const qv::JobSettings settings{qv::AppOptions{}, RoomyMachine(static_cast<uint8_t>(state.range(0)))};
    qv::RecordingNotifier notifier;
    qv::COnePage jobPage;
    qv::KnifeList knives;
    const auto raster = std::make_unique<qv::CRasterEngine>();
    const auto buffers = std::make_unique<qv::JobBuffers>();
    int32_t bands = 0;
    for (auto _ : state) {
        qv::PrepareJobPage(jobPage, knives, page, settings.params, settings.options);
        qv::JobPipeline pipeline(jobPage, knives, settings, notifier);
        const auto plan = pipeline.BuildKnives() ? pipeline.Plan({}) : std::nullopt;
        if (!plan || !pipeline.Assemble(*plan, *buffers, *raster))
            throw std::runtime_error("job data refused");
        bands = plan->raster.bands;
    }
    state.counters["bands"] = bands;
    state.counters["knife records"] = static_cast<double>(buffers->KnifeRecords());
    state.counters["job bytes"] = static_cast<double>(buffers->Data().size());
}
BENCHMARK(BM_DenseJobData)->ArgName("cartridge")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The link to a virtual machine on loopback TCP that finishes each job the moment its header arrives.
struct LoopbackMachine {
    LoopbackMachine() : machine(clock, Options()), server(machine, {127, 0, 0, 1}, 0)
    {
        std::string error;
        if (!server.Start(error))
            throw std::runtime_error(error);
        qv::AppOptions options = settings.Options();
        options.ConnectViaNet = 1;
        settings.SetOptions(options);
        settings.DeriveNeedPanelConfirm();
        params.SetAddress({127, 0, 0, 1});
        commu.Eth().SetPort(server.Port());
    }

    static qv::sim::SimOptions Options()
    {
        qv::sim::SimOptions o;
        o.initMs = 0;
        o.seekMs = 0;
        o.segmentMs = 0;
        return o;
    }

    qv::sim::ManualClock clock;
    qv::sim::SimMachine machine;
    qv::sim::SimTcpServer server;
    qv::CSettings settings;
    qv::MachineParamsStore params{RoomyMachine(0)};
    qv::LinkState link;
    qv::RecordingNotifier notifier;
    qv::LibusbBackend usb;
    qv::CMyCommu commu{settings, params, link, notifier, usb};
    qv::LinkProtocol protocol{commu, link, params, settings, notifier, [](std::chrono::milliseconds) {}};
    qv::ManualCommandQueue queue;
};

class ResultFrame : public qv::UiBridge {
public:
    void SendToFrame(qv::FrameMessage, intptr_t wParam, intptr_t) override
    {
        const std::lock_guard lock(mutex_);
        result_ = wParam;
        done_.notify_all();
    }
    intptr_t Wait()
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return result_.has_value(); });
        const intptr_t r = *result_;
        result_.reset();
        return r;
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    std::optional<intptr_t> result_;
};

// The whole job of the dense page through the job thread, from PrepareJob to WM_JOB_FINISHED: preparation,
// job data, start command, bulk transfer in 400-byte chunks, segment table, header (the virtual machine decodes
// the job when the header arrives) and the progress read that finds it done. Bytes are the job data.
void BM_DenseJobOverTcp(benchmark::State& state)
{
    const qv::COnePage page = qv::bench::DenseJobPage();
    LoopbackMachine m;
    qv::COnePage jobPage;
    qv::KnifeList knives;
    const auto raster = std::make_unique<qv::CRasterEngine>();
    const auto buffers = std::make_unique<qv::JobBuffers>();
    ResultFrame frame;
    qv::JobThread jobs({jobPage, knives, *buffers, *raster, m.settings, m.params, m.settings, m.link, m.protocol,
                        m.queue, m.notifier, frame, [] { return true; }},
                       [](std::chrono::milliseconds) {});
    for (auto _ : state) {
        if (jobs.PrepareJob(page) != 0 || frame.Wait() != qv::JobThread::Completed)
            throw std::runtime_error("job failed");
        jobs.ReleaseJob();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * buffers->Data().size()));
    state.counters["job bytes"] = static_cast<double>(buffers->Data().size());
}
BENCHMARK(BM_DenseJobOverTcp)->Unit(benchmark::kMillisecond)->UseRealTime();

// The dense page's job data alone on the wire: the bulk transfer of a started job, timed by itself.
void BM_DenseJobBulkOverTcp(benchmark::State& state)
{
    const qv::COnePage page = qv::bench::DenseJobPage();
    LoopbackMachine m;
    m.link.jobThreadExists = true; // one connection for the whole job, as during a job
    const auto job = qv::BuildWireJob(page, {m.settings.Options(), m.params.Get()}, {}, m.settings, m.notifier);
    if (!job)
        throw std::runtime_error("job data refused");
    const auto start = job->plan.start.Encode();
    const std::span<const uint8_t> data = job->data;
    for (auto _ : state) {
        if (m.commu.WriteCmd(qv::cmd::kStartJobNow, start) != 0)
            throw std::runtime_error("start refused");
        const auto from = std::chrono::steady_clock::now();
        const qv::BulkResult sent = m.commu.SendBulk(data);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count());
        if (sent != qv::BulkResult::Sent || m.commu.SendCmd(qv::cmd::kCancelJob) != 0)
            throw std::runtime_error("transfer failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
    state.counters["job bytes"] = static_cast<double>(data.size());
}
BENCHMARK(BM_DenseJobBulkOverTcp)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace
