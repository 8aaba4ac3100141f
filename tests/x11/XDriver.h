#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

struct _XDisplay;

// The test's own connection to the X server: finds the program's windows and injects real
// key and mouse events through XTest. Kept apart so that no X11 macro meets Qt's names.
class XDriver
{
public:
    XDriver() = default;
    ~XDriver();
    XDriver(const XDriver &) = delete;
    XDriver &operator=(const XDriver &) = delete;

    // Connects and checks for XTest and XKB; the reason goes to error on failure.
    bool open(const QString &display, QString *error);
    void close();

    struct Window {
        unsigned long id = 0;
        QRect rect;      // in root coordinates
        QString title;
    };

    // The mapped top-level windows whose _NET_WM_PID is pid, bottom first. Under a window
    // manager these are its clients, not its frames.
    QList<Window> viewableWindowsOf(qint64 pid);
    bool isViewable(unsigned long window);

    // Every mapped top-level window (client, under a window manager), whoever owns it, in
    // stacking order: the bottom one first.
    QList<Window> viewableWindows();
    // The UTF-8 title that EWMH window managers show; the Window title above is WM_NAME.
    QString netWmName(unsigned long window);
    // WM_TRANSIENT_FOR, 0 when unset.
    unsigned long transientFor(unsigned long window);
    // The atom names in _NET_WM_STATE, e.g. "_NET_WM_STATE_MODAL".
    QStringList netWmState(unsigned long window);
    // The window that has the keyboard: 0 for none, 1 for PointerRoot.
    unsigned long inputFocus();
    unsigned long rootWindow();

    // A round trip through the program owning window: sends it _NET_WM_PING and waits for the
    // answer, which it sends once it has read every event that came before. False on time-out.
    bool ping(unsigned long window, int timeoutMs);

    // Bounded polls. waitForWindow gives a window of pid titled title, or one with id 0.
    Window waitForWindow(qint64 pid, const QString &title, int timeoutMs);
    bool waitUntilGone(unsigned long window, int timeoutMs);
    bool waitForFocus(unsigned long window, int timeoutMs);

    void focus(unsigned long window);

    // Raw key codes, as the server numbers them.
    void key(int keycode, bool down);
    // False when the pointer is still grabbed by someone else a while after the click.
    bool clickAt(QPoint root);
    void movePointer(QPoint root);

    bool numLock();
    void toggleNumLock();

    // Waits until the server has handled everything sent so far.
    void sync();

    // Writes the window's pixels as a binary PPM file.
    bool savePpm(unsigned long window, const QString &path);

private:
    bool waitUntilPointerFree(int timeoutMs);

    _XDisplay *m_display = nullptr;
    long m_pings = 0;
};
