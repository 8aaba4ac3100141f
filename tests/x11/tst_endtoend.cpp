// The whole program as a user meets it, on a private X server: real key codes and mouse clicks
// through XTest, results read back through Copy and the clipboard with xclip.
#include "XDriver.h"

#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#if defined(OSTREL_HAVE_QTDBUS)
#include "AccessibleTree.h"
#endif

#include <memory>
#include <vector>

#include <signal.h>
#include <sys/prctl.h>

namespace {

constexpr int kKeyGapMs = 10;            // between injected events, as a quick typist
constexpr int kAccessKeyClickMs = 130;   // Qt clicks a button 100 ms after its access key
constexpr int kPingTimeoutMs = 3000;
constexpr int kWindowTimeoutMs = 10000;  // start-up, generous for sanitizer builds
constexpr int kCloseTimeoutMs = 3000;
constexpr int kFocusTimeoutMs = 3000;
constexpr int kFocusBackTimeoutMs = 1500; // a window closing hands the keyboard on at once
constexpr int kClipboardTimeoutMs = 5000;

constexpr int kTwipsPerPixel = 15;

const QString kTitle = QStringLiteral("Quorvane Time Code Calculator");
const QString kMessageTitle = QStringLiteral("Ostrel");
const QPoint kRestingPointer(5, 5); // over the root window only

int pixels(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// Where the windows sit on the screen, in pixels: the calculator's client area at 4470,3705
// twips (4290 x 2970), the about window's client area at 3450,3570 twips (7230 x 4245) with
// a one-pixel border round it.
const QRect kCalculatorRect(pixels(4470), pixels(3705), pixels(4290), pixels(2970));
const QRect kAboutRect = QRect(pixels(3450), pixels(3570), pixels(7230), pixels(4245))
                             .adjusted(-1, -1, 1, 1);

// X key codes under the evdev rules (US layout).
const QHash<QString, int> &keycodes()
{
    static const QHash<QString, int> codes = {
        {"1", 10}, {"2", 11}, {"3", 12}, {"4", 13}, {"5", 14}, {"6", 15}, {"7", 16},
        {"8", 17}, {"9", 18}, {"0", 19},
        {"kp/", 106}, {"kp*", 63}, {"kp-", 82}, {"kp+", 86},
        {"end", 115}, {"ret", 36},
        {"a", 38}, {"b", 56}, {"c", 54}, {"d", 40}, {"e", 26}, {"f", 41}, {"l", 46},
        {"m", 58}, {"n", 57}, {"o", 32}, {"p", 33}, {"r", 27}, {"s", 39}, {"t", 28},
        {"alt", 64},
    };
    return codes;
}

struct Control
{
    int left, top, width, height; // twips in the client area
    bool indicator;                // an option or check box: click its round or square mark
};

// The controls a user clicks, by caption.
const QHash<QString, Control> &controls()
{
    static const QHash<QString, Control> table = {
        {"=", {2850, 2385, 615, 495, false}},    {"0", {1620, 2385, 615, 495, false}},
        {"1", {1620, 1890, 615, 495, false}},    {"2", {2235, 1890, 615, 495, false}},
        {"3", {2850, 1890, 615, 495, false}},    {"4", {1620, 1395, 615, 495, false}},
        {"5", {2235, 1395, 615, 495, false}},    {"6", {2850, 1395, 615, 495, false}},
        {"7", {1620, 900, 615, 495, false}},     {"8", {2235, 900, 615, 495, false}},
        {"9", {2850, 900, 615, 495, false}},     {"Bksp", {2235, 2385, 615, 495, false}},
        {"+", {3600, 900, 615, 495, false}},     {"--", {3600, 1395, 615, 495, false}},
        {"x", {3600, 1890, 615, 495, false}},    {"/", {3600, 2385, 615, 495, false}},
        {"CLR", {855, 900, 615, 495, false}},    {"CE", {855, 1395, 615, 495, false}},
        {"Copy", {855, 1890, 615, 495, false}},  {"Paste", {855, 2385, 615, 495, false}},
        {"MS", {105, 900, 615, 495, false}},     {"MR", {105, 1395, 615, 495, false}},
        {"MS1", {105, 1890, 615, 495, false}},   {"MR1", {105, 2385, 615, 495, false}},
        {"NDF", {120, 540, 735, 255, true}},     {"DF", {867, 540, 615, 255, true}},
        {"PAL", {1494, 540, 615, 255, true}},    {"FILM", {2121, 540, 735, 255, true}},
        {"23.98", {2868, 540, 735, 255, true}},  {"frm", {3615, 540, 615, 255, true}},
        {"Leading", {120, 120, 975, 255, true}}, {"Marks", {1080, 120, 735, 255, true}},
    };
    return table;
}

// A point the control answers to, in the client area. A radio button or check box answers
// only on its mark and caption, so aim a few pixels in from its left edge.
QPoint clickPoint(const Control &control)
{
    const QRect r(pixels(control.left), pixels(control.top), pixels(control.width),
                  pixels(control.height));
    return control.indicator ? QPoint(r.left() + 6, r.center().y()) : r.center();
}

// Children die with the test, whatever ends it.
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

QByteArray visible(const QByteArray &text)
{
    QByteArray shown = text;
    shown.replace('\0', "\\0").replace('\n', "\\n");
    return '"' + shown + '"';
}

} // namespace

class tst_EndToEnd : public QObject
{
    Q_OBJECT

private:
    QProcess m_xvfb;
    QTemporaryDir m_runtimeDir; // the programs' XDG_RUNTIME_DIR, private as Qt wants it
    QString m_display;
    QString m_xclip;
    XDriver m_x;
    std::unique_ptr<QProcess> m_program;
    std::vector<std::unique_ptr<QProcess>> m_owners; // xclip processes holding the clipboard
    unsigned long m_window = 0;
    QRect m_calculatorRect;
    QPoint m_origin;
    XDriver::Window m_about;
    int m_sentinels = 0;
    QElapsedTimer m_caseTime;
    QElapsedTimer m_totalTime;
    QProcess m_sessionBus; // private, for the accessibility bus
    QString m_sessionAddress;
#if defined(OSTREL_HAVE_QTDBUS)
    AccessibleTree m_accessible;
#endif
    QString m_noAccessibility; // why message texts cannot be read, when they cannot

