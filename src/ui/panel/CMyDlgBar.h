#pragma once

#include "view/PanelRules.h"

#include <QWidget>

#include <map>
#include <memory>
#include <optional>
#include <string>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace qv {

namespace ui {
class QtNotifier;
}
class Notifier;
class OutputCentre;

// The control panel docked at the right of the main window: the machine's status line, the work and head
// buttons, the knife and air-pump switches and the jog cross. It never talks to the machine: every action is a
// code for the centre's command queue (or the centre's Start), decided by the panel rules from the link's
// state as it is at that moment.
class CMyDlgBar : public QWidget {
    Q_OBJECT

public:
    explicit CMyDlgBar(OutputCentre& centre, QWidget* parent = nullptr);
    // With the notifier that asks the cancel question (the tests' recording one).
    CMyDlgBar(OutputCentre& centre, Notifier& notifier, QWidget* parent = nullptr);
    ~CMyDlgBar() override;

    // The control with the panel's identifier (the image buttons, the check boxes, the status text).
    QWidget* Control(int control) const;

    // The enabling and the status line as the timers renew them.
    void RefreshEnabling();
    void RefreshStatusLine();

private:
    void Build();
    QGroupBox* BuildStatusGroup();
    QGroupBox* BuildControlGroup();
    QGroupBox* BuildHeadGroup();
    QPushButton* AddImageButton(int control, const char* icon, const QString& tip, QWidget* parent);
    QCheckBox* AddCheckBox(int control, const QString& label, QWidget* parent);

    void ButtonState(int control, bool pressed);
    void ButtonClicked(int control);
    void CheckBoxChanged(int control, bool checked);
    void Queue(std::optional<uint8_t> code);
    PanelFacts Facts() const;

    OutputCentre& centre_;
    std::unique_ptr<ui::QtNotifier> ownNotifier_;
    Notifier* notifier_; // ownNotifier_ unless the caller gave one
    std::map<int, QAbstractButton*> buttons_;
    QLabel* status_ = nullptr;
    std::string shown_;
    QTimer* enabling_ = nullptr;
    QTimer* statusTimer_ = nullptr;
};

} // namespace qv
