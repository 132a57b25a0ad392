#include "view/TaskListModel.h"

#include <algorithm>

namespace qv {

namespace {

constexpr TaskListColumn kColumns[] = {
    {"序号", "No.", Alignment::Centre, 48},
    {"状态", "State", Alignment::Left, 80},
    {"Xmm*Ymm", "Xmm*Ymm", Alignment::Left, 100},
    {"修改时间", "MTime", Alignment::Left, 130},
    {"原始文件名---页号", "File Name---Page No.", Alignment::Centre, 480},
};

} // namespace

std::span<const TaskListColumn> TaskListColumns()
{
    return kColumns;
}

void TaskListModel::Refill(const CQuorvaneDoc& doc, int32_t language)
{
    rows_.clear();
    rows_.reserve(doc.pages.size());
    for (std::size_t i = 0; i < doc.pages.size(); ++i)
        rows_.push_back(MakeTaskListRow(*doc.pages[i], i, language));
    selected_.clear();
}

void TaskListModel::Select(std::span<const std::ptrdiff_t> rows)
{
    selected_.clear();
    for (const std::ptrdiff_t row : rows) {
        if (row >= 0 && static_cast<std::size_t>(row) < rows_.size())
            selected_.push_back(row);
    }
    std::sort(selected_.begin(), selected_.end());
    selected_.erase(std::unique(selected_.begin(), selected_.end()), selected_.end());
}

} // namespace qv
