#include "XDriver.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <functional>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

constexpr int kNumLockKeycode = 77;
constexpr int kPollMs = 10;
constexpr int kClickTimeoutMs = 5000;

// A window can vanish between listing and asking about it; that must not end the test.
int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

qint64 pidOf(Display *display, ::Window window)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    if (pidAtom == None)
        return -1;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    qint64 pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success
        && data && count == 1 && format == 32)
        pid = static_cast<qint64>(*reinterpret_cast<unsigned long *>(data));
    if (data)
        XFree(data);
    return pid;
}

QString titleOf(Display *display, ::Window window)
{
    char *name = nullptr;
    QString title;
    if (XFetchName(display, window, &name) && name)
        title = QString::fromLocal8Bit(name);
    if (name)
        XFree(name);
    return title;
}

// The top-level windows, bottom first: the window manager's client list where one runs (its
// frames hide the clients from the root), else the root's children.
QList<::Window> topLevels(Display *display)
{
    QList<::Window> windows;
    const ::Window root = DefaultRootWindow(display);
    const Atom stacking = XInternAtom(display, "_NET_CLIENT_LIST_STACKING", True);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    if (stacking != None
        && XGetWindowProperty(display, root, stacking, 0, 1024, False, XA_WINDOW, &type, &format,
                              &count, &after, &data) == Success
        && data && format == 32) {
        const auto *list = reinterpret_cast<const ::Window *>(data);
        windows = QList<::Window>(list, list + count);
    }
    if (data)
        XFree(data);
    if (type == XA_WINDOW)
        return windows;
    ::Window parent = 0;
    ::Window *children = nullptr;
    unsigned int childCount = 0;
    if (XQueryTree(display, root, &parent, &parent, &children, &childCount) && children)
        windows = QList<::Window>(children, children + childCount);
    if (children)
        XFree(children);
    return windows;
}

// The mapped top-level windows that keep accepts, bottom first.
QList<XDriver::Window> viewableChildren(Display *display,
                                        const std::function<bool(::Window)> &keep)
{
    QList<XDriver::Window> found;
    const ::Window root = DefaultRootWindow(display);
    const QList<::Window> children = topLevels(display);
    for (qsizetype i = 0; i < children.size(); ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes)
            || attributes.map_state != IsViewable || !keep(children[i]))
            continue;
        int x = 0, y = 0;
        ::Window child = 0;
        XTranslateCoordinates(display, children[i], root, 0, 0, &x, &y, &child);
        found.append({children[i], QRect(x, y, attributes.width, attributes.height),
                      titleOf(display, children[i])});
    }
    return found;
}

} // namespace

XDriver::~XDriver()
{
    close();
}

bool XDriver::open(const QString &display, QString *error)
{
    close();
    m_display = XOpenDisplay(display.toLocal8Bit().constData());
    if (!m_display) {
        *error = QStringLiteral("cannot connect to ") + display;
        return false;
    }
    XSetErrorHandler(ignoreErrors);
    int event = 0, base = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(m_display, &event, &base, &major, &minor)) {
        *error = QStringLiteral("the X server has no XTest");
        close();
        return false;
    }
    int opcode = 0, xkbEvent = 0, xkbError = 0;
    major = XkbMajorVersion;
    minor = XkbMinorVersion;
    if (!XkbQueryExtension(m_display, &opcode, &xkbEvent, &xkbError, &major, &minor)) {
        *error = QStringLiteral("the X server has no XKB");
        close();
        return false;
    }
    return true;
}

void XDriver::close()
{
    if (m_display)
        XCloseDisplay(m_display);
    m_display = nullptr;
}

QList<XDriver::Window> XDriver::viewableWindowsOf(qint64 pid)
{
    return viewableChildren(m_display, [&](::Window w) { return pidOf(m_display, w) == pid; });
}

bool XDriver::isViewable(unsigned long window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(m_display, window, &attributes)
        && attributes.map_state == IsViewable;
}

void XDriver::focus(unsigned long window)
{
    XSetInputFocus(m_display, window, RevertToPointerRoot, CurrentTime);
    XSync(m_display, False);
}

void XDriver::key(int keycode, bool down)
{
    XTestFakeKeyEvent(m_display, static_cast<unsigned int>(keycode), down ? True : False,
                      CurrentTime);
    XFlush(m_display);
}

bool XDriver::clickAt(QPoint rootPoint)
{
    XTestFakeMotionEvent(m_display, -1, rootPoint.x(), rootPoint.y(), CurrentTime);
    XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
    XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
    XFlush(m_display);
    return waitUntilPointerFree(kClickTimeoutMs);
}