    QProcessEnvironment childEnvironment(bool accessible = false) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        if (m_runtimeDir.isValid())
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDir.path());
        if (!m_sessionAddress.isEmpty())
            env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_sessionAddress);
        if (accessible)
            env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        return env;
    }

    // A session bus of the test's own; the accessibility bus starts on it when asked for.
    void startSessionBus()
    {
#if defined(OSTREL_HAVE_QTDBUS)
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty()) {
            m_noAccessibility = QStringLiteral("dbus-daemon is not installed");
            return;
        }
        dieWithParent(m_sessionBus);
        m_sessionBus.setProcessEnvironment(childEnvironment());
        m_sessionBus.setStandardErrorFile(QProcess::nullDevice());
        m_sessionBus.start(daemon, {"--session", "--nofork", "--print-address=1"});
        QElapsedTimer timer;
        timer.start();
        QByteArray address;
        while (!address.contains('\n') && timer.elapsed() < 5000
               && m_sessionBus.waitForReadyRead(int(5000 - timer.elapsed())))
            address += m_sessionBus.readAllStandardOutput();
        if (!address.contains('\n')) {
            stop(m_sessionBus);
            m_noAccessibility = QStringLiteral("dbus-daemon gave no address");
            return;
        }
        m_sessionAddress = QString::fromLatin1(address.trimmed());
        QString error;
        if (!m_accessible.open(m_sessionAddress, &error))
            m_noAccessibility = error;
#else
        m_noAccessibility = QStringLiteral("built without Qt D-Bus");
