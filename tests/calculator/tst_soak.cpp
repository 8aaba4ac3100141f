// Random presses on the real window, checking the calculator's invariants after each one.
// OSTREL_SOAK_SEED and OSTREL_SOAK_PRESSES choose another run by hand.
#include "CalculatorFixture.h"
#include "DisplayBox.h"
#include "NumberText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QtTest>
#include <functional>
#include <vector>

namespace {

QRandomGenerator &textRandom()
{
    static QRandomGenerator generator;
    return generator;
}

struct Action {
    QString name;
    bool renders; // ends by rendering the display from the state
    std::function<void(CalculatorFixture &)> run;
};

void key(CalculatorFixture &f, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(f.w().windowHandle(), k, modifiers);
}

std::vector<Action> actions()
{
    std::vector<Action> list;
    const auto button = [&list](const QString &name, bool renders = true) {
        list.push_back({name, renders, [name](CalculatorFixture &f) { f.press(name); }});
    };
    for (int d = 0; d <= 9; ++d) {
        button(QString::number(d));
        button(QString::number(d)); // digits come up most in real use
    }
    for (const char *name : {"+", "-", "x", "/", "=", "=", "Bksp", "CE", "CLR", "MR", "MR1",
                             "NDF", "DF", "PAL", "FILM", "23.98", "frm", "Marks", "Leading"})
        button(QString::fromLatin1(name));
    for (const char *name : {"MS", "MS1", "Copy", "Paste"})
        button(QString::fromLatin1(name), false);
    const auto keyAction = [&list](const QString &name, Qt::Key k, Qt::KeyboardModifiers m) {
        list.push_back({name, true, [k, m](CalculatorFixture &f) { key(f, k, m); }});
    };
    keyAction("key 7", Qt::Key_7, Qt::NoModifier);
    keyAction("keypad 3", Qt::Key_3, Qt::KeypadModifier);
    keyAction("keypad +", Qt::Key_Plus, Qt::KeypadModifier);
    keyAction("keypad *", Qt::Key_Asterisk, Qt::KeypadModifier);
    keyAction("keypad /", Qt::Key_Slash, Qt::KeypadModifier);
    keyAction("End", Qt::Key_End, Qt::NoModifier);
    keyAction("Escape", Qt::Key_Escape, Qt::NoModifier);
    keyAction("Delete", Qt::Key_Delete, Qt::NoModifier);
    keyAction("Space", Qt::Key_Space, Qt::NoModifier);
    keyAction("Enter", Qt::Key_Return, Qt::NoModifier);
    list.push_back({"clipboard text", false, [](CalculatorFixture &) {
                        static const QStringList texts = {"", "abc", "12:34:56:78", "-5",
                                                          QString(40, '9'), "\t\n"};
                        QGuiApplication::clipboard()->setText(
                            texts.at(textRandom().bounded(texts.size())));
                    }});
    return list;
}

} // namespace

class tst_Soak : public QObject
{
    Q_OBJECT

private slots:
    void randomPresses()
    {
        const quint32 seed = qEnvironmentVariableIsSet("OSTREL_SOAK_SEED")
            ? qEnvironmentVariableIntValue("OSTREL_SOAK_SEED") : 20261207u;
        const int presses = qEnvironmentVariableIsSet("OSTREL_SOAK_PRESSES")
            ? qEnvironmentVariableIntValue("OSTREL_SOAK_PRESSES") : 100000;
        qInfo("seed %u, %d presses", seed, presses);
        QRandomGenerator random(seed);
        textRandom().seed(seed);
        const std::vector<Action> list = actions();
        CalculatorFixture f;
        bool pastedSinceRender = false;
        QStringList recent;
        for (int i = 0; i < presses; ++i) {
            const Action &action = list[random.bounded(int(list.size()))];
            action.run(f);
            recent << action.name;
            if (recent.size() > 12)
                recent.removeFirst();
            if (action.name == "Paste")
                pastedSinceRender = true;
            else if (action.renders)
                pastedSinceRender = false;
            if (!invariantsHold(f, pastedSinceRender, action.renders))
                QFAIL(qPrintable(QStringLiteral("after press %1, last presses: %2")
                                     .arg(i).arg(recent.join(' '))));
        }
        qInfo("%lld range messages", static_cast<long long>(f.messages.size()));
    }

private:
    bool invariantsHold(CalculatorFixture &f, bool pastedSinceRender, bool rendered)
    {
        const frmOstrel &w = f.w();
        const bool typeless = (w.dwFlags & 0xFF) == 0;
        bool ok = true;
        const auto check = [&ok](bool condition, const char *what) {
            if (!condition) {
                qWarning("invariant broken: %s", what);
                ok = false;
            }
        };
        check(w.bFrameMode == -1 || w.bFrameMode == 0, "bFrameMode is -1 or 0");
        check((w.bFrameMode == -1) == typeless, "frame mode exactly when the type byte is 0");
        check(w.cType == 0 && w.dblTCLast == 0 && w.dblTCcurrent == 0, "Calculate's scratch is 0");
        check(w.dwMaxFrames == 2591999, "dwMaxFrames");
        if (rendered && !pastedSinceRender && w.bFrameMode == 0)
            check(w.szTCDisplay.size() == 32, "time code text is 32 characters");
        if (!pastedSinceRender)
            check(f.display() == NumberText::shown(w.szTCDisplay), "display shows szTCDisplay");
        check((w.dwFlags & ~0x300FF) == 0, "no stray bits in dwFlags");
        return ok;
    }
};

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
