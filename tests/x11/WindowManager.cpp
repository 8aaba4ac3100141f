#include "WindowManager.h"

#include "XSession.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace {

constexpr int kStartTimeoutMs = 10000;

} // namespace

WindowManager::~WindowManager()
{
    finish();
}

QString WindowManager::findTool()
{
    m_openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    return m_openbox.isEmpty() ? QStringLiteral("openbox is not installed") : QString();
}

bool WindowManager::start(const QProcessEnvironment &env, const QString &display, QString *error)
{
    m_display = XOpenDisplay(display.toLocal8Bit().constData());
    if (!m_display) {
        *error = QStringLiteral("cannot connect to ") + display;
        return false;
    }
    dieWithParent(m_process);
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(m_openbox, {"--sm-disable"});
    QElapsedTimer timer;
    timer.start();
    while (!managing() && timer.elapsed() < kStartTimeoutMs
           && m_process.state() != QProcess::NotRunning)
        QThread::msleep(20);
    if (!managing()) {
        *error = QStringLiteral("openbox did not take the screen");
        return false;
    }
    return true;
}

void WindowManager::finish()
{
    stop(m_process);
    if (m_display)
        XCloseDisplay(m_display);
    m_display = nullptr;
}

// A window manager announces itself with a check window on the root.
bool WindowManager::managing()
{
    return !atomsOrWindows(DefaultRootWindow(m_display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW)
                .isEmpty();
}

QList<unsigned long> WindowManager::atomsOrWindows(unsigned long window, const char *property,
                                                   unsigned long type)
{
    QList<unsigned long> values;
    const Atom name = XInternAtom(m_display, property, False);
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(m_display, window, name, 0, 1024, False, type, &actual, &format,
                           &count, &after, &data) == Success
        && data && format == 32) {
        const auto *items = reinterpret_cast<const unsigned long *>(data);
        values = QList<unsigned long>(items, items + count);
    }
    if (data)
        XFree(data);
    return values;
}

unsigned long WindowManager::activeWindow()
{
    const QList<unsigned long> active
        = atomsOrWindows(DefaultRootWindow(m_display), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    return active.isEmpty() ? 0 : active.first();
}

QList<unsigned long> WindowManager::stacking()
{
    return atomsOrWindows(DefaultRootWindow(m_display), "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
}

void WindowManager::activate(unsigned long window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // from a pager or taskbar: the user's own choice
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_display, DefaultRootWindow(m_display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(m_display);
}

QStringList WindowManager::windowType(unsigned long window)
{
    QStringList names;
    for (unsigned long atom : atomsOrWindows(window, "_NET_WM_WINDOW_TYPE", XA_ATOM)) {
        if (char *name = XGetAtomName(m_display, atom)) {
            names.append(QString::fromLatin1(name));
            XFree(name);
        }
    }
    return names;
}

QByteArray WindowManager::wmName(unsigned long window)
{
    XTextProperty text{};
    QByteArray name;
    if (XGetWMName(m_display, window, &text) && text.value)
        name = QByteArray(reinterpret_cast<const char *>(text.value), int(text.nitems));
    if (text.value)
        XFree(text.value);
    return name;
}

void WindowManager::movePointer(QPoint root)
{
    XTestFakeMotionEvent(m_display, -1, root.x(), root.y(), CurrentTime);
    XFlush(m_display);
}

void WindowManager::button(int number, bool down)
{
    XTestFakeButtonEvent(m_display, static_cast<unsigned int>(number), down ? True : False,
                         CurrentTime);
    XFlush(m_display);
}
