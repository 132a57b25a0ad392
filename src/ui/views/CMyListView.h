#pragma once

#include "view/TaskListModel.h"

#include <QTableWidget>

namespace qv {
class OutputCentre;
}

namespace qv::ui {

class CQuorvaneView;

// The task list: one row per page, rebuilt from the output centre's list after every change. A click or an
// arrow key shows the first selected page in the drawing view; the context menu and the Delete key run the
// list commands through the output centre, and the context menu opens the import report of the file of the
// page under the cursor.
class CMyListView : public QTableWidget {
    Q_OBJECT

public:
    // The column captions take the language of this moment and keep it.
    CMyListView(OutputCentre& centre, CQuorvaneView& drawing, QWidget* parent);

    void Refill();
    void RunCommand(int32_t command);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void TakeSelection();

    OutputCentre& centre_;
    CQuorvaneView& drawing_;
    TaskListModel model_;
};

} // namespace qv::ui
