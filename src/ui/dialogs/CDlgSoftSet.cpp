#include "ui/dialogs/CDlgSoftSet.h"

#include "app/MessageCatalog.h"
#include "view/DataDirChoice.h"
#include "workflow/OutputCentre.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

constexpr int kNote = -1; // the static note under the half-cut pen

// The controls of each group from top to bottom.
const std::vector<int> kRows[] = {
    {kSoftPltUnit, 525, 526, kNote, 213, 214, 215, 207, 216, 217, 1030},
    {204, 205, 520, 521},
    {624, 611, 1018, 625},
    {530, 531, 532, 533, 221, 218, 219, 1017},
};

const SoftField* Field(int control)
{
    const auto fields = SoftSettingsFields();
    const auto it =
        std::find_if(fields.begin(), fields.end(), [&](const SoftField& f) { return f.control == control; });
    return it == fields.end() ? nullptr : &*it;
}

const SoftCheck* Check(int control)
{
    const auto checks = SoftSettingsChecks();
    const auto it =
        std::find_if(checks.begin(), checks.end(), [&](const SoftCheck& c) { return c.control == control; });
    return it == checks.end() ? nullptr : &*it;
}

SoftSettings CurrentSettings(OutputCentre& centre)
{
    SoftSettings settings;
    static_cast<AppOptions&>(settings) = centre.Settings().Options();
    settings.DispSizeX = centre.Display().DispSizeX;
    settings.DispSizeY = centre.Display().DispSizeY;
    return settings;
}

} // namespace

CDlgSoftSet::CDlgSoftSet(OutputCentre& centre, Notifier& notifier, QWidget* parent)
    : QDialog(parent), centre_(centre), notifier_(notifier), language_(centre.Settings().Language),
      dataDir_(centre.Settings().DataDir)
{
    setWindowTitle(Utf8(kSoftSettingsTitle.Of(language_)));
    setObjectName(QStringLiteral("CDlgSoftSet"));

    auto* dirGroup = new QGroupBox(Utf8(kSoftSettingsGroups[kSoftGroupDataDir].Of(language_)));
    auto* dirRow = new QHBoxLayout(dirGroup);
    QPushButton* change = new QPushButton(Utf8(kSoftChangeDataDirLabel.Of(language_)), dirGroup);
    change->setObjectName(QStringLiteral("button%1").arg(kSoftChangeDataDir));
    dataDirLink_ = new QLabel(dirGroup);
    dataDirLink_->setObjectName(QStringLiteral("link%1").arg(kSoftDataDirLink));
    dataDirLink_->setOpenExternalLinks(true);
    dirRow->addWidget(change);
    dirRow->addWidget(dataDirLink_, 1);
    connect(change, &QPushButton::clicked, this, &CDlgSoftSet::ChangeDataDir);

    auto* grid = new QGridLayout;
    grid->addWidget(BuildGroup(kSoftGroupDrawing), 0, 0);
    grid->addWidget(BuildGroup(kSoftGroupDisplay), 1, 0);
    grid->addWidget(BuildGroup(kSoftGroupCutting), 0, 1);
    grid->addWidget(BuildGroup(kSoftGroupOther), 1, 1);
    grid->addWidget(dirGroup, 2, 0, 1, 2);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = AddDialogButton(*buttons, tr("确定"), QDialogButtonBox::AcceptRole, kSoftOk);
    QPushButton* cancel = AddDialogButton(*buttons, tr("取消"), QDialogButtonBox::RejectRole, kSoftCancel);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDlgSoftSet::Accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    controls_.Show(LoadSoftSettingsForm(CurrentSettings(centre_)));
    ShowDataDir();
}

QGroupBox* CDlgSoftSet::BuildGroup(int group)
{
    auto* box = new QGroupBox(Utf8(kSoftSettingsGroups[static_cast<std::size_t>(group)].Of(language_)));
    auto* form = new QFormLayout(box);
    for (const int control : kRows[group]) {
        if (control == kNote) {
            auto* note = new QLabel(Utf8(kSoftNoteText.Of(language_)), box);
            note->setWordWrap(true);
            form->addRow(note);
        } else if (control == kSoftPltUnit) {
            form->addRow(Utf8(kSoftPltUnitLabel.Of(language_)),
                         controls_.AddList(control, SoftSettingsListItems(language_), true, box));
        } else if (const SoftField* field = Field(control)) {
            form->addRow(Utf8(field->label.Of(language_)), controls_.AddEdit(control, box));
        } else if (const SoftCheck* check = Check(control)) {
            form->addRow(controls_.AddCheck(control, Utf8(check->label.Of(language_)), box));
        }
    }
    return box;
}

void CDlgSoftSet::ChangeDataDir()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, Utf8(std::string(MessageText(Msg::DataDirBrowseTitle, language_))), Utf8(dataDir_));
    if (!folder.isEmpty())
        TakeDataDirFolder(folder);
}

void CDlgSoftSet::TakeDataDirFolder(const QString& folder)
{
    const DataDirChoice choice = ChooseDataDir(folder.toStdString(), centre_.Settings().ExeDir);
    const std::string settled = SettleDataDirChoice(choice, dataDir_, notifier_);
    // A refused or cancelled choice keeps what was in force, a data directory still missing included.
    if (settled == dataDir_)
        return;
    dataDir_ = settled;
    centre_.SetDataDir(dataDir_);
    ShowDataDir();
}

void CDlgSoftSet::ShowDataDir()
{
    const QString path = Utf8(dataDir_);
    dataDirLink_->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                              .arg(QUrl::fromLocalFile(path).toString().toHtmlEscaped(), path.toHtmlEscaped()));
}

void CDlgSoftSet::Accept()
{
    auto checked = CheckSoftSettingsForm(controls_.Values(), CurrentSettings(centre_), language_);
    if (const auto* refusal = std::get_if<FieldRefusal>(&checked)) {
        controls_.Refuse(*refusal, notifier_);
        return;
    }
    const SoftSettings& settings = std::get<SoftSettings>(checked);
    centre_.Display().DispSizeX = settings.DispSizeX;
    centre_.Display().DispSizeY = settings.DispSizeY;
    centre_.ApplyOptions(settings);
    accept();
}

} // namespace qv
