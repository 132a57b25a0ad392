#pragma once

#include "ui/dialogs/FormControls.h"

#include <QDialog>

#include <string>

namespace qv {

// "输入": the password that guards the advanced parameters, typed hidden.
class CDlgPwdInput : public QDialog {
    Q_OBJECT

public:
    explicit CDlgPwdInput(int32_t language, QWidget* parent = nullptr);
    std::string Text() const;

private:
    FormControls controls_;
};

} // namespace qv
