#include "PanelHints.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#if defined(OSTREL_HAVE_XCB)
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace PanelHints {

#if defined(OSTREL_HAVE_XCB)
namespace {

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie
        = xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return found;
}

} // namespace

void apply(QWidget *window)
{
    const auto id = static_cast<xcb_window_t>(window->winId());
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    // Qt merges its own states into these when it maps the window.
    const xcb_atom_t states[] = {atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                 atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom(connection, "_NET_WM_STATE"),
                        XCB_ATOM_ATOM, 32, 2, states);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom(connection, "_NET_WM_NAME"),
                        atom(connection, "UTF8_STRING"), 8, 0, "");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                        8, 0, "");
    xcb_flush(connection);
}
#else
void apply(QWidget *window)
{
    window->winId();
}
#endif

namespace {

char **programNameSlot = nullptr;

} // namespace

void setProgramName(char **programName)
{
    programNameSlot = programName;
}

void show(QWidget *window)
{
    if (!programNameSlot || !QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        window->show();
        return;
    }
    const QString name = QCoreApplication::applicationName();
    char *const programName = *programNameSlot;
    *programNameSlot = nullptr;
    QCoreApplication::setApplicationName(QString());
    window->show();
    *programNameSlot = programName;
    QCoreApplication::setApplicationName(name);
}

} // namespace PanelHints
