#include "ControlKeys.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QShortcutEvent>

namespace {

// -1 for Left and Up, +1 for Right and Down (also from the keypad with Num Lock off), else 0.
int arrowStep(const QKeyEvent &key)
{
    if (key.modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier))
        return 0;
    switch (key.key()) {
    case Qt::Key_Left:
    case Qt::Key_Up: return -1;
    case Qt::Key_Right:
    case Qt::Key_Down: return 1;
    default: return 0;
    }
}

} // namespace

ControlKeys::ControlKeys(QList<QAbstractButton *> options, QObject *parent)
    : QObject(parent), m_options(std::move(options))
{
}

void ControlKeys::watch(QAbstractButton *button)
{
    button->installEventFilter(this);
}

bool ControlKeys::eventFilter(QObject *watched, QEvent *event)
{
    auto *button = qobject_cast<QAbstractButton *>(watched);
    if (!button)
        return false;
    if (event->type() == QEvent::Shortcut)
        return pressAtOnce(button, event);
    if (event->type() == QEvent::KeyPress && m_options.contains(button))
        return moveWithinOptions(button, event);
    return false;
}

bool ControlKeys::pressAtOnce(QAbstractButton *button, QEvent *event)
{
    // A letter shared by two controls keeps Qt's way: it moves the focus between them.
    if (static_cast<QShortcutEvent *>(event)->isAmbiguous() || !button->isEnabled())
        return false;
    // Options and check boxes take the focus as Qt gives it them; command buttons move it
    // themselves in their click handlers.
    if (button->isCheckable() && (button->focusPolicy() & Qt::ClickFocus))
        button->setFocus(Qt::ShortcutFocusReason);
    button->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    button->click();
    return true;
}

bool ControlKeys::moveWithinOptions(QAbstractButton *option, QEvent *event)
{
    const int step = arrowStep(*static_cast<QKeyEvent *>(event));
    if (step == 0)
        return false;
    const int count = int(m_options.size());
    QAbstractButton *next = m_options.at((int(m_options.indexOf(option)) + step + count) % count);
    next->setFocus(Qt::TabFocusReason);
    next->click();
    return true;
}