#endif
    }

    // The roles and names in the program's window titled title, over AT-SPI; waits (bounded)
    // for it to show there.
    QStringList accessibleContents(const QString &title)
    {
        QStringList lines;
#if defined(OSTREL_HAVE_QTDBUS)
        QElapsedTimer timer;
        timer.start();
        QList<AccessibleTree::Node> nodes;
        while (nodes.isEmpty() && timer.elapsed() < kWindowTimeoutMs) {
            nodes = m_accessible.windowContents(pid(), title);
            if (nodes.isEmpty())
                QThread::msleep(50);
        }
        for (const AccessibleTree::Node &node : nodes) {
            if (node.role == AccessibleTree::kAlert)
                lines.append(QStringLiteral("alert: ") + node.name);
            else if (node.role == AccessibleTree::kLabel && !node.name.isEmpty())
                lines.append(QStringLiteral("label: ") + node.name);
            else if (node.role == AccessibleTree::kPushButton)
                lines.append(QStringLiteral("button: ") + node.name);
        }
#else
        Q_UNUSED(title);
#endif
        return lines;
    }

    // The built program, or an installed one named by OSTREL_PROGRAM.
    static QString program()
    {
        const QString chosen = qEnvironmentVariable("OSTREL_PROGRAM");
        return chosen.isEmpty() ? QStringLiteral(OSTREL_PROGRAM) : chosen;
    }

    qint64 pid() const { return m_program ? m_program->processId() : -1; }

    // One read of the clipboard; false when no program owns it or it has no text.
    bool readClipboard(QByteArray *text)
    {
        QProcess xclip;
        xclip.setProcessEnvironment(childEnvironment());
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

    // xclip takes the clipboard with this text; waits until it holds it.
    bool ownClipboard(const QByteArray &text)
    {
        auto owner = std::make_unique<QProcess>();
        owner->setProcessEnvironment(childEnvironment());
        dieWithParent(*owner);
        owner->start(m_xclip, {"-selection", "clipboard", "-i", "-quiet"});
        if (!owner->waitForStarted(3000))
            return false;
        owner->write(text);
        // No event loop runs here: push the text out before closing the pipe.
        owner->waitForBytesWritten(2000);
        owner->closeWriteChannel();
        m_owners.push_back(std::move(owner));
        QElapsedTimer timer;
        timer.start();
        QByteArray seen;
        while (timer.elapsed() < kClipboardTimeoutMs) {
            if (readClipboard(&seen) && seen == text)
                return true;
            QThread::msleep(20);
        }
        return false;
    }

    // Another program holds the clipboard first, so the text read is the one the action put
    // there; a message when nothing came.
    QByteArray clipboardAfter(const QString &action)
    {
        const QByteArray sentinel = "ostrel end-to-end " + QByteArray::number(++m_sentinels);
        if (!ownClipboard(sentinel))
            return "<xclip did not take the clipboard>";
        play(action);
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < kClipboardTimeoutMs) {
            QByteArray text;
            if (readClipboard(&text) && text != sentinel)
                return text;
            QThread::msleep(20);
        }
        QByteArray windows = "<nothing copied; windows:";
        for (const XDriver::Window &w : m_x.viewableWindowsOf(pid()))
            windows += " '" + w.title.toUtf8() + "' " + QByteArray::number(w.rect.width()) + 'x'
                + QByteArray::number(w.rect.height());
        return windows + '>';
    }

    // The display's text through the Copy button, clicked or by its access key.
    QByteArray copy(bool accessKey = false)
    {
        return clipboardAfter(accessKey ? QStringLiteral("alt+o") : QStringLiteral("[Copy]"));
    }

    void tap(int keycode)
    {
        m_x.key(keycode, true);
        QThread::msleep(kKeyGapMs);
        m_x.key(keycode, false);
        m_x.sync();
        QThread::msleep(kKeyGapMs);
    }

    int code(const QString &name)
    {
        const int found = keycodes().value(name, -1);
        if (found < 0)
            qWarning("no key code for %s", qPrintable(name));
        return found;
    }

    // Qt clicks a button 100 ms after it reads its access key, so a fixed pause alone would
    // race a busy program. Two round trips make sure it has read the key (the second answer
    // comes after the event loop pass that handled it), then the click's time passes.
    void settleAfterAccessKey()
    {
        if (!m_x.ping(m_window, kPingTimeoutMs) || !m_x.ping(m_window, kPingTimeoutMs))
            qWarning("the calculator did not answer a ping");
        QThread::msleep(kAccessKeyClickMs);
        m_x.ping(m_window, kPingTimeoutMs);
    }

    // Words: "5", "kp+", "end" ... a key tapped; "alt+d" with Alt held; "[MS1]" a control
    // clicked by its caption.
    void play(const QString &script)
    {
        for (const QString &word : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (word.startsWith(QLatin1Char('[')) && word.endsWith(QLatin1Char(']'))) {
                const QString name = word.mid(1, word.size() - 2);
                QVERIFY2(controls().contains(name), qPrintable(word));
                m_x.clickAt(m_origin + clickPoint(controls().value(name)));
                m_x.sync();
                QThread::msleep(kKeyGapMs);
                // Away again, so that keys that follow cannot reach the calculator merely
                // because the pointer is over it, and no tooltip opens.
                m_x.movePointer(kRestingPointer);
                m_x.sync();
            } else if (word.size() > 2 && word.contains(QLatin1Char('+'))
                       && !word.startsWith(QLatin1String("kp"))) {
                const QString modifierName = word.section(QLatin1Char('+'), 0, 0);
                const int modifier = code(modifierName);
                const int keycode = code(word.section(QLatin1Char('+'), 1));
                QVERIFY2(modifier > 0 && keycode > 0, qPrintable(word));
                m_x.key(modifier, true);
                QThread::msleep(kKeyGapMs);
                tap(keycode);
                m_x.key(modifier, false);
                m_x.sync();
                QThread::msleep(kKeyGapMs);
                if (modifierName == QLatin1String("alt"))
                    settleAfterAccessKey();
            } else {
                const int keycode = code(word);
                QVERIFY2(keycode > 0, qPrintable(word));
                tap(keycode);
            }
        }
    }

    // Starts the program and waits for the calculator and the about window in front of it.
    void startProgram(bool accessible = false)
    {
        m_x.movePointer(kRestingPointer);
        m_x.sync();
        m_program = std::make_unique<QProcess>();
        m_program->setProcessEnvironment(childEnvironment(accessible));
        m_program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        dieWithParent(*m_program);
        m_program->start(program(), {});
        QVERIFY2(m_program->waitForStarted(5000), qPrintable(program()));
        const XDriver::Window calculator = m_x.waitForWindow(pid(), kTitle, kWindowTimeoutMs);
        QVERIFY2(calculator.id, "the calculator window did not show");
        m_window = calculator.id;
        m_calculatorRect = calculator.rect;
        m_origin = calculator.rect.topLeft();

        m_about = XDriver::Window();
        QElapsedTimer timer;
        timer.start();
        while (!m_about.id && timer.elapsed() < kWindowTimeoutMs) {
            for (const XDriver::Window &w : m_x.viewableWindowsOf(pid()))
                if (w.id != m_window && w.rect.width() >= 100 && w.rect.height() >= 100)
                    m_about = w;
            if (!m_about.id)
                QThread::msleep(10);
        }
        QVERIFY2(m_about.id, "no about window showed at start-up");
    }

    // Closes the about window as a user would, with a key, and expects the calculator to
    // take the keyboard. When it does not, the about test reports that; the other tests give
    // the calculator the keyboard themselves so as to report on their own subject.
    void openCalculator(bool accessible = false)
    {
        startProgram(accessible);
        if (QTest::currentTestFailed())
            return;
        // A user sees the about window in front before typing; the keyboard comes to it a
        // moment after it maps.
        if (!m_x.waitForFocus(m_about.id, kFocusTimeoutMs))
            qWarning("the about window did not take the keyboard");
        play(QStringLiteral("a"));
        QVERIFY2(m_x.waitUntilGone(m_about.id, kCloseTimeoutMs), "the about window stayed open");
        if (!m_x.waitForFocus(m_window, kFocusBackTimeoutMs)) {
            qWarning("the calculator did not take the keyboard after the about window");
            m_x.focus(m_window);
        }
    }

    // The topmost mapped window over a screen point, as the server stacks them.
    unsigned long windowSeenAt(QPoint point)
    {
        unsigned long seen = 0;
        for (const XDriver::Window &w : m_x.viewableWindows())
            if (w.rect.contains(point))
                seen = w.id;
        return seen;
    }

    void checkCalculatorAlive()
    {
        QVERIFY2(m_x.isViewable(m_window), "the calculator window is gone");
        QCOMPARE(m_program->state(), QProcess::Running);
    }

