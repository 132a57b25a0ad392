#pragma once

#include "ui/dialogs/FormControls.h"
#include "view/SoftSettingsForm.h"

#include <QDialog>

#include <string>

class QGroupBox;
class QLabel;

namespace qv {

class Notifier;
class OutputCentre;

// "软件设置": the options on their own copies until OK, which hands them to the centre (NeedPanelConfirm
// derived anew, the settings saved). A data directory chosen with "修改" is in force at once.
class CDlgSoftSet : public QDialog {
    Q_OBJECT

public:
    CDlgSoftSet(OutputCentre& centre, Notifier& notifier, QWidget* parent = nullptr);

    // The folder browser's answer for "修改": refused, asked about or accepted, and DataDir follows.
    void TakeDataDirFolder(const QString& folder);

private:
    QGroupBox* BuildGroup(int group);
    void ChangeDataDir();
    void ShowDataDir();
    void Accept();

    OutputCentre& centre_;
    Notifier& notifier_;
    int32_t language_;
    FormControls controls_;
    std::string dataDir_;
    QLabel* dataDirLink_ = nullptr;
};

} // namespace qv
