#pragma once

#include "ui/app/QtNotifier.h"
#include "workflow/WorkflowObserver.h"

#include <QMainWindow>
#include <string>

class QAction;
class QDockWidget;
class QLabel;
class QSplitter;
class QSystemTrayIcon;

namespace qv {
class OutputCentre;
}

namespace qv::ui {

class CMyListView;
class CQuorvaneView;

// The one top-level window: toolbar, the task list above the drawing view, the control panel's dock at the
// right, the status bar, the main menu and the notification-area icon. Its commands go to the output centre
// and the views; the messages of the background threads reach it as the centre's observer. Creating it starts
// the centre's threads; closing it closes the centre.
class CMainFrame : public QMainWindow, public WorkflowObserver {
    Q_OBJECT

public:
    // The frame's command numbers.
    enum Command : int {
        AddPlt = 262,
        ExportPlt = 263,
        FitView = 266,
        HideToTray = 275,
        TogglePanel = 280,
        ParameterManual = 282,
        SoftwareSettings = 2001,
        MachineSettings = 2002,
        AdvancedSettings = 2003,
        Chinese = 2015,
        English = 2017,
        ViaUsb = 2019,
        ViaNet = 2020,
        OpenTasks = 57601,
        SaveTasks = 57603,
        SaveTasksAs = 57604,
        About = 57664,
        Exit = 57665,
    };
    // Identifier of the notification-area icon.
    static constexpr int kTrayIconId = 128;

    explicit CMainFrame(OutputCentre& centre);
    ~CMainFrame() override;

    QDockWidget* PanelDock() const { return dock_; }
    CQuorvaneView& DrawingView() { return *view_; }
    CMyListView& ListView() { return *list_; }

    // The toolbar's job preview toggle.
    void ShowJobPreview(bool on);

    // A second start of the program asked for this window: shown again from the tray or the task bar.
    void Activate();

    // WorkflowObserver, on the GUI thread.
    void TaskListChanged() override;
    void ShowPage(std::ptrdiff_t index) override;
    void Redraw() override;
    // The report's line replaces the status bar's text until the next drawing is read.
    void DrawingReported(const std::string& path, const ImportReport& report) override;

public slots:
    void OnAddPlt();
    void OnOpenTasks();
    void OnSaveTasks();
    void OnSaveTasksAs();
    void OnFitView();
    void OnTogglePanel();
    void OnHideToTray();
    void OnJobPreview(bool on);
    void OnViaUsb();
    void OnViaNet();
    void OnParameterManual();
    void OnChinese();
    void OnEnglish();
    void OnAbout();
    // The dialogs of the settings menu and the export (command numbers 263, 2001, 2002, 2003).
    void OnExportPlt();
    void OnSoftwareSettings();
    void OnMachineSettings();
    void OnAdvancedSettings();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateToolBar();
    void CreateMenus();
    void CreateViews();
    void UpdateChecks();
    void SwitchLanguage(int32_t language);
    void SaveTasksTo(const std::string& path);
    void ShowFromTray();
    int32_t Language() const;

    OutputCentre& centre_;
    QtNotifier notifier_;          // the dialogs' and the panel's message boxes, over this window
    QLabel* statusText_ = nullptr; // "Ready", then the report of the drawing read last
    QDockWidget* dock_ = nullptr;
    QSplitter* splitter_ = nullptr;
    CQuorvaneView* view_ = nullptr;
    CMyListView* list_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    QAction* panelAction_ = nullptr;
    QAction* previewAction_ = nullptr;
    QAction* usbAction_ = nullptr;
    QAction* netAction_ = nullptr;
    QAction* chineseAction_ = nullptr;
    QAction* englishAction_ = nullptr;
    int panelVisible_ = 1;
    std::string taskFile_; // the file Save writes; empty until one is opened or saved
    bool closing_ = false;
};

} // namespace qv::ui
