#include "StderrNotifier.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace qv::cli {

namespace {

const char* AnswerName(MsgAnswer answer)
{
    switch (answer) {
    case MsgAnswer::Ok:
        return "OK";
    case MsgAnswer::Cancel:
        return "Cancel";
    case MsgAnswer::Yes:
        return "Yes";
    case MsgAnswer::No:
        return "No";
    case MsgAnswer::Retry:
        return "Retry";
    }
    return "?";
}

} // namespace

MsgAnswer StderrNotifier::Show(std::string_view text, std::string_view caption, MsgButtons buttons, MsgIcon)
{
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    const MsgAnswer answer = SafeAnswer(buttons);
    std::string line = caption.empty() ? std::string(text) : std::string(caption) + ": " + std::string(text);
    if (buttons != MsgButtons::Ok)
        line += std::string(" [answered ") + AnswerName(answer) + "]";
    std::fprintf(stderr, "%s\n", line.c_str());
    return answer;
}

} // namespace qv::cli
