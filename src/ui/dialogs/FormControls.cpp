#include "ui/dialogs/FormControls.h"

#include "app/Notifier.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace qv {

QString Utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

QString Utf8(const char* text)
{
    return QString::fromUtf8(text);
}

QPushButton* AddDialogButton(QDialogButtonBox& box, const QString& text, QDialogButtonBox::ButtonRole role, int control)
{
    QPushButton* button = box.addButton(text, role);
    button->setObjectName(QStringLiteral("button%1").arg(control));
    return button;
}

QLineEdit* FormControls::AddEdit(int control, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("field%1").arg(control));
    // Room for the widest value of any field, a signed 16-bit number or a pulse count with decimals.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-000000.00")));
    edits_[control] = edit;
    return edit;
}

QCheckBox* FormControls::AddCheck(int control, const QString& label, QWidget* parent)
{
    auto* box = new QCheckBox(label, parent);
    box->setObjectName(QStringLiteral("check%1").arg(control));
    checks_[control] = box;
    return box;
}

QComboBox* FormControls::AddList(int control, const std::vector<std::string>& items, bool editable, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QStringLiteral("list%1").arg(control));
    list->setEditable(editable);
    for (const std::string& item : items)
        list->addItem(Utf8(item));
    lists_[control] = list;
    return list;
}

void FormControls::Show(const FormValues& values)
{
    for (const auto& [control, text] : values.texts) {
        if (const auto it = edits_.find(control); it != edits_.end())
            it->second->setText(Utf8(text));
    }
    for (const auto& [control, checked] : values.checks) {
        if (const auto it = checks_.find(control); it != checks_.end())
            it->second->setChecked(checked);
    }
    for (const auto& [control, index] : values.selections) {
        if (const auto it = lists_.find(control); it != lists_.end()) {
            it->second->setCurrentIndex(index);
            if (index < 0 && it->second->isEditable())
                it->second->setEditText(QString());
        }
    }
}

FormValues FormControls::Values() const
{
    FormValues values;
    for (const auto& [control, edit] : edits_)
        values.texts[control] = edit->text().toStdString();
    for (const auto& [control, box] : checks_)
        values.checks[control] = box->isChecked();
    for (const auto& [control, list] : lists_) {
        values.selections[control] =
            list->isEditable() ? list->findText(list->currentText(), Qt::MatchExactly) : list->currentIndex();
    }
    return values;
}

QWidget* FormControls::Control(int control) const
{
    if (const auto it = edits_.find(control); it != edits_.end())
        return it->second;
    if (const auto it = checks_.find(control); it != checks_.end())
        return it->second;
    if (const auto it = lists_.find(control); it != lists_.end())
        return it->second;
    return nullptr;
}

void FormControls::EnableWhere(const std::function<bool(int control)>& enabled)
{
    for (const auto& [control, edit] : edits_)
        edit->setEnabled(enabled(control));
    for (const auto& [control, box] : checks_)
        box->setEnabled(enabled(control));
    for (const auto& [control, list] : lists_)
        list->setEnabled(enabled(control));
}

void FormControls::Refuse(const FieldRefusal& refusal, Notifier& notifier) const
{
    notifier.Show(refusal.message, "", MsgButtons::Ok, MsgIcon::Warning);
    if (QWidget* field = Control(refusal.control)) {
        field->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->selectAll();
    }
}

} // namespace qv
