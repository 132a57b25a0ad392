#pragma once

#include "ui/dialogs/FormControls.h"
#include "view/MachineParamsForm.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QSpinBox;

namespace qv {

class Notifier;
class OutputCentre;

// "机器设置": the machine settings record of the host's copy. OK stores it through the centre, which queues the
// save on a connected machine and keeps the machine address in the settings file; offline only the address
// can be changed.
class CDlgMacPara : public QDialog {
    Q_OBJECT

public:
    CDlgMacPara(OutputCentre& centre, Notifier& notifier, QWidget* parent = nullptr);

private:
    QGroupBox* BuildGroup(int group);
    void AddControl(int control, QGroupBox& box);
    void HeadClicked(int control);
    void Accept();

    OutputCentre& centre_;
    Notifier& notifier_;
    int32_t language_;
    bool connected_;
    FormControls controls_;
    std::array<QSpinBox*, 4> address_{};
};

} // namespace qv
