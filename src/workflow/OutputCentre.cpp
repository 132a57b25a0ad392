#include "workflow/OutputCentre.h"

#include "hpgl/EmbeddedFonts.h"
#include "link/StatusLine.h"
#include "workflow/DataDirectory.h"
#include "workflow/OwnerBridge.h"
#include "workflow/TestDrawings.h"

namespace qv {

OutputCentre::OutputCentre(const std::string& exeDir, OwnerBridge& owner, Notifier& notifier, UsbBackend& usb,
                           WorkflowObserver& observer, CentreMode mode)
    : mode_(mode), owner_(owner), notifier_(notifier, owner, settings_),
      commu_(settings_, params_, link_, notifier_, usb), protocol_(commu_, link_, params_, settings_, notifier_),
      jobs_(JobContext{jobPage_, knives_, buffers_, raster_, settings_, params_, settings_, link_, protocol_, queue_,
                       notifier_, owner_, [this] { return engine_.OnlyPageInList(); }}),
      engine_(doc_, settings_, link_, jobs_, queue_, notifier_, observer, watch_, mode == CentreMode::Station),
      monitor_(protocol_, link_, queue_, settings_), tick_(settings_, link_, owner_), watcher_(settings_, owner_)
{
    MachineParams params;
    settings_.Load(exeDir, disp_, params.settings);
    params_.Set(params);
    if (mode_ == CentreMode::Station) {
        RepairDataDir(settings_);
        EnsureFontFiles(settings_);
        EnsureTestFiles(settings_);
    }
    owner_.SetFrameHandler([this](FrameMessage message, intptr_t wParam, intptr_t lParam) {
        return engine_.HandleMessage(message, wParam, lParam);
    });
}

OutputCentre::~OutputCentre()
{
    // A front end that never closed (a failed start): neither the owner's work in hand nor the threads may
    // outlive what they work on.
    owner_.CloseAndWait();
    watcher_.Stop();
    tick_.Stop();
    monitor_.Stop();
    jobs_.Stop();
    owner_.SetFrameHandler({});
}

void OutputCentre::Start()
{
    if (closed_)
        return;
    tick_.Start();
    monitor_.Start();
    if (mode_ == CentreMode::Station) {
        engine_.WatchDataDir();
        watcher_.Start();
    }
}

void OutputCentre::Close()
{
    if (closed_)
        return;
    closed_ = true;
    engine_.CloseSteps();
    // Every thread that waits for the owner (a tick, a poll, a job's end or its message) is let go, so the
    // joins below cannot wait on this very thread.
    owner_.Close();
    watcher_.Stop();
    tick_.Stop();
    monitor_.Stop();
    jobs_.Stop();
    jobs_.ReleaseJob();
    if (mode_ == CentreMode::Station)
        settings_.Save(disp_, params_.Get().settings);
}

std::optional<std::string> OutputCentre::StatusLine() const
{
    return StatusLineText(link_, params_.Get(), settings_.language);
}

void OutputCentre::AddThroughDialog(const std::optional<std::string>& chosenPath)
{
    engine_.AddThroughDialog(chosenPath);
}

void OutputCentre::AddTestDrawing(int command)
{
    engine_.AddTestDrawing(command);
}

void OutputCentre::SetStateOfRows(std::span<const std::ptrdiff_t> rows, int32_t state)
{
    engine_.SetStateOfRows(rows, state);
}

void OutputCentre::DeleteRows(std::span<const std::ptrdiff_t> rows)
{
    engine_.DeleteRows(rows);
}

void OutputCentre::MoveToFront(std::span<const std::ptrdiff_t> rows)
{
    engine_.MoveToFront(rows);
}

void OutputCentre::RemoveDonePages()
{
    engine_.RemoveDonePages();
}

void OutputCentre::PressStart()
{
    engine_.PressStart();
}

ListOpening OutputCentre::OpenTaskList(const std::string& path)
{
    return engine_.OpenTaskList(path);
}

TaskFileResult OutputCentre::SaveTaskList(const std::string& path)
{
    return doc_.Save(path);
}

void OutputCentre::EditPage(std::size_t index, const std::function<void(COnePage&)>& edit)
{
    if (index >= doc_.pages.size())
        return;
    edit(*doc_.pages[index]);
    engine_.TaskListEdited();
}

void OutputCentre::SelectOnPage(std::size_t index, const std::function<void(COnePage&)>& select)
{
    if (index < doc_.pages.size())
        select(*doc_.pages[index]);
}

int OutputCentre::QueueCommand(uint8_t code)
{
    return queue_.Append(code);
}

void OutputCentre::ApplyOptions(const AppOptions& options)
{
    settings_.SetOptions(options);
    settings_.DeriveNeedPanelConfirm();
    if (mode_ == CentreMode::Station)
        settings_.Save(disp_, params_.Get().settings);
}

void OutputCentre::SetConnection(bool viaNet)
{
    AppOptions options = settings_.Options();
    options.ConnectViaNet = viaNet ? 1 : 0;
    settings_.SetOptions(options);
}

void OutputCentre::SetLanguage(int32_t language)
{
    AppOptions options = settings_.Options();
    options.Language = language;
    settings_.SetOptions(options);
}

void OutputCentre::SetDataDir(const std::string& dir)
{
    settings_.DataDir = dir;
    settings_.MissingDataDir.clear();
}

void OutputCentre::ApplyMachineParams(const MachineParams& params, uint8_t saveCode)
{
    params_.Set(params);
    if (saveCode != 0)
        queue_.Append(saveCode);
    if (mode_ == CentreMode::Station)
        settings_.Save(disp_, params_.Get().settings);
}

void OutputCentre::SetMachineAddress(const std::array<uint8_t, 4>& address, uint16_t port)
{
    params_.SetAddress(address);
    commu_.Eth().SetPort(port);
}

} // namespace qv
