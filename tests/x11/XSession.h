#pragma once

#include "XDriver.h"

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

// Children die with the test, whatever ends it.
void dieWithParent(QProcess &process);
// Terminates a process that still runs, and kills it if it does not end.
void stop(QProcess &process);

// What the X tests share: a private Xvfb with the test's own connection to it, the program
// under test, and the clipboard read and held through xclip.
class XSession
{
public:
    // programVariable: the environment variable that names another program to test than the
    // built one.
    explicit XSession(const char *programVariable);

    // Empty when Xvfb and xclip are installed, else what is missing.
    QString findTools();
    // The X screen, "WIDTHxHEIGHT"; 1024x768 unless set before start.
    void setScreenSize(const QString &size) { m_screenSize = size; }
    // Checks the program is there, starts Xvfb on a free display and connects the driver;
    // the reason goes to error on failure.
    bool start(QString *error);
    // Ends whatever still runs: for cleanupTestCase.
    void finish();

    XDriver &x() { return m_x; }
    const QString &display() const { return m_display; }
    QString programPath() const;

    // What every child runs with: the display, the xcb platform and a private
    // XDG_RUNTIME_DIR (as Qt wants it), and the variables set here.
    QProcessEnvironment environment() const;
    void setVariable(const QString &name, const QString &value);

    // Starts the program with env and waits for its window titled title; on failure the
    // window has id 0 and error says why.
    XDriver::Window startProgram(const QProcessEnvironment &env, const QString &title,
                                 int timeoutMs, QString *error);
    QProcess *program() const { return m_program.get(); }
    qint64 pid() const { return m_program ? m_program->processId() : -1; }
    // Stops the program and the xclip processes holding the clipboard: for each case's cleanup.
    void endCase();

    // Another program (xclip) takes the clipboard with this text; waits until it holds it.
    bool ownClipboard(const QByteArray &text);
    // Waits until the clipboard holds the text.
    bool waitForClipboard(const QByteArray &text);
    // The clipboard's text once action has put something new there. Another program holds
    // it first, so the text read is the action's own; a note in <> when nothing came.
    QByteArray clipboardAfter(const std::function<void()> &action);

private:
    // One read of the clipboard; false when no program owns it or it has no text.
    bool readClipboard(QByteArray *text);
    bool pollClipboard(const std::function<bool(const QByteArray &)> &wanted, QByteArray *seen);

    const char *m_programVariable;
    QString m_xvfbPath;
    QString m_xclip;
    QProcess m_xvfb;
    QTemporaryDir m_runtimeDir;
    QString m_display;
    QString m_screenSize = QStringLiteral("1024x768");
    QProcessEnvironment m_variables;
    XDriver m_x;
    std::unique_ptr<QProcess> m_program;
    std::vector<std::unique_ptr<QProcess>> m_owners; // xclip processes holding the clipboard
    int m_sentinels = 0;
};
