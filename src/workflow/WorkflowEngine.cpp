#include "workflow/WorkflowEngine.h"

#include "app/CSettings.h"
#include "app/MessageCatalog.h"
#include "app/Notifier.h"
#include "hpgl/CHpglFile.h"
#include "link/CommandCodes.h"
#include "link/LinkState.h"
#include "link/ManualCommandQueue.h"
#include "output/JobThread.h"
#include "tasks/CQuorvaneDoc.h"
#include "workflow/LastTaskFile.h"
#include "workflow/MoveToUnread.h"
#include "workflow/OpenWriters.h"
#include "workflow/TestDrawings.h"
#include "workflow/WorkflowObserver.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sys/stat.h>
#include <thread>

namespace qv {

namespace {

std::string NameOf(const std::string& path)
{
    return path.substr(path.find_last_of('/') + 1);
}

} // namespace

WorkflowEngine::WorkflowEngine(CQuorvaneDoc& doc, CSettings& settings, LinkState& link, JobThread& jobs,
                               ManualCommandQueue& queue, Notifier& notifier, WorkflowObserver& observer,
                               DataDirWatch& watch, bool keepLastTasks)
    : doc_(doc), settings_(settings), link_(link), jobs_(jobs), queue_(queue), notifier_(notifier), observer_(observer),
      watch_(watch), keepLastTasks_(keepLastTasks)
{
    onlyPage_ = doc_.pages.size() == 1;
}

intptr_t WorkflowEngine::HandleMessage(FrameMessage message, intptr_t wParam, intptr_t)
{
    switch (message) {
    case FrameMessage::WM_DISPATCH_JOB:
        Dispatch();
        return 0;
    case FrameMessage::WM_JOB_FINISHED:
        return JobFinished(wParam);
    case FrameMessage::WM_POLL_DATA_DIR:
        PollDataDir();
        return 0;
    case FrameMessage::WM_RELOAD_LAST_TASKS:
        // A task file opened at the start has had it reloaded already.
        if (!lastReloaded_)
            ReloadLastTasks();
        return 0;
    case FrameMessage::WM_REMOVE_DONE_PAGES:
        return RemoveDonePages();
    case FrameMessage::WM_TRAY_NOTIFY:
    case FrameMessage::WM_BUTTON_STATE:
        break;
    }
    return 0;
}

WorkflowEngine::DispatchResult WorkflowEngine::Dispatch()
{
    if (dispatching_)
        return DispatchResult::Busy;
    dispatching_ = 1;
    DispatchResult result = DispatchResult::Idle;
    auto& pages = doc_.pages;
    if (settings_.AppStopping != 0) {
        result = DispatchResult::Stopping;
        bool printingSeen = false;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const int32_t state = pages[i]->state;
            if (state == PageState::Auto || (state == PageState::Printing && !printingSeen))
                SetState(i, PageState::Manual);
            printingSeen = printingSeen || state == PageState::Printing;
        }
        // A job that is still running reads its page; it is emptied when that job ends.
        if (!link_.jobThreadExists)
            jobs_.ReleaseJob();
        observer_.TaskListChanged();
        ShowFirstPage();
    } else {
        for (std::size_t i = 0; i < pages.size();) {
            COnePage& page = *pages[i];
            if (page.state != PageState::Auto) {
                ++i;
                continue;
            }
            if (page.curves.empty()) {
                pages.erase(pages.begin() + static_cast<std::ptrdiff_t>(i));
                Changed();
                observer_.PagesRemoved(1);
                observer_.TaskListChanged();
                observer_.Redraw();
                continue;
            }
            result = DispatchResult::Waiting;
            if (link_.status.load().type == kStatusReady && jobs_.PrepareJob(page) == 0) {
                SetState(i, PageState::Printing);
                observer_.TaskListChanged();
                observer_.ShowPage(static_cast<std::ptrdiff_t>(i));
                observer_.Redraw();
                result = DispatchResult::Started;
            }
            break;
        }
    }
    SaveIfChanged();
    dispatching_ = 0;
    return result;
}

