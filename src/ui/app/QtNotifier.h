#pragma once

#include "app/Notifier.h"

#include <QPointer>

#include <QWidget>

namespace qv {
struct SharedFlags;
}

namespace qv::ui {

// Message boxes of the window: a QMessageBox on the GUI thread, over the main window once there is one. A call
// from another thread shows the box on the GUI thread and waits for the answer. Once the program stops, every
// message gets the answer that changes nothing, so no thread waits on a box while the window closes.
class QtNotifier : public Notifier {
public:
    QtNotifier() = default;

    // The flags whose AppStopping ends the asking; set once the settings exist.
    void WatchStopping(const SharedFlags* flags) { flags_ = flags; }
    void SetParent(QWidget* parent) { parent_ = parent; }

    MsgAnswer Show(std::string_view text, std::string_view caption, MsgButtons buttons, MsgIcon icon) override;

private:
    MsgAnswer ShowHere(const QString& text, const QString& caption, MsgButtons buttons, MsgIcon icon);

    const SharedFlags* flags_ = nullptr;
    QPointer<QWidget> parent_;
};

} // namespace qv::ui
