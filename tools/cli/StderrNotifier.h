#pragma once

#include "app/Notifier.h"

namespace qv::cli {

// Message boxes of a program without a window: the text goes to stderr, and a question takes the answer that
// changes nothing, saying so.
class StderrNotifier : public Notifier {
public:
    MsgAnswer Show(std::string_view text, std::string_view caption, MsgButtons buttons, MsgIcon icon) override;
};

} // namespace qv::cli
