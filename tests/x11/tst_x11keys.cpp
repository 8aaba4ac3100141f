// The real program on a private X server: real key codes injected through XTest, the
// result read back through the clipboard with xclip.
#include "XSession.h"

#include <QElapsedTimer>
#include <QHash>
#include <QThread>
#include <QtTest>

namespace {

constexpr int kKeyGapMs = 10;          // between injected key events, as a quick typist
constexpr int kWindowTimeoutMs = 10000; // start-up, generous for sanitizer builds

// X key codes under the evdev rules (US layout).
const QHash<QString, int> &keycodes()
{
    static const QHash<QString, int> codes = {
        {"1", 10}, {"2", 11}, {"3", 12}, {"4", 13}, {"5", 14}, {"6", 15}, {"7", 16},
        {"8", 17}, {"9", 18}, {"0", 19},
        {"kp0", 90}, {"kp1", 87}, {"kp2", 88}, {"kp3", 89}, {"kp4", 83}, {"kp5", 84},
        {"kp6", 85}, {"kp7", 79}, {"kp8", 80}, {"kp9", 81}, {"kp.", 91},
        {"kp/", 106}, {"kp*", 63}, {"kp-", 82}, {"kp+", 86},
        {"end", 115}, {"del", 119}, {"bs", 22}, {"esc", 9}, {"space", 65}, {"ret", 36},
        {"o", 32}, {"a", 38},
        {"shift", 50}, {"alt", 64},
    };
    return codes;
}

// Button places in the calculator's client area (logical pixels).
const QHash<QString, QRect> &buttons()
{
    static const QHash<QString, QRect> places = {
        {"Copy", {57, 126, 41, 33}}, {"Paste", {57, 159, 41, 33}},
        {"MS", {7, 60, 41, 33}},     {"MR", {7, 93, 41, 33}},
        {"MS1", {7, 126, 41, 33}},   {"MR1", {7, 159, 41, 33}},
    };
    return places;
}

const QPoint kRestingPointer(5, 5);
const QString kTitle = QStringLiteral("Quorvane Time Code Calculator");

} // namespace

class tst_X11Keys : public QObject
{
    Q_OBJECT

private:
    XSession m_session{"OSTREL_X11_PROGRAM"};
    XDriver &m_x = m_session.x();
    unsigned long m_window = 0;
    QPoint m_origin;
    int m_aboutShown = -1; // whether the program shows an about window: not known yet
    QElapsedTimer m_caseTime;
    QElapsedTimer m_totalTime;

    void clickButton(const QString &name)
    {
        QVERIFY2(buttons().contains(name), qPrintable(name));
        m_x.clickAt(m_origin + buttons().value(name).center());
        QThread::msleep(kKeyGapMs);
    }

    void tap(int keycode)
    {
        m_x.key(keycode, true);
        QThread::msleep(kKeyGapMs);
        m_x.key(keycode, false);
        QThread::msleep(kKeyGapMs);
    }

    int code(const QString &name)
    {
        const int found = keycodes().value(name, -1);
        if (found < 0)
            qWarning("no key code for %s", qPrintable(name));
        return found;
    }

