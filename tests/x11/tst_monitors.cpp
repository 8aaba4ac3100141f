// Two monitors on one X screen (RandR monitors on Xvfb), the primary one to the right of the
// other and 100 pixels lower: both windows open on the primary monitor, at their places from
// its top-left corner.
#include "XSession.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

namespace {

constexpr int kTimeoutMs = 10000;
const QPoint kPrimary(1280, 100);

} // namespace

class tst_Monitors : public QObject
{
    Q_OBJECT

    XSession m_session{"OSTREL_X11_PROGRAM"};

    bool xrandr(const QStringList &arguments)
    {
        QProcess xrandr;
        xrandr.setProcessEnvironment(m_session.environment());
        xrandr.start(QStringLiteral("xrandr"), arguments);
        return xrandr.waitForFinished(5000) && xrandr.exitStatus() == QProcess::NormalExit
            && xrandr.exitCode() == 0;
    }

    XDriver::Window waitForOther(unsigned long calculator)
    {
        QElapsedTimer timer;
        timer.start();
        do {
            for (const XDriver::Window &w : m_session.x().viewableWindowsOf(m_session.pid()))
                if (w.id != calculator)
                    return w;
            QThread::msleep(10);
        } while (timer.elapsed() < kTimeoutMs);
        return XDriver::Window();
    }

private slots:
    void initTestCase()
    {
        QString missing = m_session.findTools();
        if (missing.isEmpty() && QStandardPaths::findExecutable(QStringLiteral("xrandr")).isEmpty())
            missing = QStringLiteral("xrandr is not installed");
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        m_session.setScreenSize(QStringLiteral("2304x1024"));
        QString error;
        QVERIFY2(m_session.start(&error), qPrintable(error));
        // The left monitor takes the screen's one output, so no monitor spans the whole root.
        QVERIFY(xrandr({"--setmonitor", "left", "1280/338x1024/270+0+0", "screen"}));
        QVERIFY(xrandr({"--setmonitor", "*right", "1024/270x768/203+1280+100", "none"}));
    }

    void cleanupTestCase() { m_session.finish(); }

    void bothWindowsOnThePrimaryMonitor()
    {
        QString error;
        const XDriver::Window calculator = m_session.startProgram(
            m_session.environment(), QStringLiteral("Quorvane Time Code Calculator"), kTimeoutMs,
            &error);
        QVERIFY2(calculator.id, qPrintable(error));
        const XDriver::Window about = waitForOther(calculator.id);
        QVERIFY2(about.id, "no about window");
        QCOMPARE(calculator.rect, QRect(kPrimary + QPoint(298, 247), QSize(286, 198)));
        // The about window's one-pixel border lies around its client area at 230, 238.
        QCOMPARE(about.rect, QRect(kPrimary + QPoint(229, 237), QSize(484, 285)));
        m_session.endCase();
    }
};

QTEST_GUILESS_MAIN(tst_Monitors)
#include "tst_monitors.moc"
