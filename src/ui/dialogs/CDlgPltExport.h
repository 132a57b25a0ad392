#pragma once

#include "ui/dialogs/FormControls.h"
#include "view/PltExportForm.h"

#include <QDialog>

namespace qv {

class Notifier;
class OutputCentre;

// "Plt导出": the scales of the export in percent, 100 and 100 whenever it opens; OK keeps them in per mille.
class CDlgPltExport : public QDialog {
    Q_OBJECT

public:
    CDlgPltExport(int32_t language, Notifier& notifier, QWidget* parent = nullptr);

    PltExportScale Scale() const { return scale_; }

private:
    void Accept();

    Notifier& notifier_;
    int32_t language_;
    FormControls controls_;
    PltExportScale scale_;
};

// The File menu's export of the task list: the scales, the file (asked before one is overwritten, ".plt"
// added by the rule), then the document's ExportPlt; a file that cannot be written is reported.
void ExportTaskListToPlt(OutputCentre& centre, Notifier& notifier, QWidget* parent);

} // namespace qv
