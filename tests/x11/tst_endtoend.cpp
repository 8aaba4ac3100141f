// The whole program as a user meets it, on a private X server: real key codes and mouse clicks
// through XTest, results read back through Copy and the clipboard with xclip.
#include "EndToEndCases.h"
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

// The rows of a test whose cases are a script and the text Copy then gives.
void addScriptRows(const char *test)
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QByteArray>("copied");
    for (const EndToEndCase &row : endToEndCases(QLatin1String(test), {"script", "copied"}))
        QTest::newRow(row.name) << row.text(0) << row.bytes(1);
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
        for (const EndToEndCase &row :
             endToEndCases("aboutWindow", {"closeWith", "script", "copied"}))
            QTest::newRow(row.name) << row.text(0) << row.text(1) << row.bytes(2);
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
        addScriptRows("calculate");
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
        addScriptRows("accessKeys");
    }

    void accessKeys()
    {
        calculate();
    }

    // Two memories: MS/MR by access keys or clicks, MS1/MR1 by clicks (they have no access key).
    void memories_data()
    {
        addScriptRows("memories");
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
        for (const EndToEndCase &row : endToEndCases("copyText", {"copyBy", "script", "copied"}))
            QTest::newRow(row.name) << (row.text(0) == QLatin1String("alt+o")) << row.text(1)
                                    << row.bytes(2);
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
        for (const EndToEndCase &row :
             endToEndCases("rangeMessage", {"before", "message", "after", "copied"}))
            QTest::newRow(row.name) << row.text(0) << row.text(1) << row.text(2) << row.bytes(3);
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
