#include "ui/views/CMyListView.h"

#include "ui/dialogs/CDlgImportReport.h"
#include "ui/views/CQuorvaneView.h"
#include "view/ListCommands.h"
#include "workflow/OutputCentre.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

namespace qv::ui {

namespace {

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::Alignment AlignmentOf(Alignment a)
{
    return (a == Alignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
}

} // namespace

CMyListView::CMyListView(OutputCentre& centre, CQuorvaneView& drawing, QWidget* parent)
    : QTableWidget(parent), centre_(centre), drawing_(drawing)
{
    const auto columns = TaskListColumns();
    const int32_t language = centre.Settings().Language;
    setColumnCount(static_cast<int>(columns.size()));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const TaskListColumn& c = columns[i];
        auto* header = new QTableWidgetItem(Utf8(language == 1 ? c.en : c.zh));
        header->setTextAlignment(AlignmentOf(c.alignment));
        setHorizontalHeaderItem(static_cast<int>(i), header);
        setColumnWidth(static_cast<int>(i), c.width);
    }
    // The column widths are the list's own; a small font lets the longest cells (the file time) fit them.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    horizontalHeader()->setFont(small);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, QColor(0, 0, 255));
    setPalette(colours);
}

void CMyListView::Refill()
{
    const int32_t language = centre_.Settings().Language;
    model_.Refill(centre_.TaskList(), language);
    const auto columns = TaskListColumns();
    clearContents();
    setRowCount(static_cast<int>(model_.Rows().size()));
    int row = 0;
    for (const TaskListRow& r : model_.Rows()) {
        const std::string* cells[] = {&r.number, &r.state, &r.size, &r.time, &r.name};
        for (int column = 0; column < 5; ++column) {
            auto* item = new QTableWidgetItem(QString::fromStdString(*cells[column]));
            item->setTextAlignment(AlignmentOf(columns[static_cast<std::size_t>(column)].alignment));
            setItem(row, column, item);
        }
        ++row;
    }
}

void CMyListView::TakeSelection()
{
    std::vector<std::ptrdiff_t> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    model_.Select(rows);
}

void CMyListView::RunCommand(int32_t command)
{
    TakeSelection();
    const std::vector<std::ptrdiff_t> rows(model_.Selected().begin(), model_.Selected().end());
    RunListCommand(centre_, command, rows);
}

void CMyListView::mouseReleaseEvent(QMouseEvent* event)
{
    QTableWidget::mouseReleaseEvent(event);
    TakeSelection();
    drawing_.SetCurrentPage(model_.FirstSelected());
}

void CMyListView::keyReleaseEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        TakeSelection();
        drawing_.SetCurrentPage(model_.FirstSelected());
        setFocus();
        return;
    case Qt::Key_Delete:
        RunCommand(ListCommand::Delete);
        return;
    default:
        QTableWidget::keyReleaseEvent(event);
    }
}

void CMyListView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QMenu* state = menu.addMenu(tr("状态"));
    const auto add = [this](QMenu* to, const QString& caption, int32_t command) {
        connect(to->addAction(caption), &QAction::triggered, this, [this, command] { RunCommand(command); });
    };
    add(state, tr("自动开始"), ListCommand::SetAuto);
    add(state, tr("手动开始"), ListCommand::SetManual);
    add(state, tr("已完成"), ListCommand::SetDone);
    add(&menu, tr("移至最前"), ListCommand::MoveToFront);
    add(&menu, tr("删除“已完成”"), ListCommand::DeleteDone);
    add(&menu, tr("删除\tDEL"), ListCommand::Delete);
    // The report of the file of the page under the cursor, whatever rows are selected.
    menu.addSeparator();
    QAction* report = menu.addAction(tr("导入报告..."));
    const std::optional<RowReport> found = ReportOfRow(centre_, indexAt(event->pos()).row());
    report->setEnabled(found.has_value());
    if (found) {
        connect(report, &QAction::triggered, this, [this, &found] {
            CDlgImportReport dialog(found->fileName, found->report, centre_.Settings().Language, this);
            dialog.exec();
        });
    }
    menu.exec(event->globalPos());
}

} // namespace qv::ui
