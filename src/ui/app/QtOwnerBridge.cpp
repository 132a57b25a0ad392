#include "ui/app/QtOwnerBridge.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace qv::ui {

QtOwnerBridge::QtOwnerBridge(QObject* owner) : owner_(owner) {}

bool QtOwnerBridge::OnOwnerThread() const
{
    return owner_ && QThread::currentThread() == owner_->thread();
}

void QtOwnerBridge::Post(std::function<void()> work)
{
    // Gone at the end of the program: the work is dropped and its sender let go by the closed bridge.
    if (owner_)
        QMetaObject::invokeMethod(owner_.data(), std::move(work), Qt::QueuedConnection);
}

} // namespace qv::ui
