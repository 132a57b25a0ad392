#include "ui/mainframe/CMainFrame.h"

#include "app/BuildInfo.h"
#include "app/MessageCatalog.h"
#include "tasks/TaskFileResult.h"
#include "ui/dialogs/CDlgAdvPara.h"
#include "ui/dialogs/CDlgMacPara.h"
#include "ui/dialogs/CDlgPltExport.h"
#include "ui/dialogs/CDlgPwdInput.h"
#include "ui/dialogs/CDlgSoftSet.h"
#include "ui/panel/CMyDlgBar.h"
#include "ui/views/CMyListView.h"
#include "ui/views/CQuorvaneView.h"
#include "view/AdvancedParamsForm.h"
#include "view/ImportReportText.h"
#include "view/ViewMenu.h"
#include "workflow/OutputCentre.h"
#include "workflow/TestDrawings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <filesystem>

namespace qv::ui {

namespace {

constexpr int kListHeight = 200;

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

CMainFrame::CMainFrame(OutputCentre& centre) : centre_(centre)
{
    notifier_.WatchStopping(&centre_.Settings());
    notifier_.SetParent(this);
    setProperty("QuorvaneV9", 1);
    setWindowTitle(QStringLiteral("Quorvane"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/quorvane.svg")));
    resize(800, 600);

    CreateToolBar();
    statusText_ = new QLabel(Utf8(MessageText(Msg::StatusBarIdle, Language())));
    statusText_->setObjectName(QStringLiteral("statusText"));
    // A long report line is cut at the window's edge instead of widening the window; its tip holds it whole.
    statusText_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(statusText_, 1);

    dock_ = new QDockWidget(this);
    dock_->setObjectName(QStringLiteral("panel"));
    dock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dock_->setTitleBarWidget(new QWidget(dock_));
    dock_->setWidget(new CMyDlgBar(centre_, notifier_, dock_));
    addDockWidget(Qt::RightDockWidgetArea, dock_);

    CreateViews();
    CreateMenus();

    tray_ = new QSystemTrayIcon(windowIcon(), this);
    tray_->setToolTip(tr("计划任务提醒"));
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            ShowFromTray();
    });

    list_->Refill();
    view_->SetCurrentPage(0);
    centre_.Start();
}

CMainFrame::~CMainFrame() = default;

int32_t CMainFrame::Language() const
{
    return centre_.Settings().Language;
}

void CMainFrame::CreateToolBar()
{
    QToolBar* bar = addToolBar(tr("工具栏"));
    bar->setObjectName(QStringLiteral("toolbar"));
    bar->setMovable(true);
    bar->setIconSize(QSize(32, 32));
    const auto add = [&](const char* icon, const QString& prompt, const QString& tip) {
        QAction* action = bar->addAction(QIcon(QString(":/icons/%1.svg").arg(QLatin1String(icon))), tip);
        action->setToolTip(tip);
        action->setStatusTip(prompt);
        return action;
    };
    connect(add("add", tr("添加plt文件"), tr("添加")), &QAction::triggered, this, &CMainFrame::OnAddPlt);
    bar->addSeparator();
    connect(add("fit", tr("适合屏幕"), tr("适合屏幕")), &QAction::triggered, this, &CMainFrame::OnFitView);
    bar->addSeparator();
    previewAction_ = add("preview", tr("在当前页上显示机器将要执行的切割路径、空走和喷墨范围"), tr("作业预览"));
    previewAction_->setCheckable(true);
    connect(previewAction_, &QAction::toggled, this, &CMainFrame::OnJobPreview);
    bar->addSeparator();
    panelAction_ = add("panel", QString(), tr("控制面板"));
    panelAction_->setToolTip(QString());
    panelAction_->setCheckable(true);
    panelAction_->setChecked(true);
    connect(panelAction_, &QAction::triggered, this, &CMainFrame::OnTogglePanel);
    bar->addSeparator();
    connect(add("hide", tr("隐藏窗口"), tr("隐藏窗口")), &QAction::triggered, this, &CMainFrame::OnHideToTray);
    bar->addSeparator();
    connect(add("about", tr("显示程序信息，版本号和版权"), tr("关于")), &QAction::triggered, this,
            &CMainFrame::OnAbout);
}

void CMainFrame::CreateViews()
{
    splitter_ = new QSplitter(Qt::Vertical, this);
    view_ = new CQuorvaneView(centre_, splitter_);
    list_ = new CMyListView(centre_, *view_, splitter_);
    splitter_->addWidget(list_);
    splitter_->addWidget(view_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({kListHeight, height() - kListHeight});
    setCentralWidget(splitter_);

    // The drawing view's accelerators reach it wherever the focus is in the window.
    for (const char letter : {'M', 'F', 'H', 'D'}) {
        const int32_t command = *CtrlKeyCommand(letter);
        auto* shortcut = new QShortcut(QKeySequence(QString("Ctrl+%1").arg(QChar(letter))), this);
        connect(shortcut, &QShortcut::activated, this, [this, command] { view_->RunCommand(command); });
    }
}

void CMainFrame::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(tr("文件(&F)"));
    QAction* open = file->addAction(tr("打开工作列表"), this, &CMainFrame::OnOpenTasks);
    open->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    QAction* save = file->addAction(tr("保存工作列表"), this, &CMainFrame::OnSaveTasks);
    save->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    file->addAction(tr("工作列表另存为"), this, &CMainFrame::OnSaveTasksAs);
    file->addSeparator();
    QMenu* tests = file->addMenu(tr("添加调机文件"));
    for (const TestDrawing& drawing : TestDrawings()) {
        QString name = QFileInfo(Utf8(drawing.name)).fileName();
        if (name == QLatin1String("30x30_HC_FC.plt"))
            name = QStringLiteral("30x30HC_FC.plt");
        const int command = drawing.command;
        tests->addAction(QString("\"%1\"").arg(name), this, [this, command] { centre_.AddTestDrawing(command); });
    }
    file->addSeparator();
    QAction* exportPlt = file->addAction(tr("导出列表到plt"), this, &CMainFrame::OnExportPlt);
    exportPlt->setStatusTip(tr("保存当前列表到一个plt文件"));
    file->addSeparator();
    file->addAction(tr("退出(&X)"), this, &QWidget::close);

    QMenu* settings = menuBar()->addMenu(tr("设置(&S)"));
    QMenu* link = settings->addMenu(tr("连接方式"));
    usbAction_ = link->addAction(QStringLiteral("USB"), this, &CMainFrame::OnViaUsb);
    netAction_ = link->addAction(tr("网线"), this, &CMainFrame::OnViaNet);
    settings->addAction(tr("软件设置"), this, &CMainFrame::OnSoftwareSettings);
    QAction* machine = settings->addAction(tr("机器设置"), this, &CMainFrame::OnMachineSettings);
    machine->setStatusTip(tr("设置机器参数"));
    settings->addAction(tr("机器设置(高级)"), this, &CMainFrame::OnAdvancedSettings);
    settings->addAction(tr("参数说明"), this, &CMainFrame::OnParameterManual);

    QMenu* language = menuBar()->addMenu(QStringLiteral("Language(&L)"));
    chineseAction_ = language->addAction(QStringLiteral("简体中文"), this, &CMainFrame::OnChinese);
    englishAction_ = language->addAction(QStringLiteral("English"), this, &CMainFrame::OnEnglish);

    QMenu* help = menuBar()->addMenu(tr("帮助(&H)"));
    help->addAction(tr("关于 Quorvane(&A)..."), this, &CMainFrame::OnAbout)
        ->setStatusTip(tr("显示程序信息，版本号和版权"));

    for (QAction* check : {usbAction_, netAction_, chineseAction_, englishAction_})
        check->setCheckable(true);
    connect(settings, &QMenu::aboutToShow, this, &CMainFrame::UpdateChecks);
    connect(language, &QMenu::aboutToShow, this, &CMainFrame::UpdateChecks);
    UpdateChecks();
}

void CMainFrame::UpdateChecks()
{
    const CSettings& s = centre_.Settings();
    usbAction_->setChecked(s.ConnectViaNet == 0);
    netAction_->setChecked(s.ConnectViaNet != 0);
    chineseAction_->setChecked(s.Language == 0);
    englishAction_->setChecked(s.Language == 1);
}

void CMainFrame::TaskListChanged()
{
    list_->Refill();
}

void CMainFrame::ShowPage(std::ptrdiff_t index)
{
    view_->SetCurrentPage(index);
}

void CMainFrame::Redraw()
{
    view_->Redraw();
}

void CMainFrame::DrawingReported(const std::string& path, const ImportReport& report)
{
    const QString line = Utf8(ImportReportLine(std::filesystem::path(path).filename().string(), report, Language()));
    statusText_->setText(line);
    statusText_->setToolTip(line);
}

void CMainFrame::OnAddPlt()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), tr("HP-GL(*.plt);;All file(*.*)"));
    centre_.AddThroughDialog(path.isEmpty() ? std::nullopt : std::optional<std::string>(Local(path)));
}

