#pragma once

#include "app/Notifier.h"

namespace qv {

class OwnerBridge;
struct SharedFlags;

// The notifier every part of the output centre is given. A message from any thread is shown by the front
// end's notifier on the owner thread while the calling thread waits for the answer, as a modal box shown for
// a background thread. Once the program stops (AppStopping) or the owner's bridge is closed, a message gets
// the answer that changes nothing at once, so no thread can wait on a box while the owner joins it.
class OwnerNotifier : public Notifier {
public:
    OwnerNotifier(Notifier& frontEnd, OwnerBridge& owner, const SharedFlags& flags);

    MsgAnswer Show(std::string_view text, std::string_view caption, MsgButtons buttons, MsgIcon icon) override;

private:
    Notifier& frontEnd_;
    OwnerBridge& owner_;
    const SharedFlags& flags_;
};

} // namespace qv