// A window manager that grabs the button to focus on click holds the pointer frozen until
// it replays the press to the client, while keys go on flowing: a key sent then would reach
// the program before the click. A grab of our own succeeds once nobody holds the pointer.
bool XDriver::waitUntilPointerFree(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const int status = XGrabPointer(m_display, DefaultRootWindow(m_display), False, 0,
                                        GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
        if (status == GrabSuccess) {
            XUngrabPointer(m_display, CurrentTime);
            XSync(m_display, False);
            return true;
        }
        if (timer.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(1);
    }
}

void XDriver::movePointer(QPoint rootPoint)
{
    XTestFakeMotionEvent(m_display, -1, rootPoint.x(), rootPoint.y(), CurrentTime);
    XFlush(m_display);
}

bool XDriver::numLock()
{
    XkbStateRec state;
    if (XkbGetState(m_display, XkbUseCoreKbd, &state) != Success)
        return false;
    const unsigned int mask = XkbKeysymToModifiers(m_display, XK_Num_Lock);
    return mask && (state.locked_mods & mask);
}

void XDriver::toggleNumLock()
{
    key(kNumLockKeycode, true);
    key(kNumLockKeycode, false);
    sync();
}

void XDriver::sync()
{
    XSync(m_display, False);
}

bool XDriver::savePpm(unsigned long window, const QString &path)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(m_display, window, &attributes))
        return false;
    XImage *image = XGetImage(m_display, window, 0, 0, attributes.width, attributes.height,
                              AllPlanes, ZPixmap);
    if (!image)
        return false;
    QByteArray out = QByteArray("P6\n") + QByteArray::number(attributes.width) + ' '
        + QByteArray::number(attributes.height) + "\n255\n";
    for (int y = 0; y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            out.append(char((pixel >> 16) & 0xFF));
            out.append(char((pixel >> 8) & 0xFF));
            out.append(char(pixel & 0xFF));
        }
    }
    XDestroyImage(image);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}

QList<XDriver::Window> XDriver::viewableWindows()
{
    return viewableChildren(m_display, [](::Window) { return true; });
}

QString XDriver::netWmName(unsigned long window)
{
    const Atom nameAtom = XInternAtom(m_display, "_NET_WM_NAME", True);
    const Atom utf8Atom = XInternAtom(m_display, "UTF8_STRING", True);
    if (nameAtom == None || utf8Atom == None)
        return QString();
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    QString name;
    if (XGetWindowProperty(m_display, window, nameAtom, 0, 1024, False, utf8Atom, &type, &format,
                           &count, &after, &data) == Success
        && data && format == 8)
        name = QString::fromUtf8(reinterpret_cast<const char *>(data), int(count));
    if (data)
        XFree(data);
    return name;
}

unsigned long XDriver::transientFor(unsigned long window)
{
    ::Window owner = 0;
    if (!XGetTransientForHint(m_display, window, &owner))
        return 0;
    return owner;
}

QStringList XDriver::netWmState(unsigned long window)
{
    QStringList names;
    const Atom stateAtom = XInternAtom(m_display, "_NET_WM_STATE", True);
    if (stateAtom == None)
        return names;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(m_display, window, stateAtom, 0, 64, False, XA_ATOM, &type, &format,
                           &count, &after, &data) == Success
        && data && format == 32) {
        const auto *atoms = reinterpret_cast<const Atom *>(data);
        for (unsigned long i = 0; i < count; ++i) {
            char *name = XGetAtomName(m_display, atoms[i]);
            if (name) {
                names.append(QString::fromLatin1(name));
                XFree(name);
            }
        }
    }
    if (data)
        XFree(data);
    return names;
}

unsigned long XDriver::inputFocus()
{
    ::Window focused = 0;
    int revert = 0;
    XGetInputFocus(m_display, &focused, &revert);
    return focused;
}

unsigned long XDriver::rootWindow()
{
    return DefaultRootWindow(m_display);
}

XDriver::Window XDriver::waitForWindow(qint64 pid, const QString &title, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    do {
        for (const Window &w : viewableWindowsOf(pid))
            if (w.title == title)
                return w;
        QThread::msleep(kPollMs);
    } while (timer.elapsed() < timeoutMs);
    return Window();
}

bool XDriver::waitUntilGone(unsigned long window, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (isViewable(window)) {
        if (timer.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(kPollMs);
    }
    return true;
}

bool XDriver::waitForFocus(unsigned long window, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (inputFocus() != window) {
        if (timer.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(kPollMs);
    }
    return true;
}

bool XDriver::ping(unsigned long window, int timeoutMs)
{
    const Atom protocols = XInternAtom(m_display, "WM_PROTOCOLS", False);
    const Atom pingAtom = XInternAtom(m_display, "_NET_WM_PING", False);
    const ::Window root = DefaultRootWindow(m_display);
    const long token = ++m_pings;
    // Qt answers to the root window with the structure-notify mask, Wine with the
    // substructure one, as EWMH has a window manager's messages sent.
    XSelectInput(m_display, root, StructureNotifyMask | SubstructureNotifyMask);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(pingAtom);
    event.xclient.data.l[1] = token; // in place of a time stamp, to know the answer
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(m_display, window, False, NoEventMask, &event);
    XFlush(m_display);
    bool answered = false;
    QElapsedTimer timer;
    timer.start();
    while (!answered && timer.elapsed() < timeoutMs) {
        while (XPending(m_display)) {
            XEvent got;
            XNextEvent(m_display, &got);
            if (got.type == ClientMessage && got.xclient.message_type == protocols
                && static_cast<Atom>(got.xclient.data.l[0]) == pingAtom
                && got.xclient.data.l[1] == token)
                answered = true;
        }
        if (!answered)
            QThread::msleep(1);
    }
    XSelectInput(m_display, root, NoEventMask);
    XSync(m_display, False);
    while (XPending(m_display)) {
        XEvent stale;
        XNextEvent(m_display, &stale);
    }
    return answered;
}
