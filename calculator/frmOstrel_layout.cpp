// The window and its controls, built from the control table.
#include "frmOstrel.h"

#include "CalculatorPicture.h"
#include "ClassicFont.h"
#include "ControlKeys.h"
#include "ControlTable.h"
#include "DesktopPlace.h"
#include "DisplayBox.h"
#include "Twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

QRect pixelRect(const ControlSpec &row)
{
    return Twips::toPixels(row.left, row.top, row.width, row.height);
}

// Screen readers get the caption as it reads, and the display its purpose.
QString spokenName(const ControlSpec &row)
{
    if (row.kind == ControlSpec::Display)
        return QStringLiteral("Value");
    return QString::fromLatin1(row.caption).remove(QLatin1Char('&'));
}

QWidget *makeControl(const ControlSpec &row, QWidget *parent)
{
    const QString caption = QString::fromLatin1(row.caption);
    switch (row.kind) {
    case ControlSpec::Button: return new QPushButton(caption, parent);
    case ControlSpec::Option: return new QRadioButton(caption, parent);
    case ControlSpec::Check: return new QCheckBox(caption, parent);
    case ControlSpec::Display: break;
    }
    auto *display = new DisplayBox(parent);
    display->setFont(classicFont(QStringLiteral("MS Sans Serif"), 12, true));
    return display;
}

} // namespace

void frmOstrel::buildControls()
{
    setFont(dialogFont());
    m_options = new QButtonGroup(this);
    QWidget *previous = nullptr;
    for (const ControlSpec &row : kControlTable) {
        QWidget *widget = makeControl(row, this);
        widget->setObjectName(QString::fromLatin1(row.name));
        widget->setGeometry(pixelRect(row));
        if (row.tooltip)
            widget->setToolTip(QString::fromLatin1(row.tooltip));
        widget->setAccessibleName(spokenName(row));
        if (row.kind == ControlSpec::Option)
            m_options->addButton(static_cast<QRadioButton *>(widget), row.index);
        if (auto *push = qobject_cast<QPushButton *>(widget))
            push->setAutoDefault(true);
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
        m_controls.insert(widget->objectName(), widget);
    }
    m_display = static_cast<DisplayBox *>(control(QStringLiteral("TxtDisplay")));
    m_ckLeading = static_cast<QCheckBox *>(control(QStringLiteral("ckLeading")));
    m_ckMarks = static_cast<QCheckBox *>(control(QStringLiteral("ckMarks")));
    static_cast<QPushButton *>(button(QStringLiteral("cmdEquals")))->setDefault(true);
    m_options->button(2)->setChecked(true);
    keepTabStopOnSelectedOption();
    watchControlKeys();
}

void frmOstrel::watchControlKeys()
{
    QList<QAbstractButton *> options;
    for (const ControlSpec &row : kControlTable) {
        if (row.kind == ControlSpec::Option)
            options.append(button(QString::fromLatin1(row.name)));
    }
    auto *keys = new ControlKeys(options, this);
    for (const ControlSpec &row : kControlTable) {
        if (QAbstractButton *target = button(QString::fromLatin1(row.name)))
            keys->watch(target);
    }
}

// Tab stops at the selected option only; the arrows then move within the group from there.
void frmOstrel::keepTabStopOnSelectedOption()
{
    for (QAbstractButton *option : m_options->buttons())
        option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

void frmOstrel::applyWindowSettings()
{
    setWindowTitle(QStringLiteral("Quorvane Time Code Calculator"));
    setWindowIcon(calculatorPicture());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    using namespace CalculatorPlace;
    const QSize size = Twips::toPixels(0, 0, clientWidth, clientHeight).size();
    setFixedSize(size);
    setGeometry(QRect(DesktopPlace::at(screenLeft, screenTop), size));
}

QWidget *frmOstrel::control(const QString &name) const
{
    return m_controls.value(name);
}

QAbstractButton *frmOstrel::button(const QString &name) const
{
    return qobject_cast<QAbstractButton *>(control(name));
}

void frmOstrel::press(const QString &name)
{
    if (QAbstractButton *target = button(name))
        target->click();
}
