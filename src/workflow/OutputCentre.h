#pragma once

#include "app/AppOptions.h"
#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/MachineParamsStore.h"
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
#include "tasks/TaskFileResult.h"
#include "workflow/FileWatcherThread.h"
#include "workflow/InotifyWatch.h"
#include "workflow/OwnerNotifier.h"
#include "workflow/TickThread.h"
#include "workflow/WorkflowEngine.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace qv {

class Notifier;
class OwnerBridge;
class UsbBackend;
class WorkflowObserver;

// What a front end runs the output centre as.
enum class CentreMode {
    // The program: the settings and task list next to the executable kept current, the stroke fonts and test
    // drawings written there when missing, the data directory watched.
    Station,
    // Outputs the task list it is given and leaves the settings directory as it found it: no files written
    // there, no data directory, no last task list (`quorvane-cli send`).
    OutputOnly,
};

// The output centre: every process-wide object (settings, machine records, link, job page and knife records,
// job buffers and raster engine, task list) and the threads that work on them, put together once. A front
// end (the window, the headless station, `quorvane-cli send`, the tests) gives what only it can give: the
// owner thread's bridge, the notifier that shows messages, the USB library and the observer that hears what
// changed. It reaches the rest only through the calls below, which say what a front end may do.
//
// Every call belongs to the owner thread (the thread that runs the bridge's work), except StatusLine, which
// any thread may call.
class OutputCentre {
public:
    // Loads ExeDir/setting.ini; as a station also repairs DataDir and writes the stroke fonts and test
    // drawings that are missing. Nothing runs yet.
    OutputCentre(const std::string& exeDir, OwnerBridge& owner, Notifier& notifier, UsbBackend& usb,
                 WorkflowObserver& observer, CentreMode mode = CentreMode::Station);
    ~OutputCentre();
    OutputCentre(const OutputCentre&) = delete;
    OutputCentre& operator=(const OutputCentre&) = delete;

    // The background threads as the main window's creation starts them: the tick, the link monitor and, as a
    // station, the file watcher.
    void Start();
    // The main window's closing: the task list is saved (its file removed when empty), AppStopping is set,
    // the bridge lets every waiting thread go, the threads end, the job page and knife records are emptied
    // and the settings saved. Safe to call twice; afterwards nothing is started any more.
    void Close();

    // What the views show.
    const CQuorvaneDoc& TaskList() const { return doc_; }
    const CSettings& Settings() const { return settings_; }
    MachineParams Params() const { return params_.Get(); }
    const LinkState& Link() const { return link_; }
    CSetDisp& Display() { return disp_; }
    bool JobRunning() const { return link_.jobThreadExists; }
    // The machine's status line as the panel shows it; any thread.
    std::optional<std::string> StatusLine() const;

    // Drawings coming in and the task list's commands (rows from 0).
    void AddThroughDialog(const std::optional<std::string>& chosenPath);
    // What the drawing read last met (the status bar after an add) and what the drawing of a page met (the
    // report dialog of the task list); none for drawings not read lately.
    std::optional<ImportReport> LastReport() const { return engine_.LastReport(); }
    std::optional<ImportReport> ReportFor(const COnePage& page) const { return engine_.ReportFor(page); }
    void AddTestDrawing(int command);
    void SetStateOfRows(std::span<const std::ptrdiff_t> rows, int32_t state);
    void DeleteRows(std::span<const std::ptrdiff_t> rows);
    void MoveToFront(std::span<const std::ptrdiff_t> rows);
    void RemoveDonePages();
    // The panel's Start button.
    void PressStart();
    // The File menu's task files: the list is replaced by the file's pages, or saved to it.
    ListOpening OpenTaskList(const std::string& path);
    TaskFileResult SaveTaskList(const std::string& path);
    // A change of the drawing view to page `index` (curve edits); the list is saved at the next tick. An index
    // outside the list does nothing.
    void EditPage(std::size_t index, const std::function<void(COnePage&)>& edit);
    // A change of the curves' selection on page `index`, which the task file does not keep: nothing to save.
    void SelectOnPage(std::size_t index, const std::function<void(COnePage&)>& select);

    // A manual command for the link monitor (or the job's progress loop); -1 when five are waiting.
    int QueueCommand(uint8_t code);

    // The one way options and machine records change; each renews what the background threads read.
    // The software settings dialog's OK: the options, NeedPanelConfirm derived anew, the settings saved.
    void ApplyOptions(const AppOptions& options);
    // The connection menu and the language switch: one option, kept by the next save of the settings.
    void SetConnection(bool viaNet);
    void SetLanguage(int32_t language);
    // The data-directory chooser: in force at once.
    void SetDataDir(const std::string& dir);
    // The machine dialogs' OK: the records, then `saveCode` (50 or 51) queued to write them to the machine when
    // not 0; the settings saved, since the machine address is one of them.
    void ApplyMachineParams(const MachineParams& params, uint8_t saveCode);
    // The Ethernet machine at `address` and `port` (a front end's command line; the virtual machine may listen
    // on another port than the machine's).
    void SetMachineAddress(const std::array<uint8_t, 4>& address, uint16_t port);

private:
    friend struct OutputCentreProbe; // the tests' view of the parts

    CentreMode mode_;
    OwnerBridge& owner_;
    CSettings settings_;
    CSetDisp disp_;
    MachineParamsStore params_;
    LinkState link_;
    OwnerNotifier notifier_;
    CMyCommu commu_;
    LinkProtocol protocol_;
    ManualCommandQueue queue_;
    COnePage jobPage_;
    KnifeList knives_;
    JobBuffers buffers_;
    CRasterEngine raster_;
    CQuorvaneDoc doc_;
    JobThread jobs_;
    InotifyWatch watch_;
    WorkflowEngine engine_;
    LinkMonitorThread monitor_;
    TickThread tick_;
    FileWatcherThread watcher_;
    bool closed_ = false;
};

} // namespace qv
