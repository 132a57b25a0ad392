#include "ui/views/CQuorvaneView.h"

#include "app/InvalidArgument.h"
#include "geometry/ViewCommands.h"
#include "view/ViewMenu.h"
#include "workflow/OutputCentre.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace qv::ui {

namespace {

ScreenPoint At(const QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    return {p.x(), p.y()};
}

Modifiers ModifiersOf(Qt::KeyboardModifiers m)
{
    return {m.testFlag(Qt::ControlModifier), m.testFlag(Qt::ShiftModifier)};
}

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CQuorvaneView::CQuorvaneView(OutputCentre& centre, QWidget* parent)
    : QWidget(parent), centre_(centre),
      controller_(
          centre.TaskList(),
          [&centre](std::size_t index, bool selection, const std::function<void(COnePage&)>& change) {
              if (selection)
                  centre.SelectOnPage(index, change);
              else
                  centre.EditPage(index, change);
          },
          centre.Display(), centre.Settings().Options())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(false);
}

void CQuorvaneView::SetCurrentPage(std::ptrdiff_t index)
{
    preview_.reset();
    Act(controller_.SetCurrentPage(index));
}

void CQuorvaneView::Redraw()
{
    preview_.reset();
    Act(controller_.Redraw());
}

void CQuorvaneView::Fit()
{
    Act(controller_.Fit());
}

void CQuorvaneView::RunCommand(int32_t command)
{
    try {
        const CommandOutcome outcome = controller_.Command(command);
        if (outcome.edited)
            preview_.reset();
        Act(outcome.update);
    } catch (const InvalidArgument&) {
        // A curve without points cannot be on a page that came through the import; nothing was changed.
        Act(controller_.Redraw());
    }
}

void CQuorvaneView::SetJobPreview(bool on)
{
    previewOn_ = on;
    imageValid_ = false;
    update();
}

void CQuorvaneView::Act(ViewUpdate update)
{
    switch (update) {
    case ViewUpdate::None:
        return;
    case ViewUpdate::Band:
        QWidget::update();
        return;
    case ViewUpdate::Redraw:
        imageValid_ = false;
        QWidget::update();
        return;
    case ViewUpdate::ContextMenu:
        ShowContextMenu(QCursor::pos());
        return;
    }
}

void CQuorvaneView::RenderImage()
{
    const QSize size = this->size();
    if (image_.size() != size)
        image_ = QImage(size, QImage::Format_RGB32);
    image_.fill(Qt::white);
    QPainter painter(&image_);
    painter.setFont(font());
    painter_.Paint(painter, controller_.Frame());
    const auto& pages = centre_.TaskList().pages;
    if (previewOn_ && !pages.empty()) {
        if (!preview_) {
            const COnePage& page = *pages[static_cast<std::size_t>(controller_.CurrentPage())];
            preview_ = BuildJobPreview(page, centre_.Params(), centre_.Settings().Options());
        }
        overlay_.Clear();
        PaintJobPreview(controller_.Display(), *preview_, overlay_);
        painter_.Paint(painter, overlay_);
    }
    imageValid_ = true;
}

void CQuorvaneView::paintEvent(QPaintEvent*)
{
    if (!imageValid_ || image_.size() != size())
        RenderImage();
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
    if (const auto band = controller_.Band()) {
        // Inverted pixels, so the band shows on the black background and on every curve colour.
        const ScreenRect& r = band->rect;
        QPen pen(Qt::white);
        pen.setStyle(Qt::DotLine);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.drawRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
}

void CQuorvaneView::resizeEvent(QResizeEvent*)
{
    Act(controller_.Resize(width(), height()));
}

void CQuorvaneView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Act(controller_.LeftDown(At(event)));
    else if (event->button() == Qt::RightButton)
        Act(controller_.RightDown(At(event)));
}

void CQuorvaneView::mouseMoveEvent(QMouseEvent* event)
{
    Act(controller_.MouseMove(At(event)));
}

void CQuorvaneView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        preview_.reset();
        Act(controller_.LeftUp(At(event), ModifiersOf(event->modifiers())));
    } else if (event->button() == Qt::RightButton) {
        Act(controller_.RightUp(At(event)));
    }
}

void CQuorvaneView::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    const QPoint p = event->position().toPoint();
    Act(controller_.Wheel({p.x(), p.y()}, delta > 0 ? 1 : -1));
}

void CQuorvaneView::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && !event->isAutoRepeat())
        RunCommand(ViewCommand::Delete);
    else
        QWidget::keyReleaseEvent(event);
}

void CQuorvaneView::ShowContextMenu(QPoint at)
{
    const int32_t language = centre_.Settings().Language;
    QMenu menu(this);
    for (const ViewMenuEntry& entry : ViewContextMenu()) {
        QAction* action = menu.addAction(Utf8(language == 1 ? entry.en : entry.zh));
        const int32_t command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
    }
    menu.exec(at);
}

} // namespace qv::ui
