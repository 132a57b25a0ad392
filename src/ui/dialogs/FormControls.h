#pragma once

#include "view/FieldCheck.h"
#include "view/FormValues.h"

#include <QDialogButtonBox>
#include <QString>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace qv {

class Notifier;

// The edit fields, check boxes and drop-down lists of a dialog by control identifier: they show a form's
// FormValues and give back what the operator made of them, so the form's rules decide and the widgets only
// show.
class FormControls {
public:
    QLineEdit* AddEdit(int control, QWidget* parent);
    QCheckBox* AddCheck(int control, const QString& label, QWidget* parent);
    // An editable list selects an item only while its text is exactly that item's.
    QComboBox* AddList(int control, const std::vector<std::string>& items, bool editable, QWidget* parent);

    void Show(const FormValues& values);
    FormValues Values() const;

    QWidget* Control(int control) const;
    void EnableWhere(const std::function<bool(int control)>& enabled);

    // The framework's answer to a refused field: its message once, then the focus on the field with its text
    // selected.
    void Refuse(const FieldRefusal& refusal, Notifier& notifier) const;

private:
    std::map<int, QLineEdit*> edits_;
    std::map<int, QCheckBox*> checks_;
    std::map<int, QComboBox*> lists_;
};

// A button of the dialog's row, found by its control identifier.
QPushButton* AddDialogButton(QDialogButtonBox& box, const QString& text, QDialogButtonBox::ButtonRole role,
                             int control);

QString Utf8(const std::string& text);
QString Utf8(const char* text);

} // namespace qv
