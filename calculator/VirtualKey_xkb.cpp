// Key codes where Qt gives no virtual-key code: from the key, its keypad flag and, for the
// main-row digits, its physical key.
#include "VirtualKey.h"

#include <QGuiApplication>
#include <QKeyEvent>

#if defined(OSTREL_HAVE_XCB)
#include <xcb/xcb.h>
#endif

namespace VirtualKey {
namespace {

// XKB key codes of the main row 1..9, 0.
constexpr quint32 kFirstRowScanCode = 10, kLastRowScanCode = 19;

int16_t keypad(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<int16_t>(Numpad0 + (key - Qt::Key_0));
    switch (key) {
    case Qt::Key_Plus: return Add;
    case Qt::Key_Minus: return Subtract;
    case Qt::Key_Asterisk: return Multiply;
    case Qt::Key_Slash: return Divide;
    case Qt::Key_End: return End;       // keypad 1 with Num Lock off
    case Qt::Key_Delete: return Delete; // keypad . with Num Lock off
    default: return 0;
    }
}

// XKB key codes, Qt's native scan code on X11 and on Wayland, where they are known.
bool xkbScanCodes()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

int16_t mainRowDigit(const QKeyEvent &event, bool xkb)
{
    const quint32 scan = event.nativeScanCode();
    if (xkb && scan >= kFirstRowScanCode && scan <= kLastRowScanCode)
        return static_cast<int16_t>(Digit0 + (scan - kFirstRowScanCode + 1) % 10);
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<int16_t>(Digit0 + (key - Qt::Key_0));
    return 0;
}

// Qt's Wayland plugin does not flag keypad keys, so there they are told by their key code:
// KP* 63, KP7..KP. 79-91, KP/ 106.
bool onKeypad(const QKeyEvent &event, bool xkb)
{
    if (event.modifiers() & Qt::KeypadModifier)
        return true;
    const quint32 scan = event.nativeScanCode();
    return xkb && (scan == 63 || (scan >= 79 && scan <= 91) || scan == 106);
}

} // namespace

int16_t of(const QKeyEvent &event)
{
    const bool xkb = xkbScanCodes();
    if (onKeypad(event, xkb))
        return keypad(event.key());
    if (const int16_t digit = mainRowDigit(event, xkb))
        return digit;
    switch (event.key()) {
    case Qt::Key_Backspace: return Backspace;
    case Qt::Key_Escape: return Escape;
    case Qt::Key_Space: return Space;
    case Qt::Key_End: return End;
    case Qt::Key_Delete: return Delete;
    default: return 0;
    }
}

bool stillHeld(const QKeyEvent &release)
{
#if defined(OSTREL_HAVE_XCB)
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const quint32 code = release.nativeScanCode();
    if (!x11 || code == 0 || code > 255)
        return false;
    xcb_connection_t *connection = x11->connection();
    xcb_query_keymap_reply_t *reply
        = xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr);
    if (!reply)
        return false;
    const bool down = reply->keys[code / 8] & (1u << (code % 8));
    free(reply);
    return down;
#else
    Q_UNUSED(release);
    return false;
#endif
}

} // namespace VirtualKey
