#pragma once

#include "app/MessageCatalog.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// How opening or saving a task file ended. Each failure has the document framework's message, with the file
// name in place of %1, so the window and the command line tell the operator the same thing.
enum class TaskFileResult {
    Ok,
    OpenFailed,       // the file cannot be read
    SaveFailed,       // the file cannot be written
    EndOfFile,        // the file ends inside a record
    BadIndex,         // an object reference that names nothing read so far
    UnexpectedObject, // a class other than the page and curve classes
    BadSchema,        // a page or curve class with a schema other than its own
};

// The catalogue entry of a failure; Ok has none and must not be asked for.
Msg MessageOf(TaskFileResult result);

// The operator's text for a failure on `path`, in the language given.
std::string TaskFileMessage(TaskFileResult result, std::string_view path, int32_t language);

} // namespace qv
