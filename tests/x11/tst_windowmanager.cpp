// The program under a real window manager (openbox) on a private X server: stacking and
// activation of the two windows, their X properties, and the about window and the controls
// driven by real key and mouse events (XTest).
#include "WindowManager.h"
#include "XSession.h"

#include <QElapsedTimer>
#include <QHash>
#include <QThread>
#include <QtTest>

namespace {

constexpr int kGapMs = 10;
constexpr int kTimeoutMs = 10000;

// X key codes under the evdev rules (US layout).
const QHash<QString, int> &keycodes()
{
    static const QHash<QString, int> codes = {
        {"1", 10}, {"2", 11}, {"5", 14}, {"kp+", 86}, {"end", 115}, {"del", 119},
        {"a", 38}, {"e", 26}, {"r", 27}, {"left", 113}, {"right", 114}, {"up", 111},
        {"down", 116}, {"alt", 64}, {"ctrl", 37},
    };
    return codes;
}

// Places in the calculator's client area (logical pixels).
const QHash<QString, QRect> &places()
{
    static const QHash<QString, QRect> rects = {
        {"Copy", {57, 126, 41, 33}}, {"MS", {7, 60, 41, 33}}, {"info", {248, 4, 33, 25}},
        {"NDF", {8, 36, 49, 17}},    {"FILM", {141, 36, 49, 17}}, {"frm", {241, 36, 41, 17}},
    };
    return rects;
}

const QString kTitle = QStringLiteral("Quorvane Time Code Calculator");
const QPoint kAway(5, 5);

} // namespace

class tst_WindowManager : public QObject
{
    Q_OBJECT

private:
    XSession m_session{"OSTREL_X11_PROGRAM"};
    XDriver &m_x = m_session.x();
    WindowManager m_wm;
    XDriver::Window m_calculator;
    XDriver::Window m_about;

    void tap(int code)
    {
        m_x.key(code, true);
        QThread::msleep(kGapMs);
        m_x.key(code, false);
        QThread::msleep(kGapMs);
    }

    // Words: "5", "del" a key tapped; "alt+r" with the modifier held; "[Copy]" a click in
    // the calculator; "wait:200" a pause in ms.
    void play(const QString &script)
    {
        for (const QString &word : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (word.startsWith(QLatin1Char('['))) {
                const QString name = word.mid(1, word.size() - 2);
                QVERIFY2(places().contains(name), qPrintable(name));
                QVERIFY(m_x.clickAt(m_calculator.rect.topLeft() + places().value(name).center()));
                QThread::msleep(kGapMs);
            } else if (word.startsWith(QLatin1String("wait:"))) {
                QThread::msleep(word.mid(5).toULong());
            } else if (word.size() > 1 && word.contains(QLatin1Char('+')) && word != "kp+") {
                const int modifier = keycodes().value(word.section(QLatin1Char('+'), 0, 0));
                const int code = keycodes().value(word.section(QLatin1Char('+'), 1));
                QVERIFY2(modifier && code, qPrintable(word));
                m_x.key(modifier, true);
                tap(code);
                m_x.key(modifier, false);
                QThread::msleep(kGapMs);
            } else {
                QVERIFY2(keycodes().contains(word), qPrintable(word));
                tap(keycodes().value(word));
            }
        }
    }

    // Waits for the about window of the running program; id 0 if none shows.
    XDriver::Window waitForAbout()
    {
        QElapsedTimer timer;
        timer.start();
        do {
            for (const XDriver::Window &w : m_x.viewableWindowsOf(m_session.pid()))
                if (w.id != m_calculator.id)
                    return w;
            QThread::msleep(kGapMs);
        } while (timer.elapsed() < kTimeoutMs);
        return XDriver::Window();
    }

    void startProgram()
    {
        m_x.movePointer(kAway);
        QString error;
        m_calculator = m_session.startProgram(m_session.environment(), kTitle, kTimeoutMs, &error);
        QVERIFY2(m_calculator.id, qPrintable(error));
        m_about = waitForAbout();
        QVERIFY2(m_about.id, "no about window");
    }

    // Until the program has read every event sent so far.
    void settle() { QVERIFY(m_x.ping(m_calculator.id, 3000)); }

    bool aboutOpen() { return m_x.isViewable(m_about.id); }

    void closeAboutWithClick()
    {
        QVERIFY(m_x.clickAt(m_about.rect.center()));
        QVERIFY(m_x.waitUntilGone(m_about.id, 3000));
        // The window manager hands the keyboard back in its own time; keys sent before then
        // reach no window.
        const bool keyboardBack = m_x.waitForFocus(m_calculator.id, kTimeoutMs);
        if (!keyboardBack)
            qWarning("input focus: %lx, calculator: %lx", m_x.inputFocus(), m_calculator.id);
        QVERIFY2(keyboardBack, "the calculator did not get the keyboard back");
        m_x.movePointer(kAway);
    }

    int stackIndex(unsigned long window) { return int(m_wm.stacking().indexOf(window)); }

    QByteArray copy()
    {
        return m_session.clipboardAfter([&] { play(QStringLiteral("[Copy]")); });
    }

private slots:
    void initTestCase()
    {
        QString missing = m_session.findTools();
        if (missing.isEmpty())
            missing = m_wm.findTool();
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        QString error;
        QVERIFY2(m_session.start(&error), qPrintable(error));
        QVERIFY2(m_wm.start(m_session.environment(), m_session.display(), &error),
                 qPrintable(error));
    }

