#include "workflow/Station.h"

#include "hpgl/EmbeddedFonts.h"
#include "workflow/DataDirectory.h"
#include "workflow/TestDrawings.h"

namespace qv {

Station::Station(const std::string& exeDir, Notifier& notifier, UsbBackend& usb, WorkflowObserver& observer)
    : commu(settings, params, link, notifier, usb), protocol(commu, link, params, settings, notifier),
      loop([this](FrameMessage message, intptr_t wParam, intptr_t lParam) {
          engine.HandleMessage(message, wParam, lParam);
      }),
      jobs(JobContext{jobPage, knives, buffers, raster, params, settings, link, protocol, queue, notifier, loop,
                      [this] { return engine.OnlyPageInList(); }}),
      engine(doc, settings, link, jobs, queue, notifier, observer), monitor(protocol, link, queue, settings),
      tick(settings, link, loop), watcher(settings, loop)
{
    settings.Load(exeDir, disp, params.settings);
    RepairDataDir(settings);
    EnsureFontFiles(settings);
    EnsureTestFiles(settings);
}

Station::~Station()
{
    if (owner_.joinable())
        Close();
    // Threads that were started without the owner must not wait for it while they are stopped.
    loop.Quit();
}

void Station::StartOwner()
{
    if (!owner_.joinable())
        owner_ = std::thread([this] { loop.Run(); });
}

void Station::Start()
{
    StartOwner();
    tick.Start();
    monitor.Start();
    watcher.Start();
}

void Station::Close()
{
    if (closed_)
        return;
    closed_ = true;
    if (!owner_.joinable() || !Call([this] { engine.CloseSteps(); }))
        engine.CloseSteps();
    // A thread still waiting for the owner (a tick, a job's end) is let go unhandled.
    loop.Quit();
    if (owner_.joinable())
        owner_.join();
    watcher.Stop();
    tick.Stop();
    monitor.Stop();
    jobs.Stop();
    jobs.ReleaseJob();
    settings.Save(disp, params.settings);
}

} // namespace qv
