#pragma once

#include "XSession.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#if defined(OSTREL_HAVE_QTDBUS)
#include "AccessibleTree.h"
#endif

// Twips, as the window layout gives places, to pixels.
inline int pixels(int twips)
{
    constexpr int kTwipsPerPixel = 15;
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// The end-to-end test's steps: starting the program, typing and clicking scripts, reading
// results through Copy, and message texts over AT-SPI. The cases live in
// tests/endtoend_cases.txt, the tests that play them in tst_endtoend.cpp.
class EndToEndFixture : public QObject
{
    Q_OBJECT

protected:
    static constexpr int kWindowTimeoutMs = 10000;  // start-up, generous for sanitizer builds
    static constexpr int kCloseTimeoutMs = 3000;
    static constexpr int kFocusTimeoutMs = 3000;
    // A window closing hands the keyboard on at once.
    static constexpr int kFocusBackTimeoutMs = 1500;

    static inline const QString kTitle = QStringLiteral("Quorvane Time Code Calculator");
    static inline const QString kMessageTitle = QStringLiteral("Ostrel");
    static inline const QPoint kRestingPointer{5, 5}; // over the root window only
    static constexpr int kClientWidthTwips = 4290, kClientHeightTwips = 2970;

    XSession m_session{"OSTREL_PROGRAM"}; // the built program, or an installed one named there
    XDriver &m_x = m_session.x();
    unsigned long m_window = 0;
    QRect m_calculatorRect;
    QPoint m_origin;
    XDriver::Window m_about;
    QElapsedTimer m_caseTime;
    QElapsedTimer m_totalTime;
    QProcess m_sessionBus; // private, for the accessibility bus
#if defined(OSTREL_HAVE_QTDBUS)
    AccessibleTree m_accessible;
#endif
    QString m_noAccessibility; // why message texts cannot be read, when they cannot

    QProcessEnvironment childEnvironment(bool accessible = false) const;

    // A session bus of the test's own; the accessibility bus starts on it when asked for.
    void startSessionBus();

    // The roles and names in the program's window titled title, over AT-SPI; waits (bounded)
    // for it to show there.
    QStringList accessibleContents(const QString &title);

    qint64 pid() const { return m_session.pid(); }

    // The display's text through the Copy button, clicked or by its access key.
    QByteArray copy(bool accessKey = false);

    void tap(int keycode);
    int code(const QString &name);
    void settleAfterAccessKey();

    // Words: "5", "kp+", "end" ... a key tapped; "alt+d" with Alt held; "[MS1]" a control
    // clicked by its caption.
    void play(const QString &script);

    static QRect clientRect(const QRect &window);
    // The program under test is Windows' (Ostrel.exe under Wine), its windows drawn by Wine.
    static bool windowsProgram() { return qEnvironmentVariableIsSet("OSTREL_EXE"); }

    // Starts the program and waits for the calculator and the about window in front of it.
    void startProgram(bool accessible = false);

    // Closes the about window as a user would, with a key, and expects the calculator to
    // take the keyboard. When it does not, the about test reports that; the other tests give
    // the calculator the keyboard themselves so as to report on their own subject.
    void openCalculator(bool accessible = false);

    // The topmost mapped window over a screen point, as the server stacks them.
    unsigned long windowSeenAt(QPoint point);

    void checkCalculatorAlive();
};