intptr_t WorkflowEngine::JobFinished(intptr_t wParam)
{
    auto& pages = doc_.pages;
    const auto printing =
        std::find_if(pages.begin(), pages.end(), [](const auto& page) { return page->state == PageState::Printing; });
    const auto index = static_cast<std::size_t>(printing - pages.begin());
    if (wParam == JobThread::Completed && printing != pages.end()) {
        SetState(index, settings_.RepeatCut != 0 ? PageState::Auto : PageState::Done);
    } else if (wParam == JobThread::Failed) {
        if (printing != pages.end())
            SetState(index, PageState::Manual);
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (pages[i]->state == PageState::Auto)
                SetState(i, PageState::Manual);
        }
    }
    jobs_.ReleaseJob();
    observer_.TaskListChanged();
    ShowFirstPage();
    SaveIfChanged();
    return 1;
}

void WorkflowEngine::PollDataDir()
{
    SaveIfChanged();
    if (!settings_.MissingDataDir.empty() && !missingDataDirTold_) {
        missingDataDirTold_ = true;
        notifier_.Show(
            FormatMessage(Msg::DataDirMissing, settings_.Language, {settings_.MissingDataDir, settings_.DataDir}), "",
            MsgButtons::Ok, MsgIcon::Warning);
    }
    const DirectoryEvents events = watch_.Collect(settings_.DataDir);
    TellWatch(events);
    std::vector<std::string> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(settings_.DataDir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_directory(typeError))
            files.push_back(it->path().string());
    }
    // Otherwise nothing would ever say why dropped drawings are never taken.
    if (ec && !dataDirFailureShown_)
        notifier_.Show(FormatMessage(Msg::DataDirUnreadable, settings_.Language, {settings_.DataDir}), "",
                       MsgButtons::Ok, MsgIcon::Warning);
    dataDirFailureShown_ = static_cast<bool>(ec);

    struct Candidate {
        std::string path;
        FileIdentity identity;
        SettledFiles::Verdict verdict;
    };
    std::vector<Candidate> candidates;
    std::vector<FileIdentity> unknownWriters;
    settled_.Apply(events);
    settled_.BeginPoll(SettledFiles::Clock::now());
    for (std::string& path : files) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            continue;
        const FileIdentity now = IdentityOf(st);
        const SettledFiles::Verdict verdict = settled_.Check(NameOf(path), now);
        if (verdict == SettledFiles::Verdict::Wait || IsPendingDelete(path, now) ||
            std::find(keptInPlace_.begin(), keptInPlace_.end(), now) != keptInPlace_.end())
            continue;
        if (verdict == SettledFiles::Verdict::TakeUnlessHeld)
            unknownWriters.push_back(now);
        candidates.push_back({std::move(path), now, verdict});
    }
    settled_.EndPoll();
    const std::set<FileKey> held = HeldOpenForWriting(unknownWriters);
    for (const Candidate& candidate : candidates) {
        if (candidate.verdict == SettledFiles::Verdict::Take ||
            !held.contains({candidate.identity.device, candidate.identity.inode}))
            ReadDrawing(candidate.path, Source::DataDirectory, true);
    }
}

void WorkflowEngine::WatchDataDir()
{
    const DirectoryEvents events = watch_.Collect(settings_.DataDir);
    TellWatch(events);
    settled_.Apply(events);
}

void WorkflowEngine::TellWatch(const DirectoryEvents& events)
{
    if (toldWatch_ && toldWatch_->first == settings_.DataDir && toldWatch_->second == events.failure)
        return;
    toldWatch_.emplace(settings_.DataDir, events.failure);
    observer_.DataDirWatched(settings_.DataDir, events.failure);
}

void WorkflowEngine::ReloadLastTasks()
{
    lastReloaded_ = true;
    const TaskFileResult result = qv::ReloadLastTasks(doc_, settings_.LastTaskPath);
    if (result != TaskFileResult::Ok)
        notifier_.Show(TaskFileMessage(result, settings_.LastTaskPath, settings_.Language), "", MsgButtons::Ok,
                       MsgIcon::Warning);
    onlyPage_ = doc_.pages.size() == 1;
    if (result == TaskFileResult::Ok)
        observer_.TaskListReloaded(doc_.pages.size());
    observer_.TaskListChanged();
    ShowFirstPage();
}

