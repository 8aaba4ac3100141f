#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

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

    // The mapped top-level windows whose _NET_WM_PID is pid.
    QList<Window> viewableWindowsOf(qint64 pid);
    bool isViewable(unsigned long window);

    void focus(unsigned long window);

    // Raw key codes, as the server numbers them.
    void key(int keycode, bool down);
    void clickAt(QPoint root);
    void movePointer(QPoint root);

    bool numLock();
    void toggleNumLock();

    // Waits until the server has handled everything sent so far.
    void sync();

    // Writes the window's pixels as a binary PPM file.
    bool savePpm(unsigned long window, const QString &path);

private:
    _XDisplay *m_display = nullptr;
};
