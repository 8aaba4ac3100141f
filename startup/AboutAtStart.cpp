#include "AboutAtStart.h"

#include "frmSplash.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#if defined(OSTREL_HAVE_XCB)
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace AboutAtStart {

namespace {

// How long the about window waits, once the calculator is on the screen, for a window
// manager that does not focus new windows.
constexpr int kFallbackMs = 500;

#if defined(OSTREL_HAVE_XCB)
// An EWMH window manager names its check window on the root window.
bool x11WindowManagerRuns()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    const char name[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t check = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(atom);
    if (check == XCB_ATOM_NONE)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool runs = reply && xcb_get_property_value_length(reply) == 4;
    free(reply);
    return runs;
}
#else
bool x11WindowManagerRuns() { return false; }
#endif

bool focusComesToNewWindows()
{
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return true;
    return platform == QLatin1String("xcb") && x11WindowManagerRuns();
}

// Shows the about window once, when the calculator becomes active or the fallback runs out.
class Waiter : public QObject
{
public:
    explicit Waiter(QWidget *calculator) : QObject(calculator), m_calculator(calculator)
    {
        calculator->installEventFilter(this);
        calculator->windowHandle()->installEventFilter(this);
        m_fallback.setSingleShot(true);
        m_fallback.setInterval(kFallbackMs);
        connect(&m_fallback, &QTimer::timeout, this, &Waiter::showAbout);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate && watched == m_calculator)
            QTimer::singleShot(0, this, &Waiter::showAbout);
        else if (event->type() == QEvent::Expose && !m_fallback.isActive())
            m_fallback.start();
        return false;
    }

private:
    void showAbout()
    {
        m_fallback.stop();
        if (m_shown)
            return;
        m_shown = true;
        frmSplash::showSplash();
        deleteLater();
    }

    const QWidget *m_calculator;
    QTimer m_fallback;
    bool m_shown = false;
};

} // namespace

void showInFrontOf(QWidget *calculator)
{
    if (calculator->isActiveWindow() || !focusComesToNewWindows()) {
        frmSplash::showSplash();
        return;
    }
    new Waiter(calculator);
}

} // namespace AboutAtStart
