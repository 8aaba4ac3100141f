#include "frmOstrel.h"

#include "DisplayBox.h"
#include "RangeMessage.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QWindow>

namespace {

struct ClickHandler {
    const char *name;
    void (frmOstrel::*handler)();
};

// Which handler each command button runs.
constexpr ClickHandler kClickHandlers[] = {
    {"cmd0", &frmOstrel::cmd0_Click}, {"cmd1", &frmOstrel::cmd1_Click},
    {"cmd2", &frmOstrel::cmd2_Click}, {"cmd3", &frmOstrel::cmd3_Click},
    {"cmd4", &frmOstrel::cmd4_Click}, {"cmd5", &frmOstrel::cmd5_Click},
    {"cmd6", &frmOstrel::cmd6_Click}, {"cmd7", &frmOstrel::cmd7_Click},
    {"cmd8", &frmOstrel::cmd8_Click}, {"cmd9", &frmOstrel::cmd9_Click},
    {"cmdBackspace", &frmOstrel::cmdBackspace_Click}, {"cmdCE", &frmOstrel::cmdCE_Click},
    {"cmdCLR", &frmOstrel::cmdCLR_Click}, {"cmdPlus", &frmOstrel::cmdPlus_Click},
    {"cmdMinus", &frmOstrel::cmdMinus_Click}, {"cmdMultiply", &frmOstrel::cmdMultiply_Click},
    {"cmdDivide", &frmOstrel::cmdDivide_Click}, {"cmdEquals", &frmOstrel::cmdEquals_Click},
    {"cmdMemSet", &frmOstrel::cmdMemSet_Click}, {"cmdMemRecall", &frmOstrel::cmdMemRecall_Click},
    {"cmdMemSet1", &frmOstrel::cmdMemSet1_Click},
    {"cmdMemRecall1", &frmOstrel::cmdMemRecall1_Click},
    {"cmdCopy", &frmOstrel::cmdCopy_Click}, {"cmdPaste", &frmOstrel::cmdPaste_Click},
    {"Info", &frmOstrel::Info_Click},
};

} // namespace

frmOstrel::frmOstrel(QWidget *parent)
    : QDialog(parent)
{
    applyWindowSettings();
    buildControls();
    connectHandlers();
    Form_Load();
    button(QStringLiteral("cmdEquals"))->setFocus();
}

frmOstrel::~frmOstrel() = default;

void frmOstrel::connectHandlers()
{
    for (const ClickHandler &entry : kClickHandlers) {
        auto handler = entry.handler;
        connect(button(QLatin1String(entry.name)), &QAbstractButton::clicked, this,
                [this, handler] { (this->*handler)(); });
    }
    // Ticking a box from code must run its handler as a click does, so follow the state.
    connect(m_ckMarks, &QCheckBox::toggled, this, &frmOstrel::ckMarks_Click);
    connect(m_ckLeading, &QCheckBox::toggled, this, &frmOstrel::ckLeading_Click);
    connect(m_options, &QButtonGroup::idClicked, this,
            [this](int id) { TCOption_Click(static_cast<int16_t>(id)); });
    connect(m_options, &QButtonGroup::idToggled, this, [this] { keepTabStopOnSelectedOption(); });
}

void frmOstrel::Form_Load()
{
    bFrameMode = 0;
    szTCDisplay.clear();
    szRawTC.clear();
    dwTCcurrent = 0;
    dwTCLast = 0;
    dwFlags = 196610;
    dwMemory1 = 0;
    dwMemory2 = 0;
    szTCRet1.clear();
    szTCRet2.clear();
    cLastCmd = 0;
    szTCClip.clear();
    dwTCClip = 0;
    dwMaxFrames = 2591999;
    m_display->setInsertLimit(14);
    m_ckLeading->setChecked(true);
    m_ckMarks->setChecked(true);
    displayTCVal(0);
}

void frmOstrel::showRangeMessage(const QString &text)
{
    RangeMessage::show(this, text);
}

void frmOstrel::keyPressEvent(QKeyEvent *event)
{
    // Escape clears all through the key handlers; it must not close the calculator.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmOstrel::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_keyPreviewInstalled && windowHandle()) {
        windowHandle()->installEventFilter(this);
        m_keyPreviewInstalled = true;
    }
}
