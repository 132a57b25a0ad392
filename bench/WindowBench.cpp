// The window's own costs, with the offscreen platform: a full repaint of a dense page into the view's
// off-screen image, and a start-up to a shown window that reloads a task list of more than a million points.
#include "DenseJobPage.h"

#include "app/AppOptions.h"
#include "app/CSetDisp.h"
#include "link/LibusbBackend.h"
#include "tasks/CQuorvaneDoc.h"
#include "ui/app/QtNotifier.h"
#include "ui/app/QtOwnerBridge.h"
#include "ui/mainframe/CMainFrame.h"
#include "ui/views/DisplayListPainter.h"
#include "view/ViewController.h"
#include "workflow/OutputCentre.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// The dense job page (300 000 points) on a 1600 x 1000 mm table, shown in a 1040 x 780 view.
struct DenseView {
    qv::CQuorvaneDoc doc;
    bool pageAdded = AddDensePage(doc); // before the view sees the document
    qv::CSetDisp disp = Table();
    qv::AppOptions options;
    qv::ViewController view{doc, qv::EditInPlace(doc), disp, options};
    qv::ui::DisplayListPainter painter;
    QImage image{1040, 780, QImage::Format_RGB32};

    DenseView()
    {
        view.Resize(1040, 780);
        view.SetCurrentPage(0);
    }
    void Paint()
    {
        image.fill(Qt::white);
        QPainter p(&image);
        painter.Paint(p, view.Frame());
    }

private:
    static bool AddDensePage(qv::CQuorvaneDoc& doc)
    {
        doc.pages.push_back(std::make_unique<qv::COnePage>(qv::bench::DenseJobPage()));
        return true;
    }
    static qv::CSetDisp Table()
    {
        qv::CSetDisp disp;
        disp.DispSizeX = 1600;
        disp.DispSizeY = 1000;
        return disp;
    }
};

// Painted from the page each time: its scene built again, mapped, and every primitive drawn into the image, as
// after an edit of the page.
void BM_RepaintDensePageIntoImage(benchmark::State& state)
{
    DenseView v;
    for (auto _ : state) {
        v.view.Redraw();
        v.Paint();
    }
    state.counters["points"] = 300000;
}
BENCHMARK(BM_RepaintDensePageIntoImage)->Unit(benchmark::kMillisecond);

// The same page after a pan: only the mapping is done again before painting.
void BM_RepaintAfterPan(benchmark::State& state)
{
    DenseView v;
    int step = 1;
    for (auto _ : state) {
        v.view.RightDown({500, 400});
        v.view.MouseMove({500 + step, 400});
        v.view.RightUp({500 + step, 400});
        step = -step;
        v.Paint();
    }
}
BENCHMARK(BM_RepaintAfterPan)->Unit(benchmark::kMillisecond);

// Counts the reloads of the last task list.
struct ReloadSeen : qv::WorkflowObserver {
    bool reloaded = false;
    std::size_t pages = 0;
    void TaskListReloaded(std::size_t count) override
    {
        reloaded = true;
        pages = count;
    }
};

// From nothing to the shown main window holding the reloaded "lastv901.ctask" of four dense pages
// (1 200 000 points): the settings read, the window built and shown, the threads started and the list
// reloaded. Closing (which saves the list again) is not timed.
void BM_StartUpWithMillionPointTaskList(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string exeDir = dir.path().toStdString() + "/";
    {
        qv::CQuorvaneDoc doc;
        for (int i = 0; i < 4; ++i)
            doc.pages.push_back(std::make_unique<qv::COnePage>(qv::bench::DenseJobPage()));
        doc.Save(exeDir + "lastv901.ctask");
    }
    for (auto _ : state) {
        qv::ui::QtOwnerBridge bridge(qApp);
        qv::ui::QtNotifier notifier;
        qv::LibusbBackend usb;
        ReloadSeen observer;
        auto centre = std::make_unique<qv::OutputCentre>(exeDir, bridge, notifier, usb, observer);
        auto frame = std::make_unique<qv::ui::CMainFrame>(*centre);
        frame->show();
        while (!observer.reloaded || !frame->isVisible())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        QApplication::processEvents();
        state.PauseTiming();
        state.counters["pages"] = static_cast<double>(observer.pages);
        centre->Close();
        frame.reset();
        centre.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpWithMillionPointTaskList)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
