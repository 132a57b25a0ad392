#include "workflow/LastTaskFile.h"

#include <cstdio>
#include <filesystem>
#include <vector>

namespace qv {

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
        std::rename(path.c_str(), UnreadableLastTasksPath(path).c_str());
    return result;
}

std::string UnreadableLastTasksPath(const std::string& path)
{
    return path + ".unreadable";
}

} // namespace qv
