#include "ui/dialogs/CDlgPwdInput.h"

#include "view/AdvancedParamsForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

CDlgPwdInput::CDlgPwdInput(int32_t language, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(Utf8(kPasswordTitle.Of(language)));
    setObjectName(QStringLiteral("CDlgPwdInput"));
    QLineEdit* field = controls_.AddEdit(kPasswordField, this);
    field->setEchoMode(QLineEdit::Password);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = AddDialogButton(*buttons, tr("确定"), QDialogButtonBox::AcceptRole, kPasswordOk);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Utf8(kPasswordLabel.Of(language)), this));
    layout->addWidget(field);
    layout->addWidget(buttons);
}

std::string CDlgPwdInput::Text() const
{
    return controls_.Values().texts.at(kPasswordField);
}

} // namespace qv