int WorkflowEngine::RemoveDonePages()
{
    if (settings_.AppStopping != 0)
        return -1;
    auto& pages = doc_.pages;
    std::size_t noted = 0;
    std::size_t removed = 0;
    for (std::size_t i = 0; i < pages.size();) {
        if (pages[i]->state == PageState::Done) {
            pages.erase(pages.begin() + static_cast<std::ptrdiff_t>(i));
            ++removed;
            continue;
        }
        if (pages[i]->state == PageState::Printing)
            noted = i;
        ++i;
    }
    if (removed > 0) {
        Changed();
        observer_.PagesRemoved(removed);
        observer_.ShowPage(static_cast<std::ptrdiff_t>(noted));
        observer_.TaskListChanged();
        observer_.Redraw();
    }
    SaveIfChanged();
    return 0;
}

int32_t WorkflowEngine::AddByPath(const std::string& path, bool deleteAfter)
{
    return ReadDrawing(path, Source::ByPath, deleteAfter);
}

int32_t WorkflowEngine::ReadDrawing(const std::string& path, Source source, bool deleteAfter)
{
    // The reader reads the very file that was opened (and locked), whatever happens to its name meanwhile.
    const std::optional<IntakeFile> file = IntakeFile::Open(path, source == Source::DataDirectory);
    if (!file)
        return HpglLoadResult::CannotOpen;
    CHpglFile reader;
    reader.path = file->ReadPath();
    const int32_t result = reader.Load(settings_, notifier_);
    if (result == HpglLoadResult::CannotOpen || result == HpglLoadResult::NoGlyphTable)
        return result;
    const auto refuse = [&](int32_t refused) {
        // The open dialog sets aside nothing; elsewhere a refused drawing is kept unread, never deleted.
        const bool gone = deleteAfter && source != Source::Dialog && SetAside(path, file->identity());
        observer_.FileRead(path, refused, 0, gone);
        return refused;
    };
    const auto tooLarge = [&] {
        notifier_.Show(DrawingTooLargeText(NameOf(path), settings_.Language), "", MsgButtons::Ok, MsgIcon::Warning);
        return refuse(HpglLoadResult::TooLarge);
    };
    if (result == HpglLoadResult::TooLarge)
        return tooLarge();
    if (result != HpglLoadResult::Ok)
        return refuse(result);
    reader.fileName = NameOf(path);
    const std::size_t before = doc_.pages.size();
    reader.BuildPages(doc_.pages, settings_);
    reader.AddToReport(std::span(doc_.pages).subspan(before));
    // The pages are the drawing now; its instructions would be a second copy through clean-up and paging.
    reader.instructions.Release();
    if (!doc_.TakeImportedDrawing(before, ImportOptionsOf(settings_)))
        return tooLarge();
    const std::size_t added = doc_.pages.size() > before ? doc_.pages.size() - before : 0;
    reader.report.pages = static_cast<uint32_t>(added);
    reports_.Add(reader.fileName, reader.fileTime, reader.report);
    observer_.DrawingReported(path, reader.report);
    const bool empty = reader.report.Empty();
    if (deleteAfter && !empty)
        pendingDeletes_.push_back({path, file->identity()});
    Changed();
    SaveIfChanged();
    if (empty) {
        TellNoDrawing(path, file->identity(), reader.report);
        const bool gone = deleteAfter && source != Source::Dialog && SetAside(path, file->identity());
        observer_.FileRead(path, HpglLoadResult::NoDrawing, 0, gone);
    } else {
        std::error_code ec;
        observer_.FileRead(path, result, added, deleteAfter && !std::filesystem::exists(path, ec));
    }
    observer_.TaskListChanged();
    ShowFirstPage();
    return empty ? HpglLoadResult::NoDrawing : result;
}

