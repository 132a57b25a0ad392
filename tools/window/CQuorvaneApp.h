#pragma once

#include "link/LibusbBackend.h"
#include "ui/app/QtNotifier.h"
#include "ui/app/QtOwnerBridge.h"
#include "workflow/WorkflowObserver.h"

#include <QApplication>
#include <QTranslator>
#include <array>
#include <memory>
#include <optional>
#include <string>

class QSocketNotifier;

namespace qv {
class OutputCentre;
}

namespace qv::ui {
class CMainFrame;
class SingleInstance;
} // namespace qv::ui

namespace qv::window {

// What the command line asks for.
struct StartOptions {
    std::string exeDir;                  // where setting.ini and lastv901.ctask live; the program's own by default
    std::optional<std::string> taskFile; // opened as the task list
    bool viaUsb = false;
    std::optional<std::array<uint8_t, 4>> netAddress;
    uint16_t netPort = 0;
    bool log = false;        // the workflow's events on standard output
    QString instanceDir;     // where the single-instance lock and socket live
    bool jobPreview = false; // the job preview on from the start
    QString screenshot;      // a picture of the shown window saved here, then the window closes
};

// The application object: one program per user, the output centre with the Qt bridge and notifier, the
// English resources, the main window shown maximised; at the end the window closes the centre, which saves the
// task list and the settings and closes the link.
class CQuorvaneApp : public QApplication {
    Q_OBJECT

public:
    CQuorvaneApp(int& argc, char** argv);
    ~CQuorvaneApp() override;

    // The start-up; the exit code when the program ends at once (another program runs, a task file that cannot
    // be opened), nothing when the window is shown.
    std::optional<int> Start(const StartOptions& options);

private:
    class Events;

    void LoadEnglish();
    void StopOnSignals();
    void TakeScreenshot(const QString& file);

    ui::QtOwnerBridge bridge_;
    ui::QtNotifier notifier_;
    LibusbBackend usb_;
    std::unique_ptr<Events> events_;
    std::unique_ptr<ui::SingleInstance> instance_;
    std::unique_ptr<OutputCentre> centre_;
    std::unique_ptr<ui::CMainFrame> frame_;
    QTranslator english_;
    QSocketNotifier* signals_ = nullptr;
};

} // namespace qv::window
