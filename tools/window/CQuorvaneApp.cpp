#include "CQuorvaneApp.h"

#include "app/MessageCatalog.h"
#include "hpgl/CHpglFile.h"
#include "tasks/TaskFileResult.h"
#include "tasks/TaskListRow.h"
#include "ui/app/SingleInstance.h"
#include "ui/mainframe/CMainFrame.h"
#include "workflow/OutputCentre.h"

#include <QMessageBox>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace qv::window {

namespace {

int signalPipe[2] = {-1, -1};

void OnStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void Say(const char* format, const std::string& a = {}, const std::string& b = {})
{
    std::printf(format, a.c_str(), b.c_str());
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

// The centre's observer: what changed goes to the main window once it exists, and with --log one line per
// event to standard output, for whoever follows the program from a terminal or a script.
class CQuorvaneApp::Events : public WorkflowObserver {
public:
    ui::CMainFrame* frame = nullptr;
    const CSettings* settings = nullptr;
    bool log = false;

    void TaskListChanged() override
    {
        if (frame)
            frame->TaskListChanged();
    }
    void ShowPage(std::ptrdiff_t index) override
    {
        if (frame)
            frame->ShowPage(index);
    }
    void Redraw() override
    {
        if (frame)
            frame->Redraw();
    }
    void DrawingReported(const std::string& path, const ImportReport& report) override
    {
        if (frame)
            frame->DrawingReported(path, report);
    }
    void FileRead(const std::string& path, int32_t result, std::size_t pages, bool) override
    {
        if (log)
            Say(result == HpglLoadResult::Ok ? "taken %s: %s" : "refused %s%s", path,
                result == HpglLoadResult::Ok ? std::to_string(pages) + " pages" : std::string());
    }
    void PageStateChanged(std::size_t index, const COnePage& page, int32_t from) override
    {
        if (!log)
            return;
        const TaskListRow row = MakeTaskListRow(page, index, 1);
        Say("page %s: %s", row.number, PageStateText(from, 1) + " -> " + row.state);
    }
    void TaskListReloaded(std::size_t pages) override
    {
        if (log)
            Say("reloaded %s: %s", settings->LastTaskPath, std::to_string(pages) + " pages");
    }
    void PagesRemoved(std::size_t count) override
    {
        if (log)
            Say("removed %s%s", std::to_string(count) + " pages");
    }
};

CQuorvaneApp::CQuorvaneApp(int& argc, char** argv)
    : QApplication(argc, argv), bridge_(this), events_(std::make_unique<Events>())
{
    setApplicationName(QStringLiteral("quorvane"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/quorvane.svg")));
}

CQuorvaneApp::~CQuorvaneApp()
{
    // The window closes the centre; a start that ended early closes it here, before the frame goes.
    if (centre_)
        centre_->Close();
    frame_.reset();
    centre_.reset();
    if (events_->log)
        Say("closed");
}

std::optional<int> CQuorvaneApp::Start(const StartOptions& options)
{
    events_->log = options.log;
    instance_ = std::make_unique<ui::SingleInstance>(options.instanceDir);
    switch (instance_->Claim()) {
    case ui::SingleInstance::Start::First:
        break;
    case ui::SingleInstance::Start::HandedOver:
        if (options.log)
            Say("handed over");
        return 0;
    case ui::SingleInstance::Start::Unreachable:
        QMessageBox::information(nullptr, QStringLiteral("Quorvane"), Utf8(MessageText(Msg::ApplicationRunning, 0)));
        return 1;
    case ui::SingleInstance::Start::NoLock: {
        // Before the settings are read, so in both languages.
        const std::string dir = options.instanceDir.toStdString();
        const std::string text =
            FormatMessage(Msg::InstanceLockFailed, 0, {dir}) + "\n" + FormatMessage(Msg::InstanceLockFailed, 1, {dir});
        std::fprintf(stderr, "%s\n", text.c_str());
        QMessageBox::warning(nullptr, QStringLiteral("Quorvane"), Utf8(text));
        return 1;
    }
    }

    // The settings, the start values of the machine records and the data directory's repair.
    centre_ = std::make_unique<OutputCentre>(options.exeDir, bridge_, notifier_, usb_, *events_);
    events_->settings = &centre_->Settings();
    notifier_.WatchStopping(&centre_->Settings());
    if (options.viaUsb)
        centre_->SetConnection(false);
    if (options.netAddress) {
        centre_->SetConnection(true);
        centre_->SetMachineAddress(*options.netAddress, options.netPort);
    }
    LoadEnglish();
    if (options.taskFile && centre_->OpenTaskList(*options.taskFile) == ListOpening::Failed)
        return 1;

    frame_ = std::make_unique<ui::CMainFrame>(*centre_);
    notifier_.SetParent(frame_.get());
    events_->frame = frame_.get();
    connect(instance_.get(), &ui::SingleInstance::activationRequested, frame_.get(), [this] {
        frame_->Activate();
        if (events_->log)
            Say("activated");
    });
    StopOnSignals();
    frame_->showMaximized();
    if (options.jobPreview)
        frame_->ShowJobPreview(true);
    if (!options.screenshot.isEmpty())
        TakeScreenshot(options.screenshot);
    if (options.log)
        Say("running");
    return std::nullopt;
}

void CQuorvaneApp::LoadEnglish()
{
    const QString file = applicationDirPath() + QStringLiteral("/quorvane_en.qm");
    if (!english_.load(file)) {
        QMessageBox::warning(nullptr, QStringLiteral("Quorvane"),
                             Utf8(MessageText(Msg::EnglishResourcesLoadFailed, 0)));
        return;
    }
    if (centre_->Settings().Language == 1)
        installTranslator(&english_);
}

// The picture is taken once the start has settled (the window laid out, the last task list reloaded). A window
// system without a window manager leaves the window at its default size, so it is given the screen first.
void CQuorvaneApp::TakeScreenshot(const QString& file)
{
    frame_->setGeometry(frame_->screen()->availableGeometry());
    constexpr int kSettleMs = 2000;
    QTimer::singleShot(kSettleMs, frame_.get(), [this, file] {
        const bool saved = frame_->grab().save(file, "PNG");
        std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "screenshot" : "cannot write", qPrintable(file));
        std::fflush(stdout);
        frame_->close();
        if (!saved)
            QCoreApplication::exit(1); // a script must not take a missing picture for one taken
    });
}

// SIGTERM and SIGINT close the window as its close button does, so a session that ends keeps the task list.
void CQuorvaneApp::StopOnSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    signals_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(signals_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(signalPipe[0], &byte, 1);
        if (frame_)
            frame_->close();
    });
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

} // namespace qv::window
