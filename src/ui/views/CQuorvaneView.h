#pragma once

#include "ui/views/DisplayListPainter.h"
#include "view/DisplayList.h"
#include "view/JobPreview.h"
#include "view/ViewController.h"

#include <QImage>
#include <QWidget>
#include <optional>

namespace qv {
class OutputCentre;
}

namespace qv::ui {

// The drawing view: forwards the mouse, the wheel and the keys to the view engine and paints the display list
// it gives through one off-screen image. The rubber band is drawn over that image without painting the page
// again. With the job preview on, what the machine will do with the page is drawn over it.
class CQuorvaneView : public QWidget {
    Q_OBJECT

public:
    CQuorvaneView(OutputCentre& centre, QWidget* parent);

    void SetCurrentPage(std::ptrdiff_t index);
    int32_t CurrentPage() const { return controller_.CurrentPage(); }
    // The shown page may have changed: painted again from the page.
    void Redraw();
    // Command 266.
    void Fit();
    // A command of the context menu, an accelerator or the Delete key.
    void RunCommand(int32_t command);
    void SetJobPreview(bool on);
    bool JobPreviewShown() const { return previewOn_; }

    // The picture painted last, without the rubber band.
    const QImage& PageImage() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void Act(ViewUpdate update);
    void RenderImage();
    void ShowContextMenu(QPoint at);

    OutputCentre& centre_;
    ViewController controller_;
    DisplayListPainter painter_;
    QImage image_;
    bool imageValid_ = false;
    bool previewOn_ = false;
    std::optional<JobPreview> preview_; // of the shown page, until it changes
    DisplayList overlay_;
};

} // namespace qv::ui
