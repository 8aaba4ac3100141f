#include "EndToEndFixture.h"

#include <QHash>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

namespace {

constexpr int kKeyGapMs = 10;            // between injected events, as a quick typist
constexpr int kAccessKeyClickMs = 130;   // Qt clicks a button 100 ms after its access key
constexpr int kPingTimeoutMs = 3000;

// X key codes under the evdev rules (US layout).
const QHash<QString, int> &keycodes()
{
    static const QHash<QString, int> codes = {
        {"1", 10}, {"2", 11}, {"3", 12}, {"4", 13}, {"5", 14}, {"6", 15}, {"7", 16},
        {"8", 17}, {"9", 18}, {"0", 19},
        {"kp/", 106}, {"kp*", 63}, {"kp-", 82}, {"kp+", 86},
        {"end", 115}, {"ret", 36}, {"esc", 9}, {"bksp", 22},
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

} // namespace

QProcessEnvironment EndToEndFixture::childEnvironment(bool accessible) const
{
    QProcessEnvironment env = m_session.environment();
    if (accessible)
        env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    return env;
}

void EndToEndFixture::startSessionBus()
{
    if (windowsProgram()) {
        m_noAccessibility = QStringLiteral("a Windows program speaks to Windows' screen readers");
        return;
    }
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
    const QString sessionAddress = QString::fromLatin1(address.trimmed());
    m_session.setVariable(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), sessionAddress);
    QString error;
    if (!m_accessible.open(sessionAddress, &error))
        m_noAccessibility = error;
#else
    m_noAccessibility = QStringLiteral("built without Qt D-Bus");
#endif
}

QStringList EndToEndFixture::accessibleContents(const QString &title)
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

QByteArray EndToEndFixture::copy(bool accessKey)
{
    const QString action = accessKey ? QStringLiteral("alt+o") : QStringLiteral("[Copy]");
    return m_session.clipboardAfter([&] { play(action); });
}

void EndToEndFixture::tap(int keycode)
{
    m_x.key(keycode, true);
    QThread::msleep(kKeyGapMs);
    m_x.key(keycode, false);
    m_x.sync();
    QThread::msleep(kKeyGapMs);
}

int EndToEndFixture::code(const QString &name)
{
    const int found = keycodes().value(name, -1);
    if (found < 0)
        qWarning("no key code for %s", qPrintable(name));
    return found;
}

// Qt clicks a button 100 ms after it reads its access key, so a fixed pause alone would
// race a busy program. Two round trips make sure it has read the key (the second answer
// comes after the event loop pass that handled it), then the click's time passes.
void EndToEndFixture::settleAfterAccessKey()
{
    if (!m_x.ping(m_window, kPingTimeoutMs) || !m_x.ping(m_window, kPingTimeoutMs))
        qWarning("the calculator did not answer a ping");
    QThread::msleep(kAccessKeyClickMs);
    m_x.ping(m_window, kPingTimeoutMs);
}

void EndToEndFixture::play(const QString &script)
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

// Where a window system draws the frame into the window itself, as Windows does (under Wine),
// the client area is what is left inside equal borders and the caption above.
QRect EndToEndFixture::clientRect(const QRect &window)
{
    const QSize client(pixels(kClientWidthTwips), pixels(kClientHeightTwips));
    const int border = (window.width() - client.width()) / 2;
    return QRect(QPoint(window.left() + border, window.bottom() + 1 - border - client.height()),
                 client);
}

void EndToEndFixture::startProgram(bool accessible)
{
    m_x.movePointer(kRestingPointer);
    m_x.sync();
    QString error;
    const XDriver::Window calculator =
        m_session.startProgram(childEnvironment(accessible), kTitle, kWindowTimeoutMs, &error);
    QVERIFY2(calculator.id, qPrintable(error));
    m_window = calculator.id;
    m_calculatorRect = clientRect(calculator.rect);
    m_origin = m_calculatorRect.topLeft();

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

void EndToEndFixture::openCalculator(bool accessible)
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

unsigned long EndToEndFixture::windowSeenAt(QPoint point)
{
    unsigned long seen = 0;
    for (const XDriver::Window &w : m_x.viewableWindows())
        if (w.rect.contains(point))
            seen = w.id;
    return seen;
}

void EndToEndFixture::checkCalculatorAlive()
{
    QVERIFY2(m_x.isViewable(m_window), "the calculator window is gone");
    QCOMPARE(m_session.program()->state(), QProcess::Running);
}
