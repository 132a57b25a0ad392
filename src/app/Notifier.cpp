#include "app/Notifier.h"

namespace qv {

MsgAnswer SafeAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgAnswer::Ok;
    case MsgButtons::YesNo:
        return MsgAnswer::No;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel:
    case MsgButtons::RetryCancel:
        break;
    }
    return MsgAnswer::Cancel;
}

MsgAnswer RecordingNotifier::Show(std::string_view text, std::string_view caption, MsgButtons buttons, MsgIcon icon)
{
    const std::lock_guard lock(mutex_);
    shown_.push_back({std::string(text), std::string(caption), buttons, icon});
    if (answers_.empty())
        return SafeAnswer(buttons);
    const MsgAnswer answer = answers_.front();
    answers_.erase(answers_.begin());
    return answer;
}

void RecordingNotifier::QueueAnswer(MsgAnswer answer)
{
    const std::lock_guard lock(mutex_);
    answers_.push_back(answer);
}

std::vector<RecordingNotifier::Shown> RecordingNotifier::Messages() const
{
    const std::lock_guard lock(mutex_);
    return shown_;
}

std::vector<std::string> RecordingNotifier::Texts() const
{
    const std::lock_guard lock(mutex_);
    std::vector<std::string> texts;
    for (const Shown& s : shown_)
        texts.push_back(s.text);
    return texts;
}

void RecordingNotifier::Clear()
{
    const std::lock_guard lock(mutex_);
    shown_.clear();
    answers_.clear();
}

} // namespace qv
