// The whole program as a user meets it, on a private X server: real key codes and mouse clicks
// through XTest, results read back through Copy and the clipboard with xclip.
#include "EndToEndFixture.h"

#include <QtTest>

namespace {

// Where the windows sit on the screen, in pixels: the calculator's client area at 4470,3705
// twips (4290 x 2970), the about window's client area at 3450,3570 twips (7230 x 4245) with
// a one-pixel border round it.
const QRect kCalculatorRect(pixels(4470), pixels(3705), pixels(4290), pixels(2970));
const QRect kAboutRect = QRect(pixels(3450), pixels(3570), pixels(7230), pixels(4245))
                             .adjusted(-1, -1, 1, 1);

QByteArray visible(const QByteArray &text)
{
    QByteArray shown = text;
    shown.replace('\0', "\\0").replace('\n', "\\n");
    return '"' + shown + '"';
}

} // namespace

class tst_EndToEnd : public EndToEndFixture
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_totalTime.start();
        const QString missing = m_session.findTools();
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        QString error;
        QVERIFY2(m_session.start(&error), qPrintable(error));
        startSessionBus();
        if (!m_noAccessibility.isEmpty())
            qInfo("message texts are not read: %s", qPrintable(m_noAccessibility));
        qInfo("%s on %s, ready after %lld ms", qPrintable(m_session.programPath()),
              qPrintable(m_session.display()), m_totalTime.elapsed());
    }

    void cleanupTestCase()
    {
        stop(m_sessionBus);
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
        m_window = 0;
        qInfo("%lld ms", m_caseTime.elapsed());
    }

    // The about window opens in front of the calculator with the keyboard; a key or a click
    // closes it and the calculator takes keys and access keys straight away.
    void aboutWindow_data()
    {
        QTest::addColumn<QString>("closeWith");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("copied");
        QTest::newRow("a closes it, access keys work at once")
            << "a" << "alt+p 2 4 2 4 kp+ 1 end" << QByteArray("00:00:25:00");
        QTest::newRow("Return closes it, digits work at once")
            << "ret" << "1 2" << QByteArray("00:00:00:12");
        QTest::newRow("a click closes it, access keys work at once")
            << "click" << "alt+d 5 9 2 9 kp+ 1 end" << QByteArray("00:01:00;02");
    }

    void aboutWindow()
    {
        QFETCH(QString, closeWith);
        QFETCH(QString, script);
        QFETCH(QByteArray, copied);
        startProgram();
        if (QTest::currentTestFailed())
            return;

        QCOMPARE(m_calculatorRect, kCalculatorRect);
        QCOMPARE(m_about.rect, kAboutRect);
        // In front: whatever of the calculator it covers, the about window is what shows.
        QCOMPARE(windowSeenAt(kCalculatorRect.center()), m_about.id);
        QCOMPARE(windowSeenAt(kCalculatorRect.topLeft()), m_about.id);
        QElapsedTimer focusTime;
        focusTime.start();
        QVERIFY2(m_x.waitForFocus(m_about.id, kFocusTimeoutMs),
                 "the about window does not have the keyboard");
        qInfo("waited %lld ms for the about window to have the keyboard", focusTime.elapsed());

        if (closeWith == QLatin1String("click")) {
            m_x.clickAt(m_about.rect.center());
            m_x.sync();
            m_x.movePointer(kRestingPointer);
        } else {
            play(closeWith);
        }
        QVERIFY2(m_x.waitUntilGone(m_about.id, kCloseTimeoutMs), "the about window stayed open");
        checkCalculatorAlive();
        QVERIFY2(m_x.waitForFocus(m_window, kFocusBackTimeoutMs),
                 "the calculator did not get the keyboard back");
        QCOMPARE(windowSeenAt(kCalculatorRect.center()), m_window);

        play(script);
        QCOMPARE(copy(true), copied);
    }

    // Digits and operators under every standard, picked by access keys or the mouse.
    void calculate_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("copied");
        QTest::newRow("NDF by Alt+N after PAL, a sum past a minute")
            << "alt+p alt+n 1 0 0 0 kp+ 5 9 2 9 kp+ 1 end" << QByteArray("00:01:10:00");
        QTest::newRow("DF by Alt+D, the minute boundary skips ;00 and ;01")
            << "alt+d 5 9 2 9 kp+ 1 end" << QByteArray("00:01:00;02");
        QTest::newRow("DF, the tenth minute keeps ;00")
            << "alt+d 9 5 9 2 9 kp+ 1 end" << QByteArray("00:10:00;00");
        QTest::newRow("PAL by Alt+P, 25 frames a second")
            << "alt+p 2 4 2 4 kp+ 1 end" << QByteArray("00:00:25:00");
        QTest::newRow("FILM by Alt+F, 24 frames a second")
            << "alt+f 2 3 2 3 kp+ 1 end" << QByteArray("00:00:24:00");
        QTest::newRow("23.98 by Alt+2, 24 labels a second")
            << "alt+2 2 3 2 3 kp+ 1 end" << QByteArray("00:00:24:00");
        QTest::newRow("frm by a click, a blank before the count")
            << "[frm] 1 0 kp+ 5 end" << QByteArray(" 15");
        QTest::newRow("NDF to frm keeps the frames") << "1 0 0 [frm]" << QByteArray(" 30");
        QTest::newRow("frm to DF keeps the frames")
            << "[frm] 1 8 0 0 alt+d" << QByteArray("00:01:00;02");
        QTest::newRow("frm to PAL keeps the frames")
            << "[frm] 1 8 0 0 alt+p" << QByteArray("00:01:12:00");
        QTest::newRow("PAL by a click") << "[PAL] 2 4 2 4 kp+ 1 end" << QByteArray("00:00:25:00");
        QTest::newRow("keypad times by a frame count")
            << "1 0 0 kp* 3 end" << QByteArray("00:00:03:00");
        QTest::newRow("keypad times by a time code uses its frames")
            << "1 0 0 kp* 1 0 0 end" << QByteArray("00:00:30:00");
        QTest::newRow("keypad times in PAL") << "alt+p 1 0 kp* 3 end" << QByteArray("00:00:01:05");
        QTest::newRow("keypad divide") << "1 0 0 0 kp/ 4 end" << QByteArray("00:00:02:15");
        QTest::newRow("divide, 2.5 rounds to 2") << "1 0 kp/ 4 end" << QByteArray("00:00:00:02");
        QTest::newRow("divide, 3.5 rounds to 4") << "1 4 kp/ 4 end" << QByteArray("00:00:00:04");
        QTest::newRow("divide by a larger value gives 1")
            << "3 kp/ 1 0 end" << QByteArray("00:00:00:01");
        QTest::newRow("minus stops at zero") << "3 kp- 1 0 end" << QByteArray("00:00:00:00");
        QTest::newRow("an operator completes the one before")
            << "5 kp+ 3 kp+" << QByteArray("00:00:00:08");
        QTest::newRow("equals twice does nothing more")
            << "5 kp+ 3 end end" << QByteArray("00:00:00:08");
        QTest::newRow("Backspace removes the last digit")
            << "5 kp+ 9 bksp 3 end" << QByteArray("00:00:00:08");
        QTest::newRow("Escape clears the sum") << "5 kp+ 9 esc 2 kp+ 1 end" << QByteArray("00:00:00:03");
        QTest::newRow("digits and operators by the mouse")
            << "[9] [+] [3] [x] [2] [--] [4] [/] [2] [=]" << QByteArray("00:00:00:10");
    }

    void calculate()
    {
        QFETCH(QString, script);
        QFETCH(QByteArray, copied);
        openCalculator();
        if (QTest::currentTestFailed())
            return;
        play(script);
        if (QTest::currentTestFailed())
            return;
        checkCalculatorAlive();
        QCOMPARE(copy(), copied);
    }

    // The buttons' and option boxes' access keys (Alt+S and Alt+R with the memories, Alt+O with
    // Copy).
    void accessKeys_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("copied");
        QTest::newRow("Alt+C clears the pending sum")
            << "5 kp+ alt+c 3 end" << QByteArray("00:00:00:03");
        QTest::newRow("Alt+E clears the entry, the sum goes on")
            << "5 kp+ 9 alt+e 3 end" << QByteArray("00:00:00:08");
        QTest::newRow("Alt+B removes the last digit") << "1 2 3 alt+b" << QByteArray("00:00:00:12");
        QTest::newRow("Alt+T pastes the value Alt+O copied")
            << "1 2 alt+o 3 4 alt+t kp+ 1 end" << QByteArray("00:00:00:13");
        QTest::newRow("the same without Alt+T") << "1 2 alt+o 3 4 kp+ 1 end"
                                                << QByteArray("00:00:13:05");
        QTest::newRow("Alt+M drops the marks") << "1 2 alt+m" << QByteArray("00000012");
        QTest::newRow("Alt+M twice brings them back") << "1 2 alt+m alt+m"
                                                      << QByteArray("00:00:00:12");
        QTest::newRow("Alt+M on a result") << "5 kp+ 7 end alt+m" << QByteArray("00000012");
        QTest::newRow("Alt+L drops leading zeros") << "1 0 5 alt+l" << QByteArray("1:05");
        QTest::newRow("Alt+L in drop frame") << "alt+d 1 0 5 alt+l" << QByteArray("1;05");
        QTest::newRow("Alt+M and Alt+L") << "1 0 5 alt+m alt+l" << QByteArray("105");
        QTest::newRow("Marks by a click") << "1 2 [Marks]" << QByteArray("00000012");
    }

    void accessKeys()
    {
        calculate();
    }

    // Two memories: MS/MR by access keys or clicks, MS1/MR1 by clicks (they have no access key).
    void memories_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("copied");
        QTest::newRow("CE after MS shows zero") << "1 2 alt+s alt+e" << QByteArray("00:00:00:00");
        QTest::newRow("MR brings the stored value back")
            << "1 2 alt+s alt+e alt+r" << QByteArray("00:00:00:12");
        QTest::newRow("MS and MR by clicks") << "5 6 [MS] [CE] [MR]" << QByteArray("00:00:01:26");
        QTest::newRow("MS1 and MR1 by clicks")
            << "1 2 [MS1] alt+e [MR1]" << QByteArray("00:00:00:12");
        QTest::newRow("MR1 gives memory 2, not memory 1")
            << "1 2 [MS1] alt+e 3 4 alt+s alt+e [MR1]" << QByteArray("00:00:00:12");
        QTest::newRow("MR gives memory 1, not memory 2")
            << "1 2 [MS1] alt+e 3 4 alt+s alt+e alt+r" << QByteArray("00:00:01:04");
        QTest::newRow("a standard change carries the frames")
            << "1 0 0 alt+s alt+p" << QByteArray("00:00:01:05");
        QTest::newRow("MR reads the stored text under the new standard")
            << "1 0 0 alt+s alt+p alt+r" << QByteArray("00:00:01:00");
        QTest::newRow("a recalled value in a sum")
            << "1 0 alt+s alt+e 5 kp+ alt+r end" << QByteArray("00:00:00:15");
        QTest::newRow("CLR empties memory 1") << "1 2 alt+s [MS1] alt+c alt+r"
                                              << QByteArray("00:00:00:00");
        QTest::newRow("CLR empties memory 2") << "1 2 alt+s [MS1] alt+c [MR1]"
                                              << QByteArray("00:00:00:00");
    }

    void memories()
    {
        calculate();
    }

    // What Copy puts on the clipboard is the display's text, exactly: no NULs after it.
    void copyText_data()
    {
        QTest::addColumn<bool>("accessKey");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("copied");
        QTest::newRow("click, zero at start") << false << "" << QByteArray("00:00:00:00");
        QTest::newRow("click, a time code") << false << "1 2 3 4 5 6 7 8"
                                            << QByteArray("12:34:58:18");
        QTest::newRow("Alt+O, a drop-frame time code")
            << true << "alt+d 1 0 0 0 0 0" << QByteArray("00:10:00;00");
        QTest::newRow("Alt+O, a frame count") << true << "[frm] 2 5 9 1 9 9 9"
                                              << QByteArray(" 2591999");
        QTest::newRow("click, no leading zeros") << false << "alt+l 1 2" << QByteArray("12");
    }

    void copyText()
    {
        QFETCH(bool, accessKey);
        QFETCH(QString, script);
        QFETCH(QByteArray, copied);
        openCalculator();
        if (QTest::currentTestFailed())
            return;
        play(script);
        if (QTest::currentTestFailed())
            return;
        checkCalculatorAlive();
        const QByteArray text = copy(accessKey);
        QVERIFY2(!text.contains('\0'), visible(text).constData());
        QCOMPARE(text, copied);
    }

    // A value out of range: a modal message box captioned "Ostrel", OK only, closed with
    // Enter; the calculator then starts again from 0.
    void rangeMessage_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QByteArray>("copied");
        const QString frameCount = QStringLiteral(" ERROR : Maximum frame count = 2591999 ");
        const QString ndfLimit = QStringLiteral("ERROR : Maximum Time Code = 24:00:00:00");
        QTest::newRow("frame count typed, typing goes on")
            << "[frm] 2 5 9 2 0 0 0" << frameCount << "1 5" << QByteArray(" 15");
        QTest::newRow("frame count typed, the sum before is dropped")
            << "[frm] 5 kp+ 2 5 9 2 0 0 0" << frameCount << "kp+ 7 end" << QByteArray(" 7");
        QTest::newRow("NDF time code typed, value 0")
            << "2 4 0 0 0 0 0 1" << ndfLimit << "" << QByteArray("00:00:00:00");
        QTest::newRow("NDF time code typed, typing goes on")
            << "2 4 0 0 0 0 0 1" << ndfLimit << "1 2" << QByteArray("00:00:00:12");
        QTest::newRow("DF time code typed")
            << "alt+d 2 4 0 0 0 0 0 1" << "ERROR : Maximum Time Code = 24:00:00;00"
            << "5 9 2 9 kp+ 1 end" << QByteArray("00:01:00;02");
        QTest::newRow("PAL time code typed")
            << "alt+p 2 4 0 0 0 0 0 1" << ndfLimit << "2 4 kp+ 1 end" << QByteArray("00:00:01:00");
        QTest::newRow("NDF sum reaching 24 hours")
            << "2 3 5 9 5 9 2 9 kp+ 1 end" << ndfLimit << "kp+ 3 end" << QByteArray("00:00:00:03");
    }

    void rangeMessage()
    {
        QFETCH(QString, before);
        QFETCH(QString, message);
        QFETCH(QString, after);
        QFETCH(QByteArray, copied);
        openCalculator(true);
        if (QTest::currentTestFailed())
            return;
        play(before);
        if (QTest::currentTestFailed())
            return;

        const XDriver::Window box = m_x.waitForWindow(pid(), kMessageTitle, kWindowTimeoutMs);
        QVERIFY2(box.id, "no window captioned Ostrel");
        QCOMPARE(m_x.netWmName(box.id), kMessageTitle);
        QCOMPARE(m_x.transientFor(box.id), m_window);
        // Windows keeps a message modal itself, and Wine's windows carry no X window state.
        if (!windowsProgram())
            QVERIFY2(m_x.netWmState(box.id).contains(QStringLiteral("_NET_WM_STATE_MODAL")),
                     qPrintable(m_x.netWmState(box.id).join(QLatin1Char(' '))));
        QVERIFY2(m_x.waitForFocus(box.id, kFocusTimeoutMs), "the message has no keyboard");
        QCOMPARE(windowSeenAt(box.rect.center()), box.id);

        // Its text and buttons as a screen reader gives them.
        if (m_noAccessibility.isEmpty()) {
            const QStringList expected = {"alert: " + kMessageTitle, "label: " + message,
                                          "button: OK"};
            QCOMPARE(accessibleContents(kMessageTitle), expected);
        }

        play(QStringLiteral("ret"));
        QVERIFY2(m_x.waitUntilGone(box.id, kCloseTimeoutMs), "Enter did not close the message");
        checkCalculatorAlive();
        QCOMPARE(m_x.viewableWindowsOf(pid()).size(), 1);
        // Without the keyboard the calculator cannot go on; give it back so that the value
        // is still checked, and report the missing hand-over last.
        const bool keyboardBack = m_x.waitForFocus(m_window, kFocusBackTimeoutMs);
        const unsigned long focusAfter = m_x.inputFocus();
        if (!keyboardBack)
            m_x.focus(m_window);
        play(after);
        QCOMPARE(copy(), copied);
        const QString holder = focusAfter == m_x.rootWindow()
            ? QStringLiteral("the root window")
            : QStringLiteral("window 0x%1").arg(focusAfter, 0, 16);
        QVERIFY2(keyboardBack,
                 qPrintable(QStringLiteral("after the message the keyboard is with %1, not the "
                                           "calculator 0x%2")
                                .arg(holder)
                                .arg(m_window, 0, 16)));
    }
};

QTEST_GUILESS_MAIN(tst_EndToEnd)
#include "tst_endtoend.moc"
