#pragma once

#include "tasks/CQuorvaneDoc.h"
#include "tasks/TaskListRow.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace qv {

enum class Alignment : uint8_t { Left, Centre };

// The columns of the task list: caption in both languages (taken in the Language of the moment the columns
// are made), alignment and width in pixels.
struct TaskListColumn {
    std::string_view zh;
    std::string_view en;
    Alignment alignment;
    int32_t width;
};
std::span<const TaskListColumn> TaskListColumns();

// The task list's rows, one per page in list order, and the rows the operator has selected. It owns no pages:
// every change of the list is followed by a Refill.
class TaskListModel {
public:
    // Every row again from the list in `language`; the selection is cleared, as a refill of the list does.
    void Refill(const CQuorvaneDoc& doc, int32_t language);
    const std::vector<TaskListRow>& Rows() const { return rows_; }

    // The rows the list has selected, in any order: kept in row order, each once, only rows that exist.
    void Select(std::span<const std::ptrdiff_t> rows);
    std::span<const std::ptrdiff_t> Selected() const { return selected_; }
    // The page the drawing view shows after a click or an arrow key: the first selected row, -1 (shown as the
    // first page) without a selection.
    std::ptrdiff_t FirstSelected() const { return selected_.empty() ? -1 : selected_.front(); }

private:
    std::vector<TaskListRow> rows_;
    std::vector<std::ptrdiff_t> selected_;
};

} // namespace qv
