#pragma once

#include "app/Notifier.h"

#include <string>

namespace qv {

// A message box a rule asks the widget to show, its texts already in the operator's language.
struct DialogMessage {
    std::string text;
    std::string caption; // empty: the program's own caption
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;

    MsgAnswer ShowWith(Notifier& notifier) const { return notifier.Show(text, caption, buttons, icon); }

    bool operator==(const DialogMessage&) const = default;
};

} // namespace qv
