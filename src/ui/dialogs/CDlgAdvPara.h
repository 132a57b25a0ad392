#pragma once

#include "ui/dialogs/FormControls.h"
#include "view/AdvancedParamsForm.h"

#include <QDialog>

namespace qv {

class Notifier;
class OutputCentre;

// "高级参数": the advanced parameter record of the host's copy; OK (257) stores it through the centre and
// queues its save on the machine. The main frame opens it only for a ready machine and the right password.
class CDlgAdvPara : public QDialog {
    Q_OBJECT

public:
    CDlgAdvPara(OutputCentre& centre, Notifier& notifier, QWidget* parent = nullptr);

private:
    void EnableGearRatio();
    void Accept();

    OutputCentre& centre_;
    Notifier& notifier_;
    int32_t language_;
    FormControls controls_;
    AdvancedParamsForm form_;
};

} // namespace qv
