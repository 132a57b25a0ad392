#pragma once

#include "workflow/OwnerBridge.h"

#include <QPointer>

class QObject;

namespace qv::ui {

// The owner thread of the window is the GUI thread: a background thread's message is queued to the Qt event
// loop, and the sender waits in OwnerBridge until the GUI thread has handled it, as a blocking-queued call
// waits. The wait is the bridge's own, not Qt::BlockingQueuedConnection's, so that closing the bridge lets
// every sender go while the GUI thread joins their threads.
class QtOwnerBridge : public OwnerBridge {
public:
    // `owner` lives on the GUI thread for as long as the bridge is used.
    explicit QtOwnerBridge(QObject* owner);

    bool OnOwnerThread() const override;

protected:
    void Post(std::function<void()> work) override;

private:
    QPointer<QObject> owner_;
};

} // namespace qv::ui
