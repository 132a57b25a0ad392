// The import report in the window: the program's own arrangement, the GUI thread owning the task list and the
// frame hearing what the centre read.
#include "PanelFixture.h"

#include "ui/app/QtOwnerBridge.h"
#include "ui/dialogs/CDlgImportReport.h"
#include "ui/mainframe/CMainFrame.h"
#include "ui/views/CMyListView.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace qv::test {
namespace {

class ToTheFrame : public WorkflowObserver {
public:
    ui::CMainFrame* frame = nullptr;

    void TaskListChanged() override { frame->TaskListChanged(); }
    void ShowPage(std::ptrdiff_t index) override { frame->ShowPage(index); }
    void DrawingReported(const std::string& path, const ImportReport& report) override
    {
        frame->DrawingReported(path, report);
    }
};

struct WindowRig {
    WindowRig()
    {
        WriteFile(exe.File("setting.ini"), SettingsIni({}));
        centre = std::make_unique<OutputCentre>(exe.Path(), bridge, notifier, usb, observer);
        frame = std::make_unique<ui::CMainFrame>(*centre);
        observer.frame = frame.get();
    }
    ~WindowRig()
    {
        centre->Close();
        frame.reset();
    }

    TempDir exe;
    RecordingNotifier notifier;
    NoUsb usb;
    ToTheFrame observer;
    ui::QtOwnerBridge bridge{qApp};
    std::unique_ptr<OutputCentre> centre;
    std::unique_ptr<ui::CMainFrame> frame;
};

QAction* ActionNamed(const QWidget& root, const QString& text)
{
    for (QAction* action : root.findChildren<QAction*>()) {
        if (action->text() == text)
            return action;
    }
    ADD_FAILURE() << "no action " << text.toStdString();
    return nullptr;
}

TEST(ImportReportWindow, TheStatusBarLineAfterAnAddAndTheDialogFromTheContextMenu)
{
    WindowRig rig;
    ui::CMainFrame& frame = *rig.frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QAction* testDrawing = ActionNamed(frame, QStringLiteral("\"10x10.plt\""));
    ASSERT_TRUE(testDrawing);
    testDrawing->trigger();
    const QString line = Find<QLabel>(frame, QStringLiteral("statusText"))->text();
    EXPECT_TRUE(line.startsWith(QStringLiteral("10x10.plt：1 页，"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("；读入 "))) << line.toStdString();

    // A right click on the page's row, the report entry chosen with the keyboard, the dialog read and closed.
    ui::CMyListView& list = frame.ListView();
    ASSERT_EQ(list.rowCount(), 1);
    const QPoint at = list.visualRect(list.model()->index(0, 0)).center();
    bool enabled = false;
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        QAction* entry = ActionNamed(*menu, QStringLiteral("导入报告..."));
        if (!entry) {
            menu->close();
            return;
        }
        enabled = entry->isEnabled();
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<CDlgImportReport*>(QApplication::activeModalWidget())) {
                shown = Find<QLabel>(*dialog, QStringLiteral("report"))->text();
                dialog->reject();
            }
        });
        menu->setActiveAction(entry);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
    QApplication::sendEvent(list.viewport(), &click);
    EXPECT_TRUE(enabled);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("10x10.plt：1 页，"))) << shown.toStdString();
    for (const char* row : {"\n  读入的指令：", "\n  跳过的指令：", "\n  笔：", "\n  文字："})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(row))) << row;
}

} // namespace
} // namespace qv::test