bool WorkflowEngine::SetAside(const std::string& path, const FileIdentity& identity)
{
    const UnreadMove move = MoveToUnread(settings_.DataDir, path, identity);
    if (move.outcome == UnreadMove::Outcome::Moved) {
        observer_.FileSetAside(path, move.movedTo);
        return true;
    }
    // A file that has gone or changed meanwhile is simply read again. One left where it is ("unread" cannot
    // be made or written) would be read, refused and told at every look: it waits until it changes, and the
    // operator is told once.
    if (move.outcome == UnreadMove::Outcome::Changed)
        return false;
    if (std::find(keptInPlace_.begin(), keptInPlace_.end(), identity) == keptInPlace_.end()) {
        keptInPlace_.push_back(identity);
        notifier_.Show(FormatMessage(Msg::CannotSetAside, settings_.Language, {NameOf(path), kUnreadFolder}), "",
                       MsgButtons::Ok, MsgIcon::Warning);
    }
    return false;
}

void WorkflowEngine::TellNoDrawing(const std::string& path, const FileIdentity& identity, const ImportReport& report)
{
    if (std::find(toldEmpty_.begin(), toldEmpty_.end(), identity) != toldEmpty_.end())
        return;
    toldEmpty_.push_back(identity);
    std::map<std::string, uint32_t> held = report.met;
    held.insert(report.skipped.begin(), report.skipped.end());
    notifier_.Show(FormatMessage(Msg::NoDrawingIn, settings_.Language, {NameOf(path), CountList(held)}), "",
                   MsgButtons::Ok, MsgIcon::Warning);
}

void WorkflowEngine::AddThroughDialog(const std::optional<std::string>& chosenPath)
{
    if (!chosenPath) {
        observer_.TaskListChanged();
        ShowFirstPage();
        return;
    }
    const int32_t result = ReadDrawing(*chosenPath, Source::Dialog, settings_.AutoDelPlt != 0);
    // An empty drawing and one too large to page have had their own message.
    if (result != HpglLoadResult::Ok && result != HpglLoadResult::NoDrawing && result != HpglLoadResult::TooLarge)
        notifier_.Show(MessageText(Msg::PltOpenFailed, settings_.Language), "", MsgButtons::Ok, MsgIcon::Warning);
}

