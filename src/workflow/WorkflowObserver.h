#pragma once

#include "hpgl/ImportReport.h"
#include "model/COnePage.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

// What the workflow tells the owner of the task list, always on the owner's thread: what to refresh (the list
// rows, the page the drawing view shows) and what happened, so a window can redraw and a console can report.
class WorkflowObserver {
public:
    virtual ~WorkflowObserver() = default;

    // Refill the list rows from the task list.
    virtual void TaskListChanged() {}
    // The drawing view's SetCurrentPage: an index outside the list shows the first page.
    virtual void ShowPage(std::ptrdiff_t /*index*/) {}
    virtual void Redraw() {}

    // A drawing was read from `path` (HpglLoadResult::Ok with the pages it added) or refused for good
    // (too small, too large, rejected content), and whether the file is gone from its place.
    virtual void FileRead(const std::string& /*path*/, int32_t /*result*/, std::size_t /*pages*/, bool /*deleted*/) {}
    // Before FileRead, for a drawing read without error (also one without a curve): what the read met.
    virtual void DrawingReported(const std::string& /*path*/, const ImportReport& /*report*/) {}
    // A drawing that was not taken was moved from `path` to `movedTo` in the data directory's "unread/".
    virtual void FileSetAside(const std::string& /*path*/, const std::string& /*movedTo*/) {}
    // The page now at `index` went from `from` to its current state.
    virtual void PageStateChanged(std::size_t /*index*/, const COnePage& /*page*/, int32_t /*from*/) {}
    // The list of the previous run was read back and replaced the list (`pages` pages); one that could not be
    // read is told through the notifier instead.
    virtual void TaskListReloaded(std::size_t /*pages*/) {}
    // The data directory `dir` is watched for writers finishing their files (`failure` empty), or only
    // polled, for the reason `failure` gives; told at the first poll and whenever it changes.
    virtual void DataDirWatched(const std::string& /*dir*/, const std::string& /*failure*/) {}
    // `count` pages left the task list (deleted by the operator, Done pages cleared, empty pages dropped).
    virtual void PagesRemoved(std::size_t /*count*/) {}
};

} // namespace qv