    // Words: "5", "kp+", "esc" ... a key tapped; "shift+8", "alt+2" with the modifier held;
    // "hold:5" held for a second; "[Copy]" a button clicked; "wait:300" a pause in ms;
    // "{abc}" another program puts abc on the clipboard; "?text" waits until the clipboard
    // holds text; "shot:name" saves a screenshot when OSTREL_X11_SCREENSHOTS names a folder.
    void play(const QString &script)
    {
        for (const QString &word : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (word.startsWith(QLatin1Char('['))) {
                clickButton(word.mid(1, word.size() - 2));
            } else if (word.startsWith(QLatin1Char('{'))) {
                QVERIFY2(m_session.ownClipboard(word.mid(1, word.size() - 2).toLatin1()),
                         "xclip did not take the clipboard");
            } else if (word.startsWith(QLatin1Char('?'))) {
                QVERIFY2(m_session.waitForClipboard(word.mid(1).toLatin1()), qPrintable(word));
            } else if (word.startsWith(QLatin1String("wait:"))) {
                QThread::msleep(word.mid(5).toULong());
            } else if (word.startsWith(QLatin1String("shot:"))) {
                const QString folder = qEnvironmentVariable("OSTREL_X11_SCREENSHOTS");
                if (!folder.isEmpty()) {
                    QThread::msleep(200); // let the program paint
                    m_x.sync();
                    QVERIFY(m_x.savePpm(m_window, folder + QLatin1Char('/') + word.mid(5) + ".ppm"));
                }
            } else if (word.startsWith(QLatin1String("hold:"))) {
                const int keycode = code(word.mid(5));
                QVERIFY(keycode > 0);
                m_x.key(keycode, true);
                QThread::msleep(1000);
                m_x.key(keycode, false);
                QThread::msleep(kKeyGapMs);
            } else if (word.contains(QLatin1Char('+')) && word.size() > 1
                       && !word.startsWith(QLatin1String("kp"))) {
                const int modifier = code(word.section(QLatin1Char('+'), 0, 0));
                const int keycode = code(word.section(QLatin1Char('+'), 1));
                QVERIFY(modifier > 0 && keycode > 0);
                m_x.key(modifier, true);
                QThread::msleep(kKeyGapMs);
                tap(keycode);
                m_x.key(modifier, false);
                QThread::msleep(kKeyGapMs);
            } else {
                const int keycode = code(word);
                QVERIFY2(keycode > 0, qPrintable(word));
                tap(keycode);
            }
        }
    }

    // Copy, by a click or by its access key, read back with xclip.
    QByteArray copy(bool accessKey = false)
    {
        return m_session.clipboardAfter([&] {
            if (accessKey)
                play(QStringLiteral("alt+o"));
            else
                clickButton(QStringLiteral("Copy"));
        });
    }

    void setNumLock(bool on)
    {
        if (m_x.numLock() != on)
            m_x.toggleNumLock();
        QElapsedTimer timer;
        timer.start();
        while (m_x.numLock() != on && timer.elapsed() < 1000)
            QThread::msleep(10);
        QCOMPARE(m_x.numLock(), on);
    }

    // Starts the program, waits for its window, closes an about window if one shows,
    // and gives the calculator the keyboard.
    void startProgram()
    {
        // The pointer away from every window: a tooltip must not pass for an about window.
        m_x.movePointer(kRestingPointer);
        QString error;
        const XDriver::Window calculator =
            m_session.startProgram(m_session.environment(), kTitle, kWindowTimeoutMs, &error);
        m_window = calculator.id;
        m_origin = calculator.rect.topLeft();
        QVERIFY2(m_window, qPrintable(error));
        const qint64 pid = m_session.pid();
        // An about window shown at start-up takes the keyboard; a click on it closes it. It
        // can map a little after the calculator: wait for it as long as the first start
        // showed whether the program has one.
        const int aboutWaitMs = m_aboutShown < 0 ? 2000 : m_aboutShown ? kWindowTimeoutMs : 250;
        bool closedOne = false;
        QElapsedTimer aboutTimer;
        aboutTimer.start();
        while (!closedOne && aboutTimer.elapsed() < aboutWaitMs) {
            for (const XDriver::Window &w : m_x.viewableWindowsOf(pid)) {
                if (w.id == m_window || w.rect.width() < 100)
                    continue;
                closedOne = true;
                qInfo("closing window '%s' at %d,%d %dx%d", qPrintable(w.title), w.rect.x(),
                      w.rect.y(), w.rect.width(), w.rect.height());
                m_x.clickAt(w.rect.center());
                QElapsedTimer closing;
                closing.start();
                while (m_x.isViewable(w.id) && closing.elapsed() < 3000)
                    QThread::msleep(10);
                QVERIFY2(!m_x.isViewable(w.id), "the about window did not close");
                m_x.movePointer(kRestingPointer);
            }
            QThread::msleep(25);
        }
        if (m_aboutShown < 0)
            m_aboutShown = closedOne ? 1 : 0;
        QVERIFY2(closedOne == bool(m_aboutShown), "an about window in one start and not in another");
        m_x.focus(m_window);
    }

private slots:
    void initTestCase()
    {
        m_totalTime.start();
        const QString missing = m_session.findTools();
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        QString error;
        QVERIFY2(m_session.start(&error), qPrintable(error));
        qInfo("Xvfb on %s ready after %lld ms", qPrintable(m_session.display()),
              m_totalTime.elapsed());
    }

    void cleanupTestCase()
    {
        m_session.finish();
        qInfo("whole test %lld ms", m_totalTime.elapsed());
    }

