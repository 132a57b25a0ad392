#include "ui/dialogs/CDlgMacPara.h"

#include "ui/dialogs/ScreenshotButton.h"
#include "workflow/OutputCentre.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

// The controls of each group from top to bottom; 608 and 609 share the stop position's row.
const std::vector<int> kRows[] = {
    {kMacCartridgeType, kMacHead1, kMacBidirPrinting, 615, 616, 617, 614},
    {604, 605, 606, 607, 600, 601, 602, 603, kMacSameKnife},
    {610, 619, 612, 613, 620, kMacAddress, 621, 622},
    {kMacStopMode, 608},
};

const RecordField* Field(int control)
{
    const auto fields = MachineSettingsFields();
    const auto it =
        std::find_if(fields.begin(), fields.end(), [&](const RecordField& f) { return f.control == control; });
    return it == fields.end() ? nullptr : &*it;
}

const ChoiceField& Choice(int control)
{
    const auto choices = MachineSettingsChoices();
    return *std::find_if(choices.begin(), choices.end(), [&](const ChoiceField& c) { return c.control == control; });
}

} // namespace

CDlgMacPara::CDlgMacPara(OutputCentre& centre, Notifier& notifier, QWidget* parent)
    : QDialog(parent), centre_(centre), notifier_(notifier), language_(centre.Settings().Language),
      connected_(centre.Link().Connected.load())
{
    setWindowTitle(Utf8(kMachineSettingsTitle.Of(language_)));
    setObjectName(QStringLiteral("CDlgMacPara"));

    auto* grid = new QGridLayout;
    grid->addWidget(BuildGroup(kMacGroupInkjet), 0, 0);
    grid->addWidget(BuildGroup(kMacGroupEndOfWork), 1, 0);
    grid->addWidget(BuildGroup(kMacGroupCutting), 0, 1, 2, 1);
    grid->addWidget(BuildGroup(kMacGroupOther), 0, 2, 2, 1);
    grid->setRowStretch(1, 1);

    auto* buttons = new QDialogButtonBox;
    QPushButton* screenshot = AddDialogButton(*buttons, tr("截图保存"), QDialogButtonBox::ActionRole, kMacScreenshot);
    QPushButton* ok = AddDialogButton(*buttons, tr("确定"), QDialogButtonBox::AcceptRole, kMacOk);
    QPushButton* cancel = AddDialogButton(*buttons, tr("取消"), QDialogButtonBox::RejectRole, kMacCancel);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDlgMacPara::Accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(screenshot, &QPushButton::clicked, this,
            [this] { SaveDialogScreenshotLater(*this, ScreenshotDialog::MachineSettings, language_, notifier_); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    const MachineSettingsForm form = LoadMachineSettingsForm(centre_.Params().settings);
    controls_.Show(form.values);
    for (std::size_t i = 0; i < address_.size(); ++i)
        address_[i]->setValue(form.address[i]);
    controls_.EnableWhere([this](int control) { return MachineSettingsControlEnabled(control, connected_); });
}

QGroupBox* CDlgMacPara::BuildGroup(int group)
{
    auto* box = new QGroupBox(Utf8(kMachineSettingsGroups[static_cast<std::size_t>(group)].Of(language_)));
    box->setLayout(new QFormLayout);
    for (const int control : kRows[group])
        AddControl(control, *box);
    return box;
}

void CDlgMacPara::AddControl(int control, QGroupBox& box)
{
    auto& form = static_cast<QFormLayout&>(*box.layout());
    if (control == 608) {
        auto* row = new QHBoxLayout;
        row->addWidget(controls_.AddEdit(608, &box));
        row->addWidget(new QLabel(Utf8(Field(609)->label.Of(language_)), &box));
        row->addWidget(controls_.AddEdit(609, &box));
        row->addWidget(new QLabel(Utf8(kMachineSettingsStopYUnit.Of(language_)), &box));
        form.addRow(Utf8(Field(608)->label.Of(language_)), row);
        return;
    }
    if (const RecordField* field = Field(control)) {
        form.addRow(Utf8(field->label.Of(language_)), controls_.AddEdit(control, &box));
        return;
    }
    const QString label = Utf8(Choice(control).label.Of(language_));
    switch (control) {
    case kMacCartridgeType:
    case kMacStopMode:
        form.addRow(label, controls_.AddList(control, MachineSettingsListItems(control, language_), false, &box));
        return;
    case kMacHead1: {
        auto* row = new QHBoxLayout;
        for (const int head : {kMacHead1, kMacHead2}) {
            QCheckBox* check = controls_.AddCheck(head, Utf8(Choice(head).label.Of(language_)), &box);
            connect(check, &QCheckBox::clicked, this, [this, head] { HeadClicked(head); });
            row->addWidget(check);
        }
        form.addRow(row);
        return;
    }
    case kMacAddress: {
        auto* row = new QHBoxLayout;
        for (std::size_t i = 0; i < address_.size(); ++i) {
            address_[i] = new QSpinBox(&box);
            address_[i]->setRange(0, 255);
            address_[i]->setButtonSymbols(QAbstractSpinBox::NoButtons);
            address_[i]->setObjectName(QStringLiteral("address%1").arg(i));
            row->addWidget(address_[i]);
            if (i + 1 < address_.size())
                row->addWidget(new QLabel(QStringLiteral("."), &box));
        }
        row->addStretch(1);
        form.addRow(new QLabel(label, &box));
        form.addRow(row);
        return;
    }
    default:
        form.addRow(controls_.AddCheck(control, label, &box));
        return;
    }
}

void CDlgMacPara::HeadClicked(int control)
{
    FormValues values = controls_.Values();
    HeadBoxToggled(values, control);
    FormValues heads;
    heads.checks = {{kMacHead1, values.checks.at(kMacHead1)}, {kMacHead2, values.checks.at(kMacHead2)}};
    controls_.Show(heads);
}

void CDlgMacPara::Accept()
{
    MachineSettingsForm form{controls_.Values(), {}};
    for (std::size_t i = 0; i < address_.size(); ++i)
        form.address[i] = static_cast<uint8_t>(address_[i]->value());
    MachineParams params = centre_.Params();
    auto checked = CheckMachineSettingsForm(form, params.settings, language_);
    if (const auto* refusal = std::get_if<FieldRefusal>(&checked)) {
        controls_.Refuse(*refusal, notifier_);
        return;
    }
    params.settings = std::get<MachineSettings>(checked);
    const MachineSettingsSave save = MachineSettingsSaveAfterOk(centre_.Link().Connected.load());
    centre_.ApplyMachineParams(params, save.code.value_or(0));
    if (save.notice)
        notifier_.Show(MessageText(*save.notice, language_), "", MsgButtons::Ok, MsgIcon::Warning);
    accept();
}

} // namespace qv
