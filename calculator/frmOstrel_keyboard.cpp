// The keyboard: keys press the window's buttons, so keys and clicks share one path.
#include "frmOstrel.h"

#include "VirtualKey.h"

#include <QKeyEvent>

namespace {

constexpr int16_t kAltHeld = 4;

} // namespace

// Operators and equals act as their key goes down, so a held keypad + repeats.
void frmOstrel::Form_KeyDown(int16_t &KeyCode, int16_t Shift)
{
    Q_UNUSED(Shift);
    switch (KeyCode) {
    case VirtualKey::Add: press(QStringLiteral("cmdPlus")); break;
    case VirtualKey::Subtract: press(QStringLiteral("cmdMinus")); break;
    case VirtualKey::Multiply: press(QStringLiteral("cmdMultiply")); break;
    case VirtualKey::Divide: press(QStringLiteral("cmdDivide")); break;
    case VirtualKey::End: press(QStringLiteral("cmdEquals")); break;
    default: break;
    }
}

// Digits, the erase keys and Escape act as their key comes up. A key released with Alt held
// was an access key (Alt+2 selects 23.98) and enters nothing.
void frmOstrel::Form_KeyUp(int16_t &KeyCode, int16_t Shift)
{
    if (Shift & kAltHeld)
        return;
    if (KeyCode == VirtualKey::Escape) {
        press(QStringLiteral("cmdCLR"));
        return;
    }
    for (int d = 0; d <= 9; ++d) {
        if (KeyCode == VirtualKey::Digit0 + d || KeyCode == VirtualKey::Numpad0 + d) {
            press(QStringLiteral("cmd%1").arg(d));
            return;
        }
    }
    if (KeyCode == VirtualKey::Backspace || KeyCode == VirtualKey::Delete
        || KeyCode == VirtualKey::Space)
        press(QStringLiteral("cmdBackspace"));
}

// Key preview: sees every key on the window before the focused control, consumes none.
bool frmOstrel::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        int16_t code = VirtualKey::of(*key);
        const int16_t shift = VirtualKey::shiftState(*key);
        if (type == QEvent::KeyPress)
            Form_KeyDown(code, shift);
        else if (!key->isAutoRepeat() && !VirtualKey::stillHeld(*key))
            Form_KeyUp(code, shift);
    }
    return QDialog::eventFilter(watched, event);
}
