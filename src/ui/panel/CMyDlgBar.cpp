#include "ui/panel/CMyDlgBar.h"

#include "ui/app/QtNotifier.h"
#include "workflow/OutputCentre.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

static void InitPanelResources()
{
    // The icons live in the static widget library; without this the linker may drop them.
    Q_INIT_RESOURCE(panel);
}

namespace qv {

namespace {

// Fast enough to follow the machine as the operator sees it, cheap enough to run while idle.
constexpr int kEnablingIntervalMs = 100;
constexpr QSize kIconSize{32, 32};

} // namespace

CMyDlgBar::CMyDlgBar(OutputCentre& centre, QWidget* parent)
    : QWidget(parent), centre_(centre), ownNotifier_(std::make_unique<ui::QtNotifier>()), notifier_(ownNotifier_.get()),
      shown_(kPanelStatusInitialText)
{
    ownNotifier_->SetParent(this);
    Build();
}

CMyDlgBar::CMyDlgBar(OutputCentre& centre, Notifier& notifier, QWidget* parent)
    : QWidget(parent), centre_(centre), notifier_(&notifier), shown_(kPanelStatusInitialText)
{
    Build();
}

void CMyDlgBar::Build()
{
    InitPanelResources();
    setObjectName(QStringLiteral("CMyDlgBar"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildStatusGroup());
    layout->addWidget(BuildControlGroup());
    layout->addWidget(BuildHeadGroup());
    layout->addStretch(1);

    enabling_ = new QTimer(this);
    connect(enabling_, &QTimer::timeout, this, &CMyDlgBar::RefreshEnabling);
    enabling_->start(kEnablingIntervalMs);
    statusTimer_ = new QTimer(this);
    connect(statusTimer_, &QTimer::timeout, this, &CMyDlgBar::RefreshStatusLine);
    statusTimer_->start(kPanelStatusInterval);
    RefreshEnabling();
}

CMyDlgBar::~CMyDlgBar() = default;

QGroupBox* CMyDlgBar::BuildStatusGroup()
{
    auto* group = new QGroupBox(tr("机器状态"), this);
    auto* layout = new QVBoxLayout(group);
    // The template text until the first refresh; the refreshes keep the untranslated line for their own rule.
    status_ = new QLabel(tr("未连接"), group);
    status_->setObjectName(QStringLiteral("control%1").arg(kPanelStatusText));
    status_->setWordWrap(true);
    status_->setMinimumHeight(status_->fontMetrics().height() * 2);
    layout->addWidget(status_);
    return group;
}

QGroupBox* CMyDlgBar::BuildControlGroup()
{
    auto* group = new QGroupBox(tr("控制"), this);
    auto* layout = new QVBoxLayout(group);
    auto* grid = new QGridLayout;
    grid->addWidget(AddImageButton(kPanelStart, "start", tr("开始工作\n开始工作"), group), 0, 0);
    grid->addWidget(AddImageButton(kPanelPause, "pause", tr("暂停工作\n暂停工作"), group), 0, 1);
    grid->addWidget(AddImageButton(kPanelCancel, "cancel", tr("取消任务\n取消任务"), group), 0, 2);
    grid->addWidget(AddImageButton(kPanelCleanHeads, "clean-heads", tr("清洗喷头\n清洗喷头"), group), 1, 0);
    grid->addWidget(AddImageButton(kPanelSetStartPoint, "start-point", tr("设置起点为机头位置\n设置起点"), group), 1,
                    1);
    grid->addWidget(AddImageButton(kPanelOrigin, "origin", tr("机头回到原点\n回原点"), group), 1, 2);
    layout->addLayout(grid);
    layout->addWidget(AddCheckBox(kPanelFullCutKnife, tr("全刀"), group));
    layout->addWidget(AddCheckBox(kPanelHalfCutKnife, tr("半刀"), group));
    layout->addWidget(AddCheckBox(kPanelAirPump, tr("气泵"), group));
    return group;
}

QGroupBox* CMyDlgBar::BuildHeadGroup()
{
    auto* group = new QGroupBox(tr("机头"), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(AddImageButton(kPanelJogUp, "jog-up", tr("按住时机头向上移动\n上移"), group), 0, 1);
    grid->addWidget(AddImageButton(kPanelJogLeft, "jog-left", tr("按住时机头向左移动\n左移"), group), 1, 0);
    grid->addWidget(AddImageButton(kPanelJogDown, "jog-down", tr("按住时机头向下移动\n下移"), group), 1, 1);
    grid->addWidget(AddImageButton(kPanelJogRight, "jog-right", tr("按住时机头向右移动\n右移"), group), 1, 2);
    return group;
}

QPushButton* CMyDlgBar::AddImageButton(int control, const char* icon, const QString& tip, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QStringLiteral("control%1").arg(control));
    button->setIcon(QIcon(QStringLiteral(":/icons/panel/%1.svg").arg(QLatin1String(icon))));
    button->setIconSize(kIconSize);
    // The text before the line break is the status-bar prompt, the text after it the tooltip.
    const qsizetype cut = tip.indexOf(QLatin1Char('\n'));
    button->setStatusTip(tip.left(cut));
    button->setToolTip(tip.mid(cut + 1));
    // Pressed and released reach the rules before the click itself.
    connect(button, &QPushButton::pressed, this, [this, control] { ButtonState(control, true); });
    connect(button, &QPushButton::released, this, [this, control] { ButtonState(control, false); });
    connect(button, &QPushButton::clicked, this, [this, control] { ButtonClicked(control); });
    buttons_[control] = button;
    return button;
}

QCheckBox* CMyDlgBar::AddCheckBox(int control, const QString& label, QWidget* parent)
{
    auto* box = new QCheckBox(label, parent);
    box->setObjectName(QStringLiteral("control%1").arg(control));
    connect(box, &QCheckBox::clicked, this, [this, control](bool checked) { CheckBoxChanged(control, checked); });
    buttons_[control] = box;
    return box;
}

QWidget* CMyDlgBar::Control(int control) const
{
    if (control == kPanelStatusText)
        return status_;
    const auto it = buttons_.find(control);
    return it == buttons_.end() ? nullptr : it->second;
}

PanelFacts CMyDlgBar::Facts() const
{
    return PanelFacts::Of(centre_.Link());
}

void CMyDlgBar::RefreshEnabling()
{
    const PanelFacts facts = Facts();
    for (const auto& [control, button] : buttons_)
        button->setEnabled(PanelControlEnabled(control, facts));
}

void CMyDlgBar::RefreshStatusLine()
{
    shown_ = NextPanelStatusLine(shown_, centre_.Link(), centre_.Params(), centre_.Settings().Language);
    status_->setText(QString::fromStdString(shown_));
}

void CMyDlgBar::Queue(std::optional<uint8_t> code)
{
    if (code)
        centre_.QueueCommand(*code);
}

void CMyDlgBar::ButtonState(int control, bool pressed)
{
    Queue(PanelButtonState(control, pressed, Facts()));
}

void CMyDlgBar::ButtonClicked(int control)
{
    const PanelClick click = PanelButtonClicked(control, Facts());
    switch (click.action) {
    case PanelClick::Action::Queue:
        centre_.QueueCommand(click.code);
        break;
    case PanelClick::Action::PressStart:
        centre_.PressStart();
        break;
    case PanelClick::Action::AskCancel:
        // The machine may have moved on while the question was open.
        if (PanelCancelQuestion().ShowWith(*notifier_) == MsgAnswer::Ok)
            Queue(PanelCancelConfirmed(Facts()));
        break;
    case PanelClick::Action::None:
        break;
    }
}

void CMyDlgBar::CheckBoxChanged(int control, bool checked)
{
    Queue(PanelCheckBoxChanged(control, checked, Facts()));
}

} // namespace qv
