#pragma once

#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "link/CMyCommu.h"
#include "link/LinkMonitorThread.h"
#include "link/LinkProtocol.h"
#include "link/LinkState.h"
#include "link/ManualCommandQueue.h"
#include "model/COnePage.h"
#include "output/JobBuffers.h"
#include "output/JobThread.h"
#include "output/KnifeList.h"
#include "output/RasterEngine.h"
#include "tasks/CQuorvaneDoc.h"
#include "workflow/FileWatcherThread.h"
#include "workflow/FrameMessageLoop.h"
#include "workflow/TickThread.h"
#include "workflow/WorkflowEngine.h"

#include <functional>
#include <string>
#include <thread>

namespace qv {

class Notifier;
class UsbBackend;
class WorkflowObserver;

// The output centre without a window: the process-wide objects, the thread that owns the task list (running
// a FrameMessageLoop) and the background threads, put together as the program does it. For the headless
// station and for tests; the members are public so callers can reach what the program's windows reach.
class Station {
public:
    // Loads ExeDir/setting.ini, repairs DataDir, and writes the stroke fonts and test drawings that are
    // missing next to it. Nothing runs yet.
    Station(const std::string& exeDir, Notifier& notifier, UsbBackend& usb, WorkflowObserver& observer);
    ~Station();
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    // Starts the owner thread only: engine work goes through Call.
    void StartOwner();
    // The owner thread, then the background threads as the main window's creation starts them: the tick,
    // the link monitor, the file watcher.
    void Start();
    // Runs `work` on the owner thread and waits for it; false once the station is closed.
    bool Call(const std::function<void()>& work) { return loop.Call(work); }
    // Closes as the main window does: the list is saved (or its file removed when empty), AppStopping is set,
    // the threads end, the job page and knife records are emptied; then the settings are saved.
    void Close();

    CSettings settings;
    CSetDisp disp;
    MachineParams params;
    LinkState link;
    CMyCommu commu;
    LinkProtocol protocol;
    ManualCommandQueue queue;
    COnePage jobPage;
    KnifeList knives;
    JobBuffers buffers;
    CRasterEngine raster;
    CQuorvaneDoc doc;
    FrameMessageLoop loop;
    JobThread jobs;
    WorkflowEngine engine;
    LinkMonitorThread monitor;
    TickThread tick;
    FileWatcherThread watcher;

private:
    std::thread owner_;
    bool closed_ = false;
};

} // namespace qv
