#pragma once

#include "app/UiBridge.h"
#include "tasks/TaskFileResult.h"
#include "workflow/DataDirWatch.h"
#include "workflow/ImportReportLog.h"
#include "workflow/IntakeFile.h"
#include "workflow/SettledFiles.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace qv {

class COnePage;
class CQuorvaneDoc;
class CSettings;
class JobThread;
class ManualCommandQueue;
class Notifier;
class WorkflowObserver;
struct LinkState;

// How opening a task list ended: its pages replaced the list, the operator kept the list in hand, or the file
// could not be read (told).
enum class ListOpening { Opened, Kept, Failed };

// The workflow of the main frame: which page the machine outputs next, what a job's end does to the page
// states, how drawings come into the task list (open dialog, data directory, test drawings), the reload of the
// last task list, the removal of Done pages, the task list's commands and the panel's Start rule.
//
// Everything here runs on the one thread that owns the task list; background threads reach it through the
// frame's messages (HandleMessage). After every change the list is written to LastTaskPath within the same
// call (an edit reported through TaskListEdited at the next tick), and a source file is deleted only once the
// pages read from it are on disk.
class WorkflowEngine {
public:
    enum class DispatchResult { Busy, Stopping, Waiting, Started, Idle };
    static constexpr std::chrono::milliseconds kCloseWait{500};

    // With `keepLastTasks` the list is written to LastTaskPath after every change; without it the list lives
    // in memory only (an output that must not touch the settings directory).
    WorkflowEngine(CQuorvaneDoc& doc, CSettings& settings, LinkState& link, JobThread& jobs, ManualCommandQueue& queue,
                   Notifier& notifier, WorkflowObserver& observer, DataDirWatch& watch, bool keepLastTasks = true);
    WorkflowEngine(const WorkflowEngine&) = delete;
    WorkflowEngine& operator=(const WorkflowEngine&) = delete;

    // The frame's message handler; returns what the handler returns.
    intptr_t HandleMessage(FrameMessage message, intptr_t wParam, intptr_t lParam);

    // WM_DISPATCH_JOB: starts the first Auto page with curves when the machine is ready, dropping Auto pages
    // without curves on the way; once the program stops, takes every waiting page back to Manual.
    DispatchResult Dispatch();
    // WM_JOB_FINISHED: 1 completed (Done, or Auto again with RepeatCut), 2 failed (the page and every Auto
    // page Manual). The job's page and knife records are emptied and the job thread handle cleared. Returns 1.
    intptr_t JobFinished(intptr_t wParam);
    // WM_POLL_DATA_DIR: every file of DataDir whose writer has finished with it (SettledFiles, from the
    // watch's events) and that can be locked, through AddByPath with deletion. A data directory that cannot be
    // read is told to the operator once, until it can be again; how it is watched is told to the observer
    // whenever that changes.
    void PollDataDir();
    // Starts watching DataDir before the first poll, so a drawing renamed in once the station runs is known
    // as finished however long the reload of the previous list keeps that poll waiting.
    void WatchDataDir();
    // WM_RELOAD_LAST_TASKS: the list of the previous run replaces the list; the file is kept and kept current.
    void ReloadLastTasks();
    // WM_REMOVE_DONE_PAGES and the list's command 1505: -1 once the program stops, else 0.
    int RemoveDonePages();

    // Reads one drawing into the list and returns its HpglLoadResult. Success: the pages are appended, tidied
    // and paged, the list is saved, and with `deleteAfter` the file is deleted once the save has succeeded.
    // Too small, too large or rejected: moved to the data directory's "unread/" at once with `deleteAfter`.
    // Read but without a curve: HpglLoadResult::NoDrawing, told once, and moved there too with `deleteAfter`.
    // Cannot be opened: nothing.
    int32_t AddByPath(const std::string& path, bool deleteAfter);
    // Command 262 after the open dialog: empty for Cancel. A drawing that cannot be read is reported; it is
    // deleted after a successful read when AutoDelPlt is on.
    void AddThroughDialog(const std::optional<std::string>& chosenPath);
    // Commands 3000 to 3006: empties the list, then adds the test drawing without deleting it.
    void AddTestDrawing(int command);
    // Command 57601: the task file's pages replace the list (a file that cannot be read is told and the list
    // stays as it was). A list with pages is replaced only when the operator says so; the last task list on
    // disk is reloaded first when that has not happened yet, so the pages it holds are in that list.
    ListOpening OpenTaskList(const std::string& path);

