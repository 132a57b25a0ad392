// quorvane-manual SOURCE OUTPUT.pdf --images DIR --font FONT
// Sets one parameter manual from its markup source (ManualMarkup.h) as an A4 PDF, with the pictures of the
// dialogs found in DIR and FONT (a font with the Chinese characters) as the text font. Runs without a display
// (QT_QPA_PLATFORM=offscreen).
#include "ManualMarkup.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>

#include <cstdio>

namespace {

// The page's text width when the document is laid out for print (96 dots per inch, A4, 18 mm margins).
constexpr int kTextWidthPx = 600;

int Usage()
{
    std::fputs("usage: quorvane-manual SOURCE OUTPUT.pdf --images DIR --font FONT\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString source, output, images, fontFile;
    for (int i = 1; i < args.size(); ++i) {
        if ((args[i] == "--images" || args[i] == "--font") && i + 1 < args.size())
            (args[i] == "--images" ? images : fontFile) = args[++i];
        else if (source.isEmpty())
            source = args[i];
        else if (output.isEmpty())
            output = args[i];
        else
            return Usage();
    }
    if (source.isEmpty() || output.isEmpty() || fontFile.isEmpty())
        return Usage();

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "quorvane-manual: cannot read %s\n", qPrintable(source));
        return 1;
    }
    const QByteArray markup = in.readAll();
    const int fontId = QFontDatabase::addApplicationFont(fontFile);
    if (fontId < 0) {
        std::fprintf(stderr, "quorvane-manual: cannot load the font %s\n", qPrintable(fontFile));
        return 1;
    }
    const QString family = QFontDatabase::applicationFontFamilies(fontId).value(0);

    QTextDocument doc;
    doc.setDefaultFont(QFont(family, 10));
    doc.setDefaultStyleSheet("h1 { font-size: 20pt; color: #1f5fa8; } h2 { font-size: 14pt; color: #1f5fa8; } "
                             "h3 { font-size: 12pt; color: #333333; } h4 { font-size: 10pt; } th { background-color: "
                             "#dde6f2; } code { font-family: "
                             "monospace; }");
    const std::string html = qv::manual::MarkupToHtml(
        std::string_view(markup.constData(), static_cast<std::size_t>(markup.size())), [&](const std::string& file) {
            const QString path = images + "/" + QString::fromStdString(file);
            QImage image;
            if (images.isEmpty() || !QFileInfo::exists(path) || !image.load(path))
                return 0;
            doc.addResource(QTextDocument::ImageResource, QUrl(QString::fromStdString(file)), image);
            return std::min(image.width(), kTextWidthPx);
        });
    doc.setHtml(QString::fromStdString(html));

    QPdfWriter writer(output);
    const QString title = QString::fromUtf8(markup).section('\n', 0, 0).remove(QRegularExpression("^#+\\s*"));
    writer.setTitle(title);
    writer.setCreator("Quorvane");
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                                     QPageLayout::Millimeter));
    doc.print(&writer);
    return 0;
}
