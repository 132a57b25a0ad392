#include "workflow/OwnerNotifier.h"

#include "app/SharedFlags.h"
#include "workflow/OwnerBridge.h"

#include <memory>
#include <string>

namespace qv {

OwnerNotifier::OwnerNotifier(Notifier& frontEnd, OwnerBridge& owner, const SharedFlags& flags)
    : frontEnd_(frontEnd), owner_(owner), flags_(flags)
{
}

MsgAnswer OwnerNotifier::Show(std::string_view text, std::string_view caption, MsgButtons buttons, MsgIcon icon)
{
    if (flags_.AppStopping != 0)
        return SafeAnswer(buttons);
    if (owner_.OnOwnerThread())
        return frontEnd_.Show(text, caption, buttons, icon);
    // The box may still be open when the caller is let go at close: what it answers then goes nowhere.
    struct Box {
        std::string text;
        std::string caption;
        MsgAnswer answer;
    };
    auto box = std::make_shared<Box>(Box{std::string(text), std::string(caption), SafeAnswer(buttons)});
    Notifier& frontEnd = frontEnd_;
    if (!owner_.Call(
            [&frontEnd, box, buttons, icon] { box->answer = frontEnd.Show(box->text, box->caption, buttons, icon); }))
        return SafeAnswer(buttons);
    return box->answer;
}

} // namespace qv
