#pragma once

#include "tasks/CQuorvaneDoc.h"

#include <string>

namespace qv {

// "lastv901.ctask" is the task list of the running program on disk, kept current after every change so that
// nothing taken out of the data directory lives only in memory.

// Writes the list to `path` atomically, or removes the file when the list is empty. A page being output is
// stored as Manual (the operator decides whether to run it again), but keeps its state in memory.
TaskFileResult SaveLastTasks(CQuorvaneDoc& doc, const std::string& path);

// Replaces the list by the file at `path`. A file that cannot be read is moved aside to the first of
// UnreadableLastTasksPath(path, 1, 2, ...) not taken, so neither the saves that follow nor a later unreadable
// list ever overwrite what may still be rescued.
TaskFileResult ReloadLastTasks(CQuorvaneDoc& doc, const std::string& path);

// "lastv901.ctask.unreadable", then "lastv901.ctask.unreadable.2" and so on.
std::string UnreadableLastTasksPath(const std::string& path, int n = 1);

} // namespace qv
