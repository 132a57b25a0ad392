#include "ui/dialogs/CDlgImportReport.h"

#include "app/MessageCatalog.h"
#include "ui/dialogs/FormControls.h"
#include "view/ImportReportText.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

constexpr int kClose = 1;
// As wide as the widest row up to this; longer lists of instructions wrap.
constexpr int kMaxTextWidth = 900;

} // namespace

CDlgImportReport::CDlgImportReport(const std::string& fileName, const ImportReport& report, int32_t language,
                                   QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(Utf8(std::string(MessageText(Msg::ReportTitle, language))));
    setObjectName(QStringLiteral("CDlgImportReport"));

    const QString body = Utf8(ImportReportBlock(fileName, report, language)).trimmed();
    auto* text = new QLabel(body, this);
    text->setObjectName(QStringLiteral("report"));
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);
    // The report's rows are indented under its head line, which a fixed-pitch font keeps visible.
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    int widest = 0;
    for (const QString& row : body.split(QLatin1Char('\n')))
        widest = std::max(widest, text->fontMetrics().horizontalAdvance(row));
    text->setMinimumWidth(std::min(widest + 2 * text->fontMetrics().averageCharWidth(), kMaxTextWidth));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto* buttons = new QDialogButtonBox;
    QPushButton* close = AddDialogButton(*buttons, tr("关闭"), QDialogButtonBox::RejectRole, kClose);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
}

} // namespace qv
