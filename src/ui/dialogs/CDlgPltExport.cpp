#include "ui/dialogs/CDlgPltExport.h"

#include "app/MessageCatalog.h"
#include "tasks/PltExport.h"
#include "workflow/OutputCentre.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

CDlgPltExport::CDlgPltExport(int32_t language, Notifier& notifier, QWidget* parent)
    : QDialog(parent), notifier_(notifier), language_(language)
{
    setWindowTitle(Utf8(kPltExportTitle.Of(language_)));
    setObjectName(QStringLiteral("CDlgPltExport"));

    auto* fields = new QFormLayout;
    for (const int field : {kPltExportScaleX, kPltExportScaleY}) {
        QLineEdit* edit = controls_.AddEdit(field, this);
        edit->setText(Utf8(std::string(kPltExportInitialText)));
        fields->addRow(Utf8(kPltExportLabels[static_cast<std::size_t>(field)].Of(language_)), edit);
    }

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = AddDialogButton(*buttons, tr("确定"), QDialogButtonBox::AcceptRole, 1);
    QPushButton* cancel = AddDialogButton(*buttons, tr("取消"), QDialogButtonBox::RejectRole, 2);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDlgPltExport::Accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

void CDlgPltExport::Accept()
{
    const FormValues values = controls_.Values();
    auto checked = CheckPltExportForm(values.texts.at(kPltExportScaleX), values.texts.at(kPltExportScaleY), language_);
    if (const auto* refusal = std::get_if<FieldRefusal>(&checked)) {
        controls_.Refuse(*refusal, notifier_);
        return;
    }
    scale_ = std::get<PltExportScale>(checked);
    accept();
}

void ExportTaskListToPlt(OutputCentre& centre, Notifier& notifier, QWidget* parent)
{
    const int32_t language = centre.Settings().Language;
    CDlgPltExport dialog(language, notifier, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString filters;
    for (const auto& [name, pattern] : kPltExportFilters)
        filters += (filters.isEmpty() ? QString() : QStringLiteral(";;")) + Utf8(std::string(name));
    const QString chosen =
        QFileDialog::getSaveFileName(parent, QString(), QString(), filters, nullptr, QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return;
    const std::string path = PltExportFileName(chosen.toStdString());
    const PltExportScale scale = dialog.Scale();
    const PltExportOptions options{scale.x, scale.y, centre.Settings().HCPenNumber};
    if (!centre.TaskList().ExportPlt(path, options))
        notifier.Show(FormatMessage(Msg::PltExportFailed, language, {path}), "", MsgButtons::Ok, MsgIcon::Warning);
}

} // namespace qv
