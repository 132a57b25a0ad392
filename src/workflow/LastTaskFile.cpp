#include "workflow/LastTaskFile.h"

#include "app/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace qv {

namespace {

constexpr int kMaxSetAside = 1000;

// Moves the file to the first unreadable name not taken, so a list set aside earlier is never replaced.
void SetAside(const std::string& path)
{
    for (int n = 1; n <= kMaxSetAside; ++n) {
        if (RenameWithoutReplacing(path, UnreadableLastTasksPath(path, n)) || errno != EEXIST)
            return;
    }
}

} // namespace

TaskFileResult SaveLastTasks(CQuorvaneDoc& doc, const std::string& path)
{
    if (doc.pages.empty()) {
        std::error_code ec;
        std::filesystem::remove(path, ec);
        return ec ? TaskFileResult::SaveFailed : TaskFileResult::Ok;
    }
    // Writing a page turns Printing into Manual in memory too; the running job's page must stay Printing.
    std::vector<COnePage*> printing;
    for (const auto& page : doc.pages) {
        if (page->state == PageState::Printing)
            printing.push_back(page.get());
    }
    const TaskFileResult result = doc.Save(path);
    for (COnePage* page : printing)
        page->state = PageState::Printing;
    return result;
}

TaskFileResult ReloadLastTasks(CQuorvaneDoc& doc, const std::string& path)
{
    const TaskFileResult result = doc.Open(path);
    if (result != TaskFileResult::Ok)
        SetAside(path);
    return result;
}

std::string UnreadableLastTasksPath(const std::string& path, int n)
{
    return path + ".unreadable" + (n > 1 ? "." + std::to_string(n) : "");
}

} // namespace qv