private slots:
    void initTestCase()
    {
        m_totalTime.start();
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            QSKIP("Xvfb is not installed");
        m_xclip = QStandardPaths::findExecutable(QStringLiteral("xclip"));
        if (m_xclip.isEmpty())
            QSKIP("xclip is not installed");
        QVERIFY2(QFileInfo(program()).isExecutable(), qPrintable(program()));

        // Xvfb picks a free display itself and writes its number to standard output.
        dieWithParent(m_xvfb);
        m_xvfb.setProcessChannelMode(QProcess::SeparateChannels);
        m_xvfb.start(xvfb, {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten",
                            "tcp", "-noreset"});
        QVERIFY2(m_xvfb.waitForStarted(5000), "Xvfb did not start");
        QElapsedTimer timer;
        timer.start();
        QByteArray number;
        while (!number.contains('\n') && timer.elapsed() < 10000) {
            if (!m_xvfb.waitForReadyRead(int(10000 - timer.elapsed())))
                break;
            number += m_xvfb.readAllStandardOutput();
        }
        QVERIFY2(number.contains('\n'), "Xvfb gave no display number");
        m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
        QString error;
        QVERIFY2(m_x.open(m_display, &error), qPrintable(error));
        startSessionBus();
        if (!m_noAccessibility.isEmpty())
            qInfo("message texts are not read: %s", qPrintable(m_noAccessibility));
        qInfo("%s on %s, ready after %lld ms", qPrintable(program()), qPrintable(m_display),
              m_totalTime.elapsed());
    }

    void cleanupTestCase()
    {
        for (auto &owner : m_owners)
            stop(*owner);
        m_owners.clear();
        m_x.close();
        stop(m_sessionBus);
        stop(m_xvfb);
        qInfo("whole test %lld ms", m_totalTime.elapsed());
    }

    void init()
    {
        m_caseTime.start();
    }

    void cleanup()
    {
        if (m_program) {
            stop(*m_program);
            m_program.reset();
        }
        for (auto &owner : m_owners)
            stop(*owner);
        m_owners.clear();
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
