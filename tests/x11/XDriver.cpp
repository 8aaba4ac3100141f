#include "XDriver.h"

#include <QFile>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

constexpr int kNumLockKeycode = 77;

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
    QList<Window> found;
    ::Window root = 0, parent = 0;
    ::Window *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count))
        return found;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(m_display, children[i], &attributes)
            || attributes.map_state != IsViewable)
            continue;
        if (pidOf(m_display, children[i]) != pid)
            continue;
        int x = 0, y = 0;
        ::Window child = 0;
        XTranslateCoordinates(m_display, children[i], root, 0, 0, &x, &y, &child);
        found.append({children[i], QRect(x, y, attributes.width, attributes.height),
                      titleOf(m_display, children[i])});
    }
    if (children)
        XFree(children);
    return found;
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

void XDriver::clickAt(QPoint rootPoint)
{
    XTestFakeMotionEvent(m_display, -1, rootPoint.x(), rootPoint.y(), CurrentTime);
    XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
    XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
    XFlush(m_display);
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