    void init()
    {
        m_caseTime.start();
    }

    void cleanup()
    {
        m_session.endCase();
        qInfo("%s %s: %lld ms", QTest::currentTestFunction(),
              QTest::currentDataTag() ? QTest::currentDataTag() : "", m_caseTime.elapsed());
    }

    void keys_data()
    {
        QTest::addColumn<bool>("numLock");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("copied");
        QTest::newRow("main row digits") << true << "1 2" << QByteArray("00:00:00:12");
        QTest::newRow("same digit twice") << true << "1 1" << QByteArray("00:00:00:11");
        QTest::newRow("shift+8 enters 8") << true << "1 shift+8" << QByteArray("00:00:00:18");
        QTest::newRow("keypad digits, num lock on") << true << "kp1 kp2" << QByteArray("00:00:00:12");
        QTest::newRow("keypad plus, end for equals")
            << true << "kp5 kp+ kp3 end" << QByteArray("00:00:00:08");
        QTest::newRow("keypad minus") << true << "kp9 kp- kp4 end" << QByteArray("00:00:00:05");
        QTest::newRow("keypad times") << true << "kp6 kp* kp7 end" << QByteArray("00:00:01:12");
        QTest::newRow("keypad divide") << true << "kp8 kp/ kp2 end" << QByteArray("00:00:00:04");
        QTest::newRow("keypad 1, num lock off, is equals")
            << false << "5 kp+ 3 kp1" << QByteArray("00:00:00:08");
        QTest::newRow("keypad ., num lock off, is backspace")
            << false << "1 2 3 kp." << QByteArray("00:00:00:12");
        QTest::newRow("keypad ., num lock on, does nothing")
            << true << "1 2 3 kp." << QByteArray("00:00:01:23");
        QTest::newRow("delete and backspace") << true << "1 2 3 4 del bs" << QByteArray("00:00:00:12");
        QTest::newRow("space on the focused digit") << true << "1 5 space" << QByteArray("00:00:00:15");
        QTest::newRow("held digit enters once") << true << "1 hold:5" << QByteArray("00:00:00:15");
        QTest::newRow("held keypad digit enters once")
            << true << "1 hold:kp5" << QByteArray("00:00:00:15");
        QTest::newRow("enter presses the focused digit")
            << true << "5 kp+ 3 ret end" << QByteArray("00:00:01:08");
        QTest::newRow("escape clears all, memories too")
            << true << "1 2 [MS] esc [MR]" << QByteArray("00:00:00:00");
        QTest::newRow("alt+2 selects 23.98 and types nothing")
            << true << "1 alt+2 wait:300" << QByteArray("00:00:00:01");
        QTest::newRow("paste before any copy empties the display text")
            << true << "{abc} [Paste] shot:paste-abc" << QByteArray("");
        QTest::newRow("paste brings back the copied text")
            << true << "1 2 [Copy] ?00:00:00:12 3 [Paste] shot:paste-copied" << QByteArray("00:00:00:12");
    }

    void keys()
    {
        QFETCH(bool, numLock);
        QFETCH(QString, script);
        QFETCH(QByteArray, copied);
        setNumLock(numLock);
        startProgram();
        if (QTest::currentTestFailed())
            return;
        play(script);
        if (QTest::currentTestFailed())
            return;
        if (!m_x.isViewable(m_window)) {
            for (const XDriver::Window &w : m_x.viewableWindowsOf(m_session.pid()))
                qInfo("window %lx '%s' %d,%d %dx%d", w.id, qPrintable(w.title), w.rect.x(),
                      w.rect.y(), w.rect.width(), w.rect.height());
            qInfo("calculator %lx, program state %d", m_window,
                  int(m_session.program()->state()));
        }
        QVERIFY2(m_x.isViewable(m_window), "the calculator window is gone");
        QCOMPARE(m_session.program()->state(), QProcess::Running);
        QCOMPARE(copy(), copied);
    }

    // The access key of Copy (Alt+O) copies as the click does.
    void copyByAccessKey()
    {
        setNumLock(true);
        startProgram();
        if (QTest::currentTestFailed())
            return;
        play(QStringLiteral("4 2"));
        QCOMPARE(copy(true), QByteArray("00:00:01:12"));
    }
};

QTEST_GUILESS_MAIN(tst_X11Keys)
#include "tst_x11keys.moc"
