#include "TaskRows.h"

#include "tasks/TaskListRow.h"

#include <cstdio>

namespace qv::cli {

void PrintTaskRows(const CQuorvaneDoc& doc, int32_t language)
{
    for (std::size_t i = 0; i < doc.pages.size(); ++i) {
        const TaskListRow row = MakeTaskListRow(*doc.pages[i], i, language);
        std::printf("%s  %s  %s  %s  %s\n", row.number.c_str(), row.state.c_str(), row.size.c_str(), row.time.c_str(),
                    row.name.c_str());
    }
}

} // namespace qv::cli