    void cleanupTestCase()
    {
        m_session.endCase();
        m_wm.finish();
        m_session.finish();
    }

    void cleanup() { m_session.endCase(); }

    // In front and active at start; raising the calculator then puts it above.
    void stacking()
    {
        startProgram();
        QTRY_COMPARE_WITH_TIMEOUT(m_wm.activeWindow(), m_about.id, kTimeoutMs);
        QVERIFY(stackIndex(m_about.id) > stackIndex(m_calculator.id));
        m_wm.activate(m_calculator.id);
        QTRY_COMPARE_WITH_TIMEOUT(m_wm.activeWindow(), m_calculator.id, kTimeoutMs);
        QTRY_VERIFY(stackIndex(m_calculator.id) > stackIndex(m_about.id));
        QVERIFY(aboutOpen());
    }

    void properties()
    {
        startProgram();
        QCOMPARE(m_x.transientFor(m_about.id), 0ul);
        const QStringList aboutState = m_x.netWmState(m_about.id);
        QVERIFY2(aboutState.contains("_NET_WM_STATE_SKIP_TASKBAR"), qPrintable(aboutState.join(' ')));
        QVERIFY2(aboutState.contains("_NET_WM_STATE_SKIP_PAGER"), qPrintable(aboutState.join(' ')));
        QCOMPARE(m_x.netWmName(m_about.id), QString());
        QCOMPARE(m_wm.wmName(m_about.id), QByteArray());
        QVERIFY(m_wm.windowType(m_about.id).contains("_NET_WM_WINDOW_TYPE_NORMAL"));
        QCOMPARE(m_about.rect, QRect(229, 237, 484, 285)); // client at 3450, 3570 twips

        QCOMPARE(m_x.transientFor(m_calculator.id), 0ul);
        QVERIFY(!m_x.netWmState(m_calculator.id).contains("_NET_WM_STATE_SKIP_TASKBAR"));
        QCOMPARE(m_x.netWmName(m_calculator.id), kTitle);
        QVERIFY(m_wm.windowType(m_calculator.id).contains("_NET_WM_WINDOW_TYPE_NORMAL"));
        QCOMPARE(m_calculator.rect, QRect(298, 247, 286, 198)); // 4470, 3705 twips
    }

    // Only keys that type a character close the about window; the others reach nothing.
    void aboutKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("closes");
        QTest::newRow("letter") << "a" << true;
        QTest::newRow("delete") << "del" << false;
        QTest::newRow("alt+letter") << "alt+a" << false;
        QTest::newRow("ctrl+letter") << "ctrl+a" << false;
        QTest::newRow("arrow") << "left" << false;
    }

    void aboutKeys()
    {
        QFETCH(QString, key);
        QFETCH(bool, closes);
        startProgram();
        closeAboutWithClick();
        play(QStringLiteral("1 2 [info]"));
        m_about = waitForAbout();
        QVERIFY(m_about.id);
        QTRY_COMPARE_WITH_TIMEOUT(m_wm.activeWindow(), m_about.id, kTimeoutMs);
        play(key);
        settle();
        QCOMPARE(aboutOpen(), !closes);
        if (aboutOpen())
            closeAboutWithClick();
        QCOMPARE(copy(), QByteArray("00:00:00:12"));
    }

    // A click is a press and a release on the same element, with any button.
    void aboutMouse_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("releaseAway");
        QTest::addColumn<bool>("closes");
        QTest::newRow("left") << 1 << false << true;
        QTest::newRow("right") << 3 << false << true;
        QTest::newRow("middle") << 2 << false << true;
        QTest::newRow("left, released outside") << 1 << true << false;
    }

    void aboutMouse()
    {
        QFETCH(int, button);
        QFETCH(bool, releaseAway);
        QFETCH(bool, closes);
        startProgram();
        m_wm.movePointer(m_about.rect.center());
        m_wm.button(button, true);
        settle();
        QVERIFY2(aboutOpen(), "closed on the press");
        if (releaseAway)
            m_wm.movePointer(kAway);
        m_wm.button(button, false);
        settle();
        if (closes)
            QVERIFY(m_x.waitUntilGone(m_about.id, 3000));
        else
            QVERIFY(aboutOpen());
    }

    // The arrows move through the standards in tab order: NDF DF PAL FILM frm 23.98.
    void arrows_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("copied");
        QTest::newRow("right from FILM to frm") << "[FILM] right" << QByteArray(" 12");
        QTest::newRow("down from frm to 23.98") << "[frm] down" << QByteArray("00:00:00:12");
        QTest::newRow("left from NDF wraps to 23.98") << "[NDF] left" << QByteArray("00:00:00:12");
        QTest::newRow("up from frm to FILM") << "[frm] up" << QByteArray("00:00:00:12");
    }

    void arrows()
    {
        QFETCH(QString, script);
        QFETCH(QByteArray, copied);
        startProgram();
        closeAboutWithClick();
        play(QStringLiteral("1 2 ") + script);
        QCOMPARE(copy(), copied);
    }

    // An access key acts at once: 5 + MR (12) = 17, not (5 + 5) then MR.
    void accessKeyKeepsTheOrder()
    {
        startProgram();
        closeAboutWithClick();
        play(QStringLiteral("1 2 [MS] alt+e wait:200 5 kp+ alt+r end"));
        QCOMPARE(copy(), QByteArray("00:00:00:17"));
    }
};

QTEST_GUILESS_MAIN(tst_WindowManager)
#include "tst_windowmanager.moc"