void CMainFrame::OnOpenTasks()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), tr("平板喷切打印任务(*.ctask)"));
    if (path.isEmpty())
        return;
    if (centre_.OpenTaskList(Local(path)) == ListOpening::Opened)
        taskFile_ = Local(path);
}

void CMainFrame::OnSaveTasks()
{
    if (taskFile_.empty())
        OnSaveTasksAs();
    else
        SaveTasksTo(taskFile_);
}

void CMainFrame::OnSaveTasksAs()
{
    QFileDialog dialog(this, QString(), QString(), tr("平板喷切打印任务(*.ctask)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("ctask"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    SaveTasksTo(Local(dialog.selectedFiles().front()));
}

void CMainFrame::SaveTasksTo(const std::string& path)
{
    const TaskFileResult result = centre_.SaveTaskList(path);
    if (result == TaskFileResult::Ok) {
        taskFile_ = path;
        return;
    }
    QMessageBox::warning(this, QStringLiteral("Quorvane"),
                         QString::fromStdString(TaskFileMessage(result, path, Language())));
}

void CMainFrame::OnFitView()
{
    view_->Fit();
}

void CMainFrame::OnTogglePanel()
{
    panelVisible_ = panelVisible_ == 1 ? 0 : 1;
    dock_->setVisible(panelVisible_ == 1);
    panelAction_->setChecked(panelVisible_ == 1);
}

void CMainFrame::ShowJobPreview(bool on)
{
    previewAction_->setChecked(on);
}

void CMainFrame::OnJobPreview(bool on)
{
    view_->SetJobPreview(on);
}

void CMainFrame::OnHideToTray()
{
    // Without a notification area the window could not be reached again once hidden.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        showMinimized();
        return;
    }
    tray_->show();
    hide();
}

void CMainFrame::ShowFromTray()
{
    tray_->hide();
    if (isMinimized())
        showMaximized();
    show();
}

void CMainFrame::Activate()
{
    if (tray_->isVisible())
        tray_->hide();
    if (isMinimized() || isHidden())
        showMaximized();
    show();
    raise();
    activateWindow();
}

void CMainFrame::OnViaUsb()
{
    centre_.SetConnection(false);
    UpdateChecks();
}

void CMainFrame::OnViaNet()
{
    centre_.SetConnection(true);
    UpdateChecks();
}

void CMainFrame::OnParameterManual()
{
    const char* name =
        centre_.Params().settings.panelLanguage == 0 ? "平板喷切参数说明.pdf" : "User Manual for Parameter.pdf";
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(centre_.Settings().ExeDir.c_str()) + Utf8(name)));
}

