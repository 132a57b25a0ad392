#pragma once

#include "view/DialogScreenshot.h"

#include <cstdint>

class QWidget;

namespace qv {

class Notifier;

// "截图保存" of the parameter dialogs: after kScreenshotDelay, so the pressed button is drawn again, the
// dialog's picture goes to the desktop folder under the dialog's name for the local time, and the operator is
// told where it went (or that it could not be written).
void SaveDialogScreenshotLater(QWidget& dialog, ScreenshotDialog which, int32_t language, Notifier& notifier);

// What the dialog looks like now, as the screenshot takes it.
ScreenPixels DialogPixels(QWidget& dialog);

} // namespace qv
