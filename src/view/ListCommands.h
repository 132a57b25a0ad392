#pragma once

#include "hpgl/ImportReport.h"
#include "model/PageState.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace qv {

// The task list's context-menu commands.
struct ListCommand {
    enum : int32_t {
        SetAuto = 1500,     // "自动开始"
        SetManual = 1501,   // "手动开始"
        SetDone = 1502,     // "已完成"
        Delete = 1503,      // "删除", also the Delete key
        MoveToFront = 1504, // "移至最前"
        DeleteDone = 1505,  // removes every Done page
    };
};

// Runs a list command on the selected rows (TaskListModel::Selected) through the workflow (the WorkflowEngine,
// or the OutputCentre over it), which spares the page being output, saves the list and tells its observer to
// refill the rows and show a page. False, with nothing done, for a number that is no list command.
template <typename Workflow>
bool RunListCommand(Workflow& workflow, int32_t command, std::span<const std::ptrdiff_t> selectedRows)
{
    switch (command) {
    case ListCommand::SetAuto:
        workflow.SetStateOfRows(selectedRows, PageState::Auto);
        return true;
    case ListCommand::SetManual:
        workflow.SetStateOfRows(selectedRows, PageState::Manual);
        return true;
    case ListCommand::SetDone:
        workflow.SetStateOfRows(selectedRows, PageState::Done);
        return true;
    case ListCommand::Delete:
        workflow.DeleteRows(selectedRows);
        return true;
    case ListCommand::MoveToFront:
        workflow.MoveToFront(selectedRows);
        return true;
    case ListCommand::DeleteDone:
        workflow.RemoveDonePages();
        return true;
    default:
        return false;
    }
}

// The report of the drawing a row's page came from, which the context menu's report entry opens.
struct RowReport {
    std::string fileName;
    ImportReport report;
};

// None for a row outside the list, or for a page whose drawing was not read lately (a list reloaded from a task
// file keeps no reports): the entry is then disabled.
template <typename Workflow>
std::optional<RowReport> ReportOfRow(const Workflow& workflow, std::ptrdiff_t row)
{
    const auto& pages = workflow.TaskList().pages;
    if (row < 0 || static_cast<std::size_t>(row) >= pages.size())
        return std::nullopt;
    const auto& page = *pages[static_cast<std::size_t>(row)];
    std::optional<ImportReport> report = workflow.ReportFor(page);
    if (!report)
        return std::nullopt;
    return RowReport{page.fileName, std::move(*report)};
}

} // namespace qv