void CMainFrame::OnChinese()
{
    SwitchLanguage(0);
}

void CMainFrame::OnEnglish()
{
    SwitchLanguage(1);
}

void CMainFrame::SwitchLanguage(int32_t language)
{
    UpdateChecks();
    if (Language() == language)
        return;
    centre_.SetLanguage(language);
    UpdateChecks();
    const Msg notice = language == 0 ? Msg::LanguageChangedToChinese : Msg::LanguageChangedToEnglish;
    QMessageBox::information(this, QStringLiteral("Quorvane"), Utf8(MessageText(notice, language)));
    close();
}

void CMainFrame::OnAbout()
{
    QDialog about(this);
    about.setWindowTitle(tr("关于 Quorvane"));
    auto* icon = new QLabel(&about);
    icon->setPixmap(windowIcon().pixmap(64, 64));
    auto* text = new QLabel(tr("Quorvane 平板喷切输出中心 版本 %1\n发布日期 %2")
                                .arg(QString::fromLatin1(kVersion), QString::fromLatin1(kReleaseDate)),
                            &about);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &about);
    connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(&about);
    layout->addLayout(row);
    layout->addWidget(buttons);
    about.exec();
}

void CMainFrame::OnExportPlt()
{
    ExportTaskListToPlt(centre_, notifier_, this);
}

void CMainFrame::OnSoftwareSettings()
{
    // OK hands the options to the centre, which derives NeedPanelConfirm and saves the settings.
    CDlgSoftSet dialog(centre_, notifier_, this);
    if (dialog.exec() == QDialog::Accepted)
        Redraw();
}

void CMainFrame::OnMachineSettings()
{
    if (!centre_.Link().Connected)
        notifier_.Show(MessageText(Msg::OfflineShowDefaults, Language()), "", MsgButtons::Ok, MsgIcon::Information);
    // OK stores the record through the centre, which saves the settings (the machine address is one of them).
    CDlgMacPara dialog(centre_, notifier_, this);
    dialog.exec();
    update();
}

void CMainFrame::OnAdvancedSettings()
{
    if (!AdvancedParamsMayOpen(centre_.Link().status)) {
        notifier_.Show(MessageText(Msg::AdvancedParamsNotReady, Language()), "", MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    CDlgPwdInput password(Language(), this);
    if (password.exec() != QDialog::Accepted)
        return;
    if (!AdvancedParamsPasswordAccepted(password.Text())) {
        notifier_.Show(MessageText(Msg::PasswordError, Language()), "", MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    CDlgAdvPara dialog(centre_, notifier_, this);
    dialog.exec();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (closing_) {
        event->accept();
        return;
    }
    if (centre_.JobRunning()) {
        const auto answer = QMessageBox::question(this, Utf8(MessageText(Msg::CaptionPrompt, 0)),
                                                  Utf8(MessageText(Msg::CloseWhileRunningQuestion, 0)),
                                                  QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
        if (answer != QMessageBox::Ok) {
            event->ignore();
            return;
        }
    }
    closing_ = true;
    tray_->hide();
    centre_.Close();
    event->accept();
    QApplication::quit();
}

} // namespace qv::ui
