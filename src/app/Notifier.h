#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgIcon { None, Information, Question, Warning, Error };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

// How the core tells the operator something: a modal message box shown on behalf of whichever thread met the
// failure. The call returns when the operator has answered, so a background thread waits as it must.
// Implementations must be safe to call from any thread.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual MsgAnswer Show(std::string_view text, std::string_view caption, MsgButtons buttons, MsgIcon icon) = 0;
};

// Keeps every message it is shown and answers from a script, then with SafeAnswer once the script is used up.
// For tests and for tools that report messages after the fact.
class RecordingNotifier : public Notifier {
public:
    struct Shown {
        std::string text;
        std::string caption;
        MsgButtons buttons;
        MsgIcon icon;
    };

    MsgAnswer Show(std::string_view text, std::string_view caption, MsgButtons buttons, MsgIcon icon) override;

    void QueueAnswer(MsgAnswer answer);
    std::vector<Shown> Messages() const;
    std::vector<std::string> Texts() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<Shown> shown_;
    std::vector<MsgAnswer> answers_;
};

// The answer that changes nothing: what a headless caller takes when nobody can be asked.
MsgAnswer SafeAnswer(MsgButtons buttons);

} // namespace qv