    // The list's commands on the selected rows (indices from 0): set the state (1500 Auto, 1501 Manual, 1502
    // Done) and delete (1503), both sparing the page being output; move the first selected row to the front
    // (1504), behind the page being output while a job runs.
    void SetStateOfRows(std::span<const std::ptrdiff_t> rows, int32_t state);
    void DeleteRows(std::span<const std::ptrdiff_t> rows);
    void MoveToFront(std::span<const std::ptrdiff_t> rows);

    // The panel's Start button (267): resumes a paused job, or without a job makes the first Manual page Auto
    // (and clears NeedPanelConfirm) unless some page is already Auto.
    void PressStart();

    // The views changed pages (curve edits): the list is saved at the next tick.
    void TaskListEdited();
    // Writes the list now if it changed since the last save; then deletes the source files waiting for it.
    bool SaveIfChanged();

    // The main window's closing steps 2 and 3: the list is written (or its file removed when it is empty),
    // AppStopping is set, and the background threads get 500 ms to see it. Step 4, emptying the job page,
    // follows once the job thread has ended.
    void CloseSteps();

    // For the job thread (JobContext::onlyPageInList): kept current by the owner after every change.
    bool OnlyPageInList() const { return onlyPage_; }

    // The report of the drawing read last (the status bar after an add), and that of a page's drawing (the
    // task list's context menu); none for drawings not read lately.
    std::optional<ImportReport> LastReport() const { return reports_.Last(); }
    std::optional<ImportReport> ReportFor(const COnePage& page) const { return reports_.Find(page); }

private:
    struct PendingDelete {
        std::string path;
        FileIdentity identity;
    };

    // Where a drawing comes from decides whether it is locked and whether a refused one is deleted.
    enum class Source { Dialog, ByPath, DataDirectory };

    int32_t ReadDrawing(const std::string& path, Source source, bool deleteAfter);
    // Sets aside a drawing that was not taken; whether it is gone from its place.
    bool SetAside(const std::string& path, const FileIdentity& identity);
    void TellNoDrawing(const std::string& path, const FileIdentity& identity, const ImportReport& report);
    void SetState(std::size_t index, int32_t state);
    void Changed();
    bool IsPendingDelete(const std::string& path, const FileIdentity& identity) const;
    void ShowFirstPage();
    void TellWatch(const DirectoryEvents& events);

    CQuorvaneDoc& doc_;
    CSettings& settings_;
    LinkState& link_;
    JobThread& jobs_;
    ManualCommandQueue& queue_;
    Notifier& notifier_;
    WorkflowObserver& observer_;
    DataDirWatch& watch_;
    int dispatching_ = 0;
    bool changed_ = false;
    bool saveFailureShown_ = false;
    bool keepLastTasks_ = true;
    // The list in memory holds the last task list on disk: read back, or written since.
    bool lastReloaded_ = false;
    bool missingDataDirTold_ = false;
    bool dataDirFailureShown_ = false;
    std::vector<PendingDelete> pendingDeletes_;
    ImportReportLog reports_;
    std::vector<FileIdentity> toldEmpty_; // empty drawings already told, should one stay where it was
    // Refused drawings that could not be set aside: not read again until they change.
    std::vector<FileIdentity> keptInPlace_;
    SettledFiles settled_;
    // The directory and the watch's failure last told to the observer.
    std::optional<std::pair<std::string, std::string>> toldWatch_;
    std::atomic<bool> onlyPage_{false};
};

} // namespace qv
