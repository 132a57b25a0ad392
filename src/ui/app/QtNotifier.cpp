#include "ui/app/QtNotifier.h"

#include "app/SharedFlags.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>

namespace qv::ui {

namespace {

QMessageBox::StandardButtons ButtonsOf(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// A box closed without a button (Escape, the window's close button) answers what changes nothing.
MsgAnswer AnswerOf(int button, MsgButtons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return MsgAnswer::Ok;
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Retry:
        return MsgAnswer::Retry;
    default:
        return SafeAnswer(buttons);
    }
}

} // namespace

MsgAnswer QtNotifier::Show(std::string_view text, std::string_view caption, MsgButtons buttons, MsgIcon icon)
{
    if (flags_ && flags_->AppStopping != 0)
        return SafeAnswer(buttons);
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QString qcaption = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
    if (QThread::currentThread() == qApp->thread())
        return ShowHere(qtext, qcaption, buttons, icon);
    MsgAnswer answer = SafeAnswer(buttons);
    QMetaObject::invokeMethod(
        qApp, [&] { answer = ShowHere(qtext, qcaption, buttons, icon); }, Qt::BlockingQueuedConnection);
    return answer;
}

MsgAnswer QtNotifier::ShowHere(const QString& text, const QString& caption, MsgButtons buttons, MsgIcon icon)
{
    QMessageBox box(IconOf(icon), caption, text, ButtonsOf(buttons), parent_.data());
    return AnswerOf(box.exec(), buttons);
}

} // namespace qv::ui