ListOpening WorkflowEngine::OpenTaskList(const std::string& path)
{
    // The last task list may be the only copy of drawings already taken from the data directory.
    std::error_code ec;
    if (keepLastTasks_ && !lastReloaded_ && std::filesystem::exists(settings_.LastTaskPath, ec))
        ReloadLastTasks();
    if (!doc_.pages.empty() && notifier_.Show(FormatMessage(Msg::ReplaceTaskListQuestion, settings_.Language,
                                                            {doc_.pages.size(), NameOf(path)}),
                                              "", MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
        return ListOpening::Kept;
    const TaskFileResult result = doc_.Open(path);
    if (result != TaskFileResult::Ok) {
        notifier_.Show(TaskFileMessage(result, path, settings_.Language), "", MsgButtons::Ok, MsgIcon::Warning);
        return ListOpening::Failed;
    }
    Changed();
    observer_.TaskListChanged();
    ShowFirstPage();
    SaveIfChanged();
    return ListOpening::Opened;
}

void WorkflowEngine::AddTestDrawing(int command)
{
    const std::optional<TestDrawing> drawing = TestDrawingOf(command);
    if (!drawing)
        return;
    const std::size_t count = doc_.pages.size();
    doc_.ClearPages();
    if (count > 0) {
        Changed();
        observer_.PagesRemoved(count);
    }
    // The views must not go on showing pages that are gone, even when the drawing cannot be read.
    observer_.TaskListChanged();
    ShowFirstPage();
    AddByPath(settings_.ExeDir + std::string(drawing->name), false);
    SaveIfChanged();
}

void WorkflowEngine::SetStateOfRows(std::span<const std::ptrdiff_t> rows, int32_t state)
{
    doc_.ClearMarks();
    for (const std::ptrdiff_t row : rows)
        doc_.MarkPage(row);
    if (rows.empty())
        return;
    std::vector<int32_t> before;
    for (const auto& page : doc_.pages)
        before.push_back(page->state);
    doc_.SetStateOfMarked(state);
    for (std::size_t i = 0; i < doc_.pages.size(); ++i) {
        if (doc_.pages[i]->state != before[i]) {
            Changed();
            observer_.PageStateChanged(i, *doc_.pages[i], before[i]);
        }
    }
    observer_.TaskListChanged();
    observer_.Redraw();
    SaveIfChanged();
}

void WorkflowEngine::DeleteRows(std::span<const std::ptrdiff_t> rows)
{
    doc_.ClearMarks();
    for (const std::ptrdiff_t row : rows)
        doc_.MarkPage(row);
    if (rows.empty())
        return;
    const std::size_t count = doc_.pages.size();
    doc_.DeleteMarkedPages();
    if (doc_.pages.size() != count) {
        Changed();
        observer_.PagesRemoved(count - doc_.pages.size());
    }
    observer_.ShowPage(0);
    observer_.TaskListChanged();
    observer_.Redraw();
    SaveIfChanged();
}

void WorkflowEngine::MoveToFront(std::span<const std::ptrdiff_t> rows)
{
    const std::ptrdiff_t row = rows.empty() ? -1 : rows.front();
    auto& pages = doc_.pages;
    if (row <= 0 || static_cast<std::size_t>(row) >= pages.size())
        return;
    std::unique_ptr<COnePage> page = std::move(pages[static_cast<std::size_t>(row)]);
    pages.erase(pages.begin() + row);
    pages.insert(pages.begin() + (link_.jobThreadExists ? 1 : 0), std::move(page));
    Changed();
    observer_.TaskListChanged();
    SaveIfChanged();
}

void WorkflowEngine::PressStart()
{
    if (link_.jobThreadExists) {
        if (link_.status.load().type == kStatusPaused)
            queue_.Append(cmd::kResumeJob);
        return;
    }
    auto& pages = doc_.pages;
    const auto has = [&](int32_t state) {
        return std::find_if(pages.begin(), pages.end(), [&](const auto& p) { return p->state == state; });
    };
    if (has(PageState::Auto) != pages.end())
        return;
    const auto manual = has(PageState::Manual);
    if (manual == pages.end())
        return;
    SetState(static_cast<std::size_t>(manual - pages.begin()), PageState::Auto);
    settings_.NeedPanelConfirm = 0;
    observer_.TaskListChanged();
    SaveIfChanged();
}

void WorkflowEngine::TaskListEdited()
{
    Changed();
}

bool WorkflowEngine::SaveIfChanged()
{
    if (!changed_)
        return true;
    if (!keepLastTasks_) {
        changed_ = false;
        return true;
    }
    const TaskFileResult result = SaveLastTasks(doc_, settings_.LastTaskPath);
    if (result != TaskFileResult::Ok) {
        // Told once per run of failures; the list is tried again after every change and tick.
        if (!saveFailureShown_)
            notifier_.Show(TaskFileMessage(result, settings_.LastTaskPath, settings_.Language), "", MsgButtons::Ok,
                           MsgIcon::Error);
        saveFailureShown_ = true;
        return false;
    }
    changed_ = false;
    saveFailureShown_ = false;
    lastReloaded_ = true;
    for (const PendingDelete& pending : pendingDeletes_)
        DeleteIfUnchanged(pending.path, pending.identity);
    pendingDeletes_.clear();
    return true;
}

void WorkflowEngine::CloseSteps()
{
    changed_ = true;
    SaveIfChanged();
    settings_.AppStopping = 1;
    std::this_thread::sleep_for(kCloseWait);
}

void WorkflowEngine::SetState(std::size_t index, int32_t state)
{
    COnePage& page = *doc_.pages[index];
    const int32_t from = page.state;
    if (from == state)
        return;
    page.state = state;
    Changed();
    observer_.PageStateChanged(index, page, from);
}

void WorkflowEngine::Changed()
{
    changed_ = true;
    onlyPage_ = doc_.pages.size() == 1;
}

bool WorkflowEngine::IsPendingDelete(const std::string& path, const FileIdentity& identity) const
{
    return std::any_of(pendingDeletes_.begin(), pendingDeletes_.end(),
                       [&](const PendingDelete& p) { return p.path == path && p.identity == identity; });
}

void WorkflowEngine::ShowFirstPage()
{
    observer_.ShowPage(0);
    observer_.Redraw();
}

} // namespace qv
