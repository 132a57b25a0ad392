#include "PanelFixture.h"

#include "ui/dialogs/CDlgAdvPara.h"
#include "ui/dialogs/CDlgImportReport.h"
#include "ui/dialogs/CDlgMacPara.h"
#include "ui/dialogs/CDlgPltExport.h"
#include "ui/dialogs/CDlgPwdInput.h"
#include "ui/dialogs/CDlgSoftSet.h"
#include "ui/mainframe/CMainFrame.h"
#include "ui/panel/CMyDlgBar.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTranslator>

#include <set>

namespace qv::test {
namespace {

bool HasCjk(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x303F) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

// Texts that stay in one language by design: the language menu names each language in its own words.
const std::set<QString> kKeptAsTheyAre = {QStringLiteral("简体中文")};

// Every caption a widget shows, its tooltips and prompts, its menus' actions and its list headers.
void Collect(const QWidget& root, std::vector<std::pair<QString, QString>>& found)
{
    const auto add = [&](const QObject& owner, const QString& text) {
        if (HasCjk(text) && !kKeptAsTheyAre.contains(text))
            found.emplace_back(owner.metaObject()->className() + QStringLiteral(" ") + owner.objectName(), text);
    };
    QList<const QWidget*> widgets = {&root};
    for (const QWidget* w : root.findChildren<QWidget*>())
        widgets.push_back(w);
    for (const QWidget* w : widgets) {
        add(*w, w->windowTitle());
        add(*w, w->toolTip());
        add(*w, w->statusTip());
        if (const auto* label = qobject_cast<const QLabel*>(w))
            add(*w, label->text());
        if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            add(*w, button->text());
        if (const auto* group = qobject_cast<const QGroupBox*>(w))
            add(*w, group->title());
        if (const auto* list = qobject_cast<const QComboBox*>(w))
            for (int i = 0; i < list->count(); ++i)
                add(*w, list->itemText(i));
        if (const auto* view = qobject_cast<const QAbstractItemView*>(w); view && view->model())
            for (int i = 0; i < view->model()->columnCount(); ++i)
                add(*w, view->model()->headerData(i, Qt::Horizontal).toString());
        if (const auto* menu = qobject_cast<const QMenu*>(w))
            add(*w, menu->title());
        for (const QAction* action : w->actions()) {
            add(*action, action->text());
            add(*action, action->toolTip());
            add(*action, action->statusTip());
        }
    }
}

// With Language 1 and the English resources loaded, no Chinese caption is left in the window, the panel and the
// dialogs.
TEST(EnglishCaptions, NoChineseIsLeftInTheWindowThePanelAndTheDialogs)
{
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(QV_ENGLISH_RESOURCES)));
    QApplication::installTranslator(&english);
    {
        ScriptedCentre centre({"Language=1"});
        centre.Machine(true, kStatusReady);
        std::vector<std::pair<QString, QString>> found;
        ui::CMainFrame frame(*centre.centre);
        Collect(frame, found);
        CMyDlgBar panel(*centre.centre);
        Collect(panel, found);
        CDlgMacPara machine(*centre.centre, centre.notifier);
        Collect(machine, found);
        CDlgAdvPara advanced(*centre.centre, centre.notifier);
        Collect(advanced, found);
        CDlgSoftSet software(*centre.centre, centre.notifier);
        Collect(software, found);
        CDlgPltExport exportDialog(1, centre.notifier);
        Collect(exportDialog, found);
        CDlgPwdInput password(1);
        Collect(password, found);
        CDlgImportReport report("a.plt", ImportReport{}, 1);
        Collect(report, found);
        for (const auto& [where, text] : found)
            ADD_FAILURE() << where.toStdString() << ": \"" << text.toStdString() << "\"";
    }
    QApplication::removeTranslator(&english);
}

} // namespace
} // namespace qv::test
