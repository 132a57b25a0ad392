#include "ui/dialogs/CDlgAdvPara.h"

#include "ui/dialogs/ScreenshotButton.h"
#include "workflow/OutputCentre.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

CDlgAdvPara::CDlgAdvPara(OutputCentre& centre, Notifier& notifier, QWidget* parent)
    : QDialog(parent), centre_(centre), notifier_(notifier), language_(centre.Settings().Language),
      form_(LoadAdvancedParamsForm(centre.Params().advanced))
{
    setWindowTitle(Utf8(kAdvancedParamsTitle.Of(language_)));
    setObjectName(QStringLiteral("CDlgAdvPara"));

    auto* group = new QGroupBox(Utf8(kAdvancedParamsGroup.Of(language_)));
    auto* fields = new QFormLayout(group);
    for (const RecordField& field : AdvancedParamsFields())
        fields->addRow(new QLabel(Utf8(field.label.Of(language_)), group), controls_.AddEdit(field.control, group));

    auto* buttons = new QDialogButtonBox;
    QPushButton* gear = AddDialogButton(*buttons, tr("修改齿轮比"), QDialogButtonBox::ActionRole, kAdvGearRatio);
    QPushButton* screenshot = AddDialogButton(*buttons, tr("截图保存"), QDialogButtonBox::ActionRole, kAdvScreenshot);
    QPushButton* ok = AddDialogButton(*buttons, tr("确定"), QDialogButtonBox::AcceptRole, kAdvOk);
    QPushButton* cancel = AddDialogButton(*buttons, tr("取消"), QDialogButtonBox::RejectRole, kAdvCancel);
    ok->setDefault(true);
    connect(gear, &QPushButton::clicked, this, &CDlgAdvPara::EnableGearRatio);
    connect(ok, &QPushButton::clicked, this, &CDlgAdvPara::Accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(screenshot, &QPushButton::clicked, this,
            [this] { SaveDialogScreenshotLater(*this, ScreenshotDialog::AdvancedParams, language_, notifier_); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);

    controls_.Show(form_.values);
    controls_.EnableWhere([this](int control) { return AdvancedParamsControlEnabled(control, form_); });
}

void CDlgAdvPara::EnableGearRatio()
{
    form_.gearRatioEnabled = true;
    controls_.EnableWhere([this](int control) { return AdvancedParamsControlEnabled(control, form_); });
}

void CDlgAdvPara::Accept()
{
    form_.values = controls_.Values();
    MachineParams params = centre_.Params();
    auto checked = CheckAdvancedParamsForm(form_, params.advanced, language_);
    if (const auto* refusal = std::get_if<FieldRefusal>(&checked)) {
        controls_.Refuse(*refusal, notifier_);
        return;
    }
    params.advanced = std::get<AdvancedParams>(checked);
    centre_.ApplyMachineParams(params, kAdvancedParamsSaveCode);
    accept();
}

} // namespace qv
