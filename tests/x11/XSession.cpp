#include "XSession.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <signal.h>
#include <sys/prctl.h>

namespace {

constexpr int kXvfbTimeoutMs = 10000;
constexpr int kClipboardTimeoutMs = 5000;

} // namespace

void dieWithParent(QProcess &process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(2000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

XSession::XSession(const char *programVariable) : m_programVariable(programVariable) {}

QString XSession::findTools()
{
    m_xvfbPath = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (m_xvfbPath.isEmpty())
        return QStringLiteral("Xvfb is not installed");
    m_xclip = QStandardPaths::findExecutable(QStringLiteral("xclip"));
    if (m_xclip.isEmpty())
        return QStringLiteral("xclip is not installed");
    return QString();
}

bool XSession::start(QString *error)
{
    if (!QFileInfo(programPath()).isExecutable()) {
        *error = programPath();
        return false;
    }
    // Xvfb picks a free display itself and writes its number to standard output.
    dieWithParent(m_xvfb);
    m_xvfb.setProcessChannelMode(QProcess::SeparateChannels);
    m_xvfb.start(m_xvfbPath, {"-displayfd", "1", "-screen", "0", m_screenSize + "x24",
                              "-nolisten", "tcp", "-noreset"});
    if (!m_xvfb.waitForStarted(5000)) {
        *error = QStringLiteral("Xvfb did not start");
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    QByteArray number;
    while (!number.contains('\n') && timer.elapsed() < kXvfbTimeoutMs) {
        if (!m_xvfb.waitForReadyRead(int(kXvfbTimeoutMs - timer.elapsed())))
            break;
        number += m_xvfb.readAllStandardOutput();
    }
    if (!number.contains('\n')) {
        *error = QStringLiteral("Xvfb gave no display number");
        return false;
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    return m_x.open(m_display, error);
}

void XSession::finish()
{
    endCase();
    m_x.close();
    stop(m_xvfb);
}

QString XSession::programPath() const
{
    const QString chosen = qEnvironmentVariable(m_programVariable);
    return chosen.isEmpty() ? QStringLiteral(OSTREL_PROGRAM) : chosen;
}

QProcessEnvironment XSession::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (m_runtimeDir.isValid())
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDir.path());
    env.insert(m_variables);
    return env;
}

void XSession::setVariable(const QString &name, const QString &value)
{
    m_variables.insert(name, value);
}

XDriver::Window XSession::startProgram(const QProcessEnvironment &env, const QString &title,
                                       int timeoutMs, QString *error)
{
    m_program = std::make_unique<QProcess>();
    m_program->setProcessEnvironment(env);
    m_program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    dieWithParent(*m_program);
    m_program->start(programPath(), {});
    if (!m_program->waitForStarted(5000)) {
        *error = programPath();
        return XDriver::Window();
    }
    const XDriver::Window window = m_x.waitForWindow(pid(), title, timeoutMs);
    if (!window.id)
        *error = QStringLiteral("the calculator window did not show");
    return window;
}

void XSession::endCase()
{
    if (m_program) {
        stop(*m_program);
        m_program.reset();
    }
    for (auto &owner : m_owners)
        stop(*owner);
    m_owners.clear();
}

bool XSession::readClipboard(QByteArray *text)
{
    QProcess xclip;
    xclip.setProcessEnvironment(environment());
    dieWithParent(xclip);
    xclip.start(m_xclip, {"-o", "-selection", "clipboard"});
    if (!xclip.waitForFinished(2000)) {
        stop(xclip);
        return false;
    }
    if (xclip.exitStatus() != QProcess::NormalExit || xclip.exitCode() != 0)
        return false;
    *text = xclip.readAllStandardOutput();
    return true;
}

// Reads the clipboard until its text is wanted, which goes to seen; false on time-out.
bool XSession::pollClipboard(const std::function<bool(const QByteArray &)> &wanted,
                             QByteArray *seen)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kClipboardTimeoutMs) {
        if (readClipboard(seen) && wanted(*seen))
            return true;
        QThread::msleep(20);
    }
    return false;
}

bool XSession::ownClipboard(const QByteArray &text)
{
    auto owner = std::make_unique<QProcess>();
    owner->setProcessEnvironment(environment());
    dieWithParent(*owner);
    owner->start(m_xclip, {"-selection", "clipboard", "-i", "-quiet"});
    if (!owner->waitForStarted(3000))
        return false;
    owner->write(text);
    // No event loop runs here: push the text out before closing the pipe.
    owner->waitForBytesWritten(2000);
    owner->closeWriteChannel();
    m_owners.push_back(std::move(owner));
    return waitForClipboard(text);
}

bool XSession::waitForClipboard(const QByteArray &text)
{
    QByteArray seen;
    return pollClipboard([&](const QByteArray &read) { return read == text; }, &seen);
}

QByteArray XSession::clipboardAfter(const std::function<void()> &action)
{
    const QByteArray sentinel = "ostrel x11 test " + QByteArray::number(++m_sentinels);
    if (!ownClipboard(sentinel))
        return "<xclip did not take the clipboard>";
    action();
    QByteArray copied;
    if (pollClipboard([&](const QByteArray &read) { return read != sentinel; }, &copied))
        return copied;
    // Say what was on the screen instead: a range message, for one, blocks the click.
    QByteArray windows = "<nothing copied; windows:";
    for (const XDriver::Window &w : m_x.viewableWindowsOf(pid()))
        windows += " '" + w.title.toUtf8() + "' " + QByteArray::number(w.rect.width()) + 'x'
            + QByteArray::number(w.rect.height());
    return windows + '>';
}
