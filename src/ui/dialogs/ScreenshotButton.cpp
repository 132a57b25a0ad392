#include "ui/dialogs/ScreenshotButton.h"

#include "app/Notifier.h"

#include <QDateTime>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

namespace qv {

ScreenPixels DialogPixels(QWidget& dialog)
{
    const QImage image = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ScreenPixels pixels;
    pixels.width = image.width();
    pixels.height = image.height();
    pixels.pixels.reserve(static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.height));
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        pixels.pixels.insert(pixels.pixels.end(), row, row + image.width());
    }
    return pixels;
}

void SaveDialogScreenshotLater(QWidget& dialog, ScreenshotDialog which, int32_t language, Notifier& notifier)
{
    QPointer<QWidget> target(&dialog);
    QTimer::singleShot(kScreenshotDelay, &dialog, [target, which, language, &notifier] {
        if (!target)
            return;
        const QDateTime now = QDateTime::currentDateTime();
        const LocalTime time{now.date().year(), now.date().month(),  now.date().day(),
                             now.time().hour(), now.time().minute(), now.time().second()};
        const std::string desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation).toStdString();
        const std::string path = ScreenshotPath(desktop, which, time, language);
        SaveScreenshot(path, DialogPixels(*target), language).ShowWith(notifier);
    });
}

} // namespace qv
