#pragma once

#include "hpgl/ImportReport.h"
#include "model/COnePage.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace qv {

// The reports of the drawings read lately, found again from any of their pages (by the file's name and time,
// which every page of a drawing carries): the task list's context menu shows the report of the file's pages.
class ImportReportLog {
public:
    static constexpr std::size_t kKept = 64;

    // Replaces the report of the same file; the oldest goes once kKept are held.
    void Add(const std::string& fileName, int64_t fileTime, const ImportReport& report);
    // None for a page whose drawing was not read lately (a reloaded task list).
    std::optional<ImportReport> Find(const COnePage& page) const;
    // The report of the drawing read last; none before the first.
    std::optional<ImportReport> Last() const;

private:
    struct Entry {
        std::string fileName;
        int64_t fileTime = 0;
        ImportReport report;
    };
    std::deque<Entry> entries_; // oldest first
};

} // namespace qv
