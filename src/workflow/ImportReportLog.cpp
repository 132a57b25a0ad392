#include "workflow/ImportReportLog.h"

#include <algorithm>

namespace qv {

void ImportReportLog::Add(const std::string& fileName, int64_t fileTime, const ImportReport& report)
{
    std::erase_if(entries_, [&](const Entry& e) { return e.fileName == fileName && e.fileTime == fileTime; });
    if (entries_.size() == kKept)
        entries_.pop_front();
    entries_.push_back({fileName, fileTime, report});
}

std::optional<ImportReport> ImportReportLog::Find(const COnePage& page) const
{
    const auto it = std::find_if(entries_.rbegin(), entries_.rend(), [&](const Entry& e) {
        return e.fileName == page.fileName && e.fileTime == page.fileTime;
    });
    if (it == entries_.rend())
        return std::nullopt;
    return it->report;
}

std::optional<ImportReport> ImportReportLog::Last() const
{
    if (entries_.empty())
        return std::nullopt;
    return entries_.back().report;
}

} // namespace qv
