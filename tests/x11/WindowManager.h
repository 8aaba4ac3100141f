#pragma once

#include <QList>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct _XDisplay;

// A real window manager (openbox) on the test's X server, and what the tests ask of it:
// which window is active, the stacking order of its clients, activation as a taskbar asks
// for it, and mouse buttons pressed and released apart.
class WindowManager
{
public:
    WindowManager() = default;
    ~WindowManager();
    WindowManager(const WindowManager &) = delete;
    WindowManager &operator=(const WindowManager &) = delete;

    // Empty when openbox is installed, else what is missing.
    QString findTool();
    // Starts openbox on display and waits until it manages the screen.
    bool start(const QProcessEnvironment &env, const QString &display, QString *error);
    void finish();

    // _NET_ACTIVE_WINDOW, 0 for none.
    unsigned long activeWindow();
    // The managed windows, bottom first (_NET_CLIENT_LIST_STACKING).
    QList<unsigned long> stacking();
    // Asks for window to be activated, as a taskbar or pager does.
    void activate(unsigned long window);
    // The atom names in _NET_WM_WINDOW_TYPE.
    QStringList windowType(unsigned long window);
    // WM_NAME as stored, empty when absent.
    QByteArray wmName(unsigned long window);

    void movePointer(QPoint root);
    void button(int number, bool down);

private:
    QList<unsigned long> atomsOrWindows(unsigned long window, const char *property,
                                        unsigned long type);
    bool managing();

    QString m_openbox;
    QProcess m_process;
    _XDisplay *m_display = nullptr;
};
