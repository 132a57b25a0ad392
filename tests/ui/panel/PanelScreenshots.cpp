// Renders the control panel, the machine settings dialog and the import report dialog into PNG files for the
// documentation:
//   quorvane-panel-shots OUTDIR LANGUAGE [TRANSLATIONS.qm]
// LANGUAGE 0 writes panel.png, machine-settings.png and import-report.png, 1 the same names with "-en".

#include "PanelFixture.h"

#include "ui/dialogs/CDlgImportReport.h"
#include "ui/dialogs/CDlgMacPara.h"
#include "ui/panel/CMyDlgBar.h"
#include "workflow/TestDrawings.h"

#include <QApplication>
#include <QPixmap>
#include <QTranslator>

#include <iostream>
#include <string>

namespace {

bool Save(QWidget& widget, const QString& path)
{
    widget.show();
    QApplication::processEvents();
    if (!widget.grab().save(path)) {
        std::cerr << "cannot write " << path.toStdString() << "\n";
        return false;
    }
    std::cout << path.toStdString() << "\n";
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: quorvane-panel-shots OUTDIR LANGUAGE [TRANSLATIONS.qm]\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    const int language = std::stoi(argv[2]) == 1 ? 1 : 0;
    QTranslator translator;
    if (language == 1 && argc > 3) {
        if (!translator.load(QString::fromLocal8Bit(argv[3]))) {
            std::cerr << "cannot read " << argv[3] << "\n";
            return 1;
        }
        QApplication::installTranslator(&translator);
    }
    const QString suffix = language == 1 ? QStringLiteral("-en") : QString();

    // A ready machine whose head stands somewhere on the table.
    qv::test::ScriptedCentre centre({"Language=" + std::to_string(language)});
    centre.Machine(true, qv::kStatusReady);
    centre.c->link.headPosition = qv::MachinePoint{52125, 31275};

    qv::CMyDlgBar panel(*centre.centre, centre.notifier);
    panel.RefreshEnabling();
    panel.RefreshStatusLine();
    panel.resize(panel.sizeHint().width() + 40, panel.sizeHint().height());
    qv::CDlgMacPara dialog(*centre.centre, centre.notifier);

    // The report of a test drawing with every kind of pen and a label, read as the File menu reads it.
    const qv::TestDrawing& drawing = qv::TestDrawings()[1];
    centre.c->engine.AddTestDrawing(drawing.command);
    const std::optional<qv::ImportReport> read = centre.centre->LastReport();
    if (!read) {
        std::cerr << "cannot read " << drawing.name << "\n";
        return 1;
    }
    qv::CDlgImportReport report(centre.c->doc.pages.front()->fileName, *read, language);

    const bool saved = Save(panel, outDir + QStringLiteral("/panel%1.png").arg(suffix)) &&
                       Save(dialog, outDir + QStringLiteral("/machine-settings%1.png").arg(suffix)) &&
                       Save(report, outDir + QStringLiteral("/import-report%1.png").arg(suffix));
    return saved ? 0 : 1;
}
