#include "tasks/TaskFileResult.h"

#include <stdexcept>

namespace qv {

Msg MessageOf(TaskFileResult result)
{
    switch (result) {
    case TaskFileResult::OpenFailed:
        return Msg::OpenDocumentFailed;
    case TaskFileResult::SaveFailed:
        return Msg::SaveDocumentFailed;
    case TaskFileResult::EndOfFile:
        return Msg::ArchiveEndOfFile;
    case TaskFileResult::BadIndex:
        return Msg::ArchiveBadIndex;
    case TaskFileResult::UnexpectedObject:
        return Msg::ArchiveUnexpectedObject;
    case TaskFileResult::BadSchema:
        return Msg::ArchiveBadSchema;
    case TaskFileResult::Ok:
        break;
    }
    throw std::logic_error("a task file result without a message");
}

std::string TaskFileMessage(TaskFileResult result, std::string_view path, int32_t language)
{
    return FormatMessage(MessageOf(result), language, {path});
}

} // namespace qv
