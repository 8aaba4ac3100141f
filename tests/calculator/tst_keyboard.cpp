#include "CalculatorFixture.h"
#include "DisplayBox.h"
#include "VirtualKey.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest>

#include <set>

namespace {

struct NamedKey {
    const char *name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

// Keys as the window receives them offscreen. Keypad keys carry the keypad flag; with
// Num Lock off keypad 1 and keypad . arrive as End and Delete.
const NamedKey kKeys[] = {
    {"0", Qt::Key_0, {}}, {"1", Qt::Key_1, {}}, {"2", Qt::Key_2, {}}, {"3", Qt::Key_3, {}},
    {"4", Qt::Key_4, {}}, {"5", Qt::Key_5, {}}, {"6", Qt::Key_6, {}}, {"7", Qt::Key_7, {}},
    {"8", Qt::Key_8, {}}, {"9", Qt::Key_9, {}},
    {"kp0", Qt::Key_0, Qt::KeypadModifier}, {"kp1", Qt::Key_1, Qt::KeypadModifier},
    {"kp2", Qt::Key_2, Qt::KeypadModifier}, {"kp3", Qt::Key_3, Qt::KeypadModifier},
    {"kp4", Qt::Key_4, Qt::KeypadModifier}, {"kp5", Qt::Key_5, Qt::KeypadModifier},
    {"kp6", Qt::Key_6, Qt::KeypadModifier}, {"kp7", Qt::Key_7, Qt::KeypadModifier},
    {"kp8", Qt::Key_8, Qt::KeypadModifier}, {"kp9", Qt::Key_9, Qt::KeypadModifier},
    {"kp+", Qt::Key_Plus, Qt::KeypadModifier}, {"kp-", Qt::Key_Minus, Qt::KeypadModifier},
    {"kp*", Qt::Key_Asterisk, Qt::KeypadModifier}, {"kp/", Qt::Key_Slash, Qt::KeypadModifier},
    {"kpend", Qt::Key_End, Qt::KeypadModifier}, {"kpdel", Qt::Key_Delete, Qt::KeypadModifier},
    {"kpenter", Qt::Key_Enter, Qt::KeypadModifier},
    {"kpins", Qt::Key_Insert, Qt::KeypadModifier}, {"kphome", Qt::Key_Home, Qt::KeypadModifier},
    {"kpclear", Qt::Key_Clear, Qt::KeypadModifier}, {"kp.", Qt::Key_Period, Qt::KeypadModifier},
    {"kppgdn", Qt::Key_PageDown, Qt::KeypadModifier},
    {"end", Qt::Key_End, {}}, {"del", Qt::Key_Delete, {}}, {"bs", Qt::Key_Backspace, {}},
    {"space", Qt::Key_Space, {}}, {"esc", Qt::Key_Escape, {}}, {"ret", Qt::Key_Return, {}},
    {"+", Qt::Key_Plus, {}}, {"-", Qt::Key_Minus, {}}, {"*", Qt::Key_Asterisk, {}},
    {"/", Qt::Key_Slash, {}}, {"=", Qt::Key_Equal, {}}, {".", Qt::Key_Period, {}},
    {",", Qt::Key_Comma, {}}, {"a", Qt::Key_A, {}}, {"x", Qt::Key_X, {}}, {"c", Qt::Key_C, {}},
    {"f1", Qt::Key_F1, {}}, {"home", Qt::Key_Home, {}}, {"ins", Qt::Key_Insert, {}},
    {"pgup", Qt::Key_PageUp, {}}, {"shift", Qt::Key_Shift, {}}, {"ctrl", Qt::Key_Control, {}},
};

QString textOf(Qt::Key key)
{
    return key >= 0x20 && key < 0x7f ? QString(QChar(key)) : QString();
}

// Plays a script on the calculator. Words:
//   "5", "kp+", "esc" ...  a key pressed and released through the window handle
//   "v5" / "^5"            only the press / only the release
//   "~v5" / "~^5"          an auto-repeated press / release
//   "alt+", "ctrl+", "shift+" before any of these: with that modifier held
//   "[MS]"                 a button pressed with the mouse (the fixture's short names)
//   "@ckMarks"             focus given to a control
void play(CalculatorFixture &f, const QString &script)
{
    QWindow *window = f.w().windowHandle();
    QVERIFY(window);
    for (QString word : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (word.startsWith(QLatin1Char('['))) {
            f.press(word.mid(1, word.size() - 2));
            continue;
        }
        if (word.startsWith(QLatin1Char('@'))) {
            QWidget *target = f.w().control(word.mid(1));
            QVERIFY2(target, qPrintable(word));
            target->setFocus();
            continue;
        }
        Qt::KeyboardModifiers held;
        for (;;) {
            if (word.startsWith(QLatin1String("alt+")))
                held |= Qt::AltModifier;
            else if (word.startsWith(QLatin1String("ctrl+")))
                held |= Qt::ControlModifier;
            else if (word.startsWith(QLatin1String("shift+")))
                held |= Qt::ShiftModifier;
            else
                break;
            word = word.mid(word.indexOf(QLatin1Char('+')) + 1);
        }
        const bool repeat = word.startsWith(QLatin1Char('~'));
        if (repeat)
            word.remove(0, 1);
        char edge = 'c';
        if (word.size() > 1 && (word.startsWith(QLatin1Char('v')) || word.startsWith(QLatin1Char('^')))) {
            edge = word.at(0).toLatin1();
            word.remove(0, 1);
        }
        const NamedKey *named = nullptr;
        for (const NamedKey &k : kKeys)
            if (word == QLatin1String(k.name))
                named = &k;
        QVERIFY2(named, qPrintable(QStringLiteral("no key called ") + word));
        const Qt::KeyboardModifiers modifiers = named->modifiers | held;
        if (repeat) {
            QVERIFY(edge != 'c');
            qt_handleKeyEvent(window, edge == 'v' ? QEvent::KeyPress : QEvent::KeyRelease,
                              named->key, modifiers, textOf(named->key), true);
        } else if (edge == 'v') {
            QTest::keyPress(window, named->key, modifiers);
        } else if (edge == '^') {
            QTest::keyRelease(window, named->key, modifiers);
        } else {
            QTest::keyClick(window, named->key, modifiers);
        }
    }
}

void scriptColumns()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("lastCmd");
}

} // namespace

// The keyboard: Windows virtual-key codes in the key handlers, Qt key events translated to
// them, and the window seeing every key before the focused control.
class tst_Keyboard : public QObject
{
    Q_OBJECT

private:
    // Plays the script and checks the display, the value and the pending operator.
    void checkScript()
    {
        QFETCH(QString, script);
        QFETCH(QString, shown);
        QFETCH(int, value);
        QFETCH(int, lastCmd);
        CalculatorFixture f;
        play(f, script);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(f.display(), shown);
        QCOMPARE(f.w().dwTCcurrent, value);
        QCOMPARE(int(f.w().cLastCmd), lastCmd);
        QVERIFY(f.messages.isEmpty());
    }

private slots:
    // --- The handlers, called with virtual-key codes -------------------------------------

    void keyDownCodes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("lastCmd");
        QTest::addColumn<QString>("button");
        QTest::newRow("107 keypad plus") << 107 << int('+') << "cmdPlus";
        QTest::newRow("109 keypad minus") << 109 << int('-') << "cmdMinus";
        QTest::newRow("106 keypad times") << 106 << int('*') << "cmdMultiply";
        QTest::newRow("111 keypad divide") << 111 << int('/') << "cmdDivide";
        QTest::newRow("35 end") << 35 << 48 << "cmdEquals";
    }

    // The pending 7 + 5 is worked out whichever operator comes next.
    void keyDownCodes()
    {
        QFETCH(int, code);
        QFETCH(int, lastCmd);
        QFETCH(QString, button);
        CalculatorFixture f;
        f.press({"7", "+", "5"});
        int16_t keyCode = int16_t(code);
        f.w().Form_KeyDown(keyCode, 0);
        QCOMPARE(f.w().dwTCcurrent, 12);
        QCOMPARE(f.w().dwTCLast, 12);
        QCOMPARE(int(f.w().cLastCmd), lastCmd);
        QCOMPARE(f.display(), QStringLiteral("00:00:00:12"));
        QCOMPARE(QApplication::focusWidget(), f.w().control(button));
    }

    void keyUpDigitCodes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("digit");
        for (int d = 0; d <= 9; ++d) {
            QTest::addRow("%d main row %d", 48 + d, d) << 48 + d << d;
            QTest::addRow("%d keypad %d", 96 + d, d) << 96 + d << d;
        }
    }

    void keyUpDigitCodes()
    {
        QFETCH(int, code);
        QFETCH(int, digit);
        for (const int16_t shift : {0, 1, 2, 3}) {
            CalculatorFixture f;
            f.press({"frm", "3"});
            int16_t keyCode = int16_t(code);
            f.w().Form_KeyUp(keyCode, shift);
            QCOMPARE(f.display(), QStringLiteral(" 3%1").arg(digit));
            QCOMPARE(f.w().dwTCcurrent, 30 + digit);
            QCOMPARE(QApplication::focusWidget(), f.w().control(QStringLiteral("cmd%1").arg(digit)));
        }
    }

    void keyUpEraseCodes_data()
    {
        QTest::addColumn<int>("code");
        QTest::newRow("8 backspace") << 8;
        QTest::newRow("46 delete") << 46;
        QTest::newRow("32 space") << 32;
    }

    void keyUpEraseCodes()
    {
        QFETCH(int, code);
        CalculatorFixture f;
        f.press({"frm", "1", "2", "3"});
        int16_t keyCode = int16_t(code);
        f.w().Form_KeyUp(keyCode, 0);
        QCOMPARE(f.display(), QStringLiteral("12"));
        QCOMPARE(f.w().szRawTC, QStringLiteral("12") + nuls(32));
        QCOMPARE(f.w().dwTCcurrent, 12);
    }

    void keyUpEscapeClearsAll()
    {
        CalculatorFixture f;
        f.press({"1", "2", "MS", "MS1", "+", "3"});
        int16_t keyCode = 27;
        f.w().Form_KeyUp(keyCode, 0);
        const frmOstrel &w = f.w();
        QCOMPARE(w.dwTCcurrent, 0);
        QCOMPARE(w.dwTCLast, 0);
        QCOMPARE(w.cLastCmd, int16_t(0));
        QCOMPARE(w.dwMemory1, 0);
        QCOMPARE(w.dwMemory2, 0);
        QVERIFY(w.szTCRet1.isEmpty());
        QVERIFY(w.szTCRet2.isEmpty());
        QVERIFY(w.szRawTC.isEmpty());
        QCOMPARE(f.display(), QStringLiteral("00:00:00:00"));
    }

    // Every code outside the two tables, on either edge, and every mapped key released with
    // Alt held, leaves everything as it was.
    void unmappedCodesChangeNothing()
    {
        const std::set<int> down = {35, 106, 107, 109, 111};
        std::set<int> up = {8, 27, 32, 46};
        for (int d = 0; d <= 9; ++d)
            up.insert({48 + d, 96 + d});
        CalculatorFixture f;
        f.press({"7", "+", "1", "2", "MS1", "Copy"});
        const StateSnapshot before = StateSnapshot::of(f);
        QStringList changed;
        for (int code = -1; code <= 300; ++code) {
            int16_t keyCode = int16_t(code);
            if (!down.count(code)) {
                f.w().Form_KeyDown(keyCode, 0);
                const QString diff = before.changes(StateSnapshot::of(f)).join(QStringLiteral("; "));
                if (!diff.isEmpty())
                    changed << QStringLiteral("down %1: %2").arg(code).arg(diff);
            }
            keyCode = int16_t(code);
            const bool mapped = up.count(code);
            for (const int16_t shift : {0, 1, 2, 3, 4, 5, 6, 7}) {
                if (mapped && !(shift & 4))
                    continue;
                f.w().Form_KeyUp(keyCode, shift);
                const QString diff = before.changes(StateSnapshot::of(f)).join(QStringLiteral("; "));
                if (!diff.isEmpty())
                    changed << QStringLiteral("up %1 shift %2: %3").arg(code).arg(shift).arg(diff);
            }
            if (changed.size() > 5)
                break;
        }
        QVERIFY2(changed.isEmpty(), qPrintable(changed.join(QLatin1Char('\n'))));
    }

    // --- Qt key events through the window handle -----------------------------------------

    void digitKeys_data()
    {
        scriptColumns();
        for (int d = 0; d <= 9; ++d) {
            QTest::addRow("main row %d", d) << QStringLiteral("[frm] [1] %1").arg(d)
                                            << QStringLiteral(" 1%1").arg(d) << 10 + d << 0;
            QTest::addRow("keypad %d", d) << QStringLiteral("[frm] [1] kp%1").arg(d)
                                          << QStringLiteral(" 1%1").arg(d) << 10 + d << 0;
        }
        QTest::newRow("digits in time code") << "1 2" << "00:00:00:12" << 12 << 0;
        QTest::newRow("digit after an operator key") << "7 kp+ 5" << "00:00:00:05" << 5 << int('+');
    }

    void digitKeys() { checkScript(); }

    void operatorKeys_data()
    {
        scriptColumns();
        QTest::newRow("keypad plus then end") << "7 kp+ 5 end" << "00:00:00:12" << 12 << 48;
        QTest::newRow("keypad minus then end") << "9 kp- 4 end" << "00:00:00:05" << 5 << 48;
        QTest::newRow("keypad times then end") << "6 kp* 7 end" << "00:00:01:12" << 42 << 48;
        QTest::newRow("keypad divide then end") << "8 kp/ 2 end" << "00:00:00:04" << 4 << 48;
        QTest::newRow("keypad 1, num lock off, is end") << "7 kp+ 5 kpend" << "00:00:00:12" << 12 << 48;
        QTest::newRow("keypad plus pending") << "7 kp+" << "00:00:00:07" << 7 << int('+');
        QTest::newRow("keypad minus pending") << "7 kp-" << "00:00:00:07" << 7 << int('-');
        QTest::newRow("keypad times pending") << "7 kp*" << "00:00:00:07" << 7 << int('*');
        QTest::newRow("keypad divide pending") << "7 kp/" << "00:00:00:07" << 7 << int('/');
        QTest::newRow("operator keys chain") << "7 kp+ 5 kp* 2 end" << "00:00:00:24" << 24 << 48;
        QTest::newRow("frames") << "[frm] 1 2 kp+ 3 0 end" << " 42" << 42 << 48;
    }

    void operatorKeys() { checkScript(); }

    void eraseKeys_data()
    {
        scriptColumns();
        // Focus on "=" so that Space clicks it: = with nothing pending shows the value again.
        QTest::newRow("backspace") << "[frm] 1 2 3 bs" << "12" << 12 << 0;
        QTest::newRow("delete") << "[frm] 1 2 3 del" << "12" << 12 << 0;
        QTest::newRow("keypad . with num lock off") << "[frm] 1 2 3 kpdel" << "12" << 12 << 0;
        QTest::newRow("space on equals") << "[frm] 1 2 3 @cmdEquals space" << " 12" << 12 << 48;
        QTest::newRow("two backspaces") << "1 2 3 bs bs" << "00:00:00:01" << 1 << 0;
        QTest::newRow("backspace after an operator key")
            << "7 kp+ 1 2 bs end" << "00:00:00:08" << 8 << 48;
    }

    void eraseKeys() { checkScript(); }

    // Keys that are in no table: the state, the display and the focus stay as they were.
    void unmappedKeys_data()
    {
        QTest::addColumn<QString>("key");
        for (const char *key : {"+", "-", "*", "/", "=", ".", ",", "a", "x", "c", "f1", "home",
                                "ins", "pgup", "shift", "ctrl", "kpins", "kphome", "kpclear",
                                "kp.", "kppgdn"})
            QTest::newRow(key) << QString::fromLatin1(key);
        QTest::newRow("alt+5") << "alt+5";
        QTest::newRow("alt+keypad 5") << "alt+kp5";
        QTest::newRow("alt+backspace") << "alt+bs";
        QTest::newRow("alt+keypad delete") << "alt+kpdel";
    }

    void unmappedKeys()
    {
        QFETCH(QString, key);
        CalculatorFixture f;
        play(f, "7 kp+ 1 2 [MS1]");
        const StateSnapshot before = StateSnapshot::of(f);
        play(f, key);
        const QString diff = before.changes(StateSnapshot::of(f)).join(QStringLiteral("; "));
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // Digits, erase keys and Escape act as the key comes up; operators and End as it goes down.
    void keyEdges_data()
    {
        scriptColumns();
        QTest::newRow("digit press alone") << "[frm] [1] v5" << " 01" << 1 << 0;
        QTest::newRow("digit press and release") << "[frm] [1] v5 ^5" << " 15" << 15 << 0;
        QTest::newRow("digit release alone") << "[frm] [1] ^5" << " 15" << 15 << 0;
        QTest::newRow("keypad digit press alone") << "[frm] [1] vkp5" << " 01" << 1 << 0;
        QTest::newRow("operator press alone") << "7 vkp+" << "00:00:00:07" << 7 << int('+');
        QTest::newRow("operator release alone") << "7 ^kp+" << "00:00:00:07" << 7 << 0;
        QTest::newRow("end press alone") << "7 kp+ 5 vend" << "00:00:00:12" << 12 << 48;
        QTest::newRow("end release alone") << "7 kp+ 5 ^end" << "00:00:00:05" << 5 << int('+');
        QTest::newRow("escape press alone") << "7 kp+ 5 vesc" << "00:00:00:05" << 5 << int('+');
        QTest::newRow("escape release alone") << "7 kp+ 5 ^esc" << "00:00:00:00" << 0 << 0;
        QTest::newRow("backspace press alone") << "[frm] 1 2 vbs" << " 12" << 12 << 0;
        QTest::newRow("backspace release alone") << "[frm] 1 2 ^bs" << "1" << 1 << 0;
    }

    void keyEdges() { checkScript(); }

    void autoRepeat_data()
    {
        scriptColumns();
        QTest::newRow("held digit, release and press pairs")
            << "[frm] [1] v5 ~^5 ~v5 ~^5 ~v5 ~^5 ~v5 ^5" << " 15" << 15 << 0;
        QTest::newRow("held digit, presses only") << "[frm] [1] v5 ~v5 ~v5 ^5" << " 15" << 15 << 0;
        QTest::newRow("held keypad digit") << "[frm] [1] vkp5 ~^kp5 ~vkp5 ^kp5" << " 15" << 15 << 0;
        QTest::newRow("repeated release alone") << "[frm] [1] ~^5" << " 01" << 1 << 0;
        QTest::newRow("held backspace erases once")
            << "[frm] 1 2 3 vbs ~^bs ~vbs ~^bs ~vbs ^bs" << "12" << 12 << 0;
        QTest::newRow("held escape clears")
            << "7 kp+ 5 vesc ~^esc ~vesc ^esc" << "00:00:00:00" << 0 << 0;
        QTest::newRow("keypad plus, no repeat") << "[frm] 5 vkp+ ^kp+" << " 5" << 5 << int('+');
        QTest::newRow("keypad plus, one repeat") << "[frm] 5 vkp+ ~vkp+ ^kp+" << " 10" << 10 << int('+');
        QTest::newRow("keypad plus, two repeats")
            << "[frm] 5 vkp+ ~vkp+ ~vkp+ ^kp+" << " 20" << 20 << int('+');
        QTest::newRow("keypad plus, three repeats with releases")
            << "[frm] 5 vkp+ ~^kp+ ~vkp+ ~^kp+ ~vkp+ ~^kp+ ~vkp+ ^kp+" << " 40" << 40 << int('+');
        QTest::newRow("held end") << "[frm] 5 kp+ 3 vend ~vend ~vend ^end" << " 8" << 8 << 48;
    }

    void autoRepeat() { checkScript(); }

    // Keys that overlap: each acts on its own edge, in the order the edges come.
    void overlappingKeys_data()
    {
        scriptColumns();
        QTest::newRow("operator down while the digit is held")
            << "[frm] 3 v5 vkp+ ^kp+ ^5 end" << " 8" << 8 << 48;
        QTest::newRow("digit up after the operator key is down")
            << "[frm] 3 v5 vkp+ ^5 ^kp+ end" << " 8" << 8 << 48;
        QTest::newRow("end down while the digit is held")
            << "[frm] 3 kp+ v5 vend ^5 ^end" << " 05" << 5 << 48;
        QTest::newRow("rolled digits") << "[frm] v1 v2 ^1 ^2" << " 12" << 12 << 0;
        QTest::newRow("rolled digits, second released first") << "[frm] v1 v2 ^2 ^1" << " 21" << 21 << 0;
    }

    void overlappingKeys() { checkScript(); }

    // Space comes up in the window first (Bksp), then in the focused control, which acts.
    void spaceOnFocusedControl_data()
    {
        scriptColumns();
        QTest::newRow("digit button enters its digit again") << "[frm] 1 5 space" << " 15" << 15 << 0;
        QTest::newRow("plus button uses the shortened entry")
            << "[frm] 7 kp+ 1 2 @cmdPlus space" << " 8" << 8 << int('+');
        QTest::newRow("marks box") << "1 2 @ckMarks space" << "00000001" << 1 << 0;
        QTest::newRow("option button") << "3 0 0 @TCOption(8) space" << "00:00:01:05" << 30 << 0;
    }

    void spaceOnFocusedControl() { checkScript(); }

    // The window sees keys whatever control has the focus.
    void previewWithFocus_data()
    {
        scriptColumns();
        QTest::newRow("digit, marks box") << "1 @ckMarks 2" << "00:00:00:12" << 12 << 0;
        QTest::newRow("digit, leading box") << "1 @ckLeading kp2" << "00:00:00:12" << 12 << 0;
        QTest::newRow("digit, option button") << "1 @TCOption(2) 2" << "00:00:00:12" << 12 << 0;
        QTest::newRow("digit, unselected option") << "1 @TCOption(4) 2" << "00:00:00:12" << 12 << 0;
        QTest::newRow("operator, marks box") << "7 @ckMarks kp+ 5 end" << "00:00:00:12" << 12 << 48;
        QTest::newRow("end, option button") << "7 kp+ 5 @TCOption(2) end" << "00:00:00:12" << 12 << 48;
        QTest::newRow("backspace, marks box") << "1 2 @ckMarks bs" << "00:00:00:01" << 1 << 0;
        QTest::newRow("digit, copy button") << "1 @cmdCopy 2" << "00:00:00:12" << 12 << 0;
    }

    void previewWithFocus() { checkScript(); }

    // Enter is no key of the calculator's: the dialog presses the focused button, or "=".
    void enterKey_data()
    {
        scriptColumns();
        QTest::newRow("return, digit button") << "7 kp+ 1 ret" << "00:00:00:11" << 11 << int('+');
        QTest::newRow("keypad enter, digit button") << "7 kp+ 1 kpenter" << "00:00:00:11" << 11 << int('+');
        QTest::newRow("return, plus button") << "7 kp+ 1 @cmdPlus ret" << "00:00:00:08" << 8 << int('+');
        QTest::newRow("return, marks box") << "7 kp+ 1 @ckMarks ret" << "00:00:00:08" << 8 << 48;
        QTest::newRow("keypad enter, marks box") << "7 kp+ 1 @ckMarks kpenter" << "00:00:00:08" << 8 << 48;
        QTest::newRow("return, option button") << "7 kp+ 1 @TCOption(2) ret" << "00:00:00:08" << 8 << 48;
        QTest::newRow("return, equals") << "7 kp+ 1 @cmdEquals ret" << "00:00:00:08" << 8 << 48;
        QTest::newRow("return then digits") << "[frm] 5 kp+ 3 ret end" << " 38" << 38 << 48;
    }

    void enterKey() { checkScript(); }

    // Shift and Ctrl play no part; a key released with Alt held enters nothing.
    void modifiers_data()
    {
        scriptColumns();
        QTest::newRow("ctrl+5") << "[frm] [1] ctrl+5" << " 15" << 15 << 0;
        QTest::newRow("ctrl+keypad 5") << "[frm] [1] ctrl+kp5" << " 15" << 15 << 0;
        QTest::newRow("shift+5") << "[frm] [1] shift+5" << " 15" << 15 << 0;
        QTest::newRow("shift+ctrl+5") << "[frm] [1] shift+ctrl+5" << " 15" << 15 << 0;
        QTest::newRow("ctrl+backspace") << "[frm] 1 2 ctrl+bs" << "1" << 1 << 0;
        QTest::newRow("shift+keypad plus") << "[frm] 7 shift+kp+ 5 end" << " 12" << 12 << 48;
        QTest::newRow("alt+5") << "[frm] [1] alt+5" << " 01" << 1 << 0;
        QTest::newRow("alt+keypad 5") << "[frm] [1] alt+kp5" << " 01" << 1 << 0;
        QTest::newRow("alt+escape") << "7 kp+ 5 alt+esc" << "00:00:00:05" << 5 << int('+');
    }

    void modifiers() { checkScript(); }

    // Alt+2 is the access key of "&23.98": the standard changes, no 2 is typed.
    void altDigitIsAnAccessKey()
    {
        CalculatorFixture f;
        play(f, "1 alt+2");
        QAbstractButton *option = f.w().button(QStringLiteral("TCOption(128)"));
        QTRY_VERIFY(option->isChecked());
        QTest::qWait(50);
        QCOMPARE(f.w().dwFlags & 0xFF, 128);
        QCOMPARE(f.w().dwTCcurrent, 1);
        QCOMPARE(f.display(), QStringLiteral("00:00:00:01"));
        // Typing goes on from the value, as after choosing the standard with the mouse.
        play(f, "3");
        QCOMPARE(f.w().dwTCcurrent, 13);
        QCOMPARE(f.display(), QStringLiteral("00:00:00:13"));
    }

    // Escape clears everything, memories included, and the window stays open.
    void escapeClearsAllAndKeepsTheWindow_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("key");
        QTest::newRow("digit button") << "" << "esc";
        QTest::newRow("equals") << "cmdEquals" << "esc";
        QTest::newRow("marks box") << "ckMarks" << "esc";
        QTest::newRow("option button") << "TCOption(2)" << "esc";
        QTest::newRow("shift+escape") << "" << "shift+esc";
        QTest::newRow("ctrl+escape") << "" << "ctrl+esc";
    }

    void escapeClearsAllAndKeepsTheWindow()
    {
        QFETCH(QString, focus);
        QFETCH(QString, key);
        CalculatorFixture f;
        QSignalSpy finished(&f.w(), &QDialog::finished);
        play(f, "1 2 [MS] [MS1] kp+ 3");
        if (!focus.isEmpty())
            play(f, QLatin1Char('@') + focus);
        play(f, key);
        QCoreApplication::processEvents();
        QVERIFY(f.w().isVisible());
        QCOMPARE(finished.count(), 0);
        const frmOstrel &w = f.w();
        QCOMPARE(w.dwTCcurrent, 0);
        QCOMPARE(w.dwTCLast, 0);
        QCOMPARE(w.cLastCmd, int16_t(0));
        QCOMPARE(w.dwMemory1, 0);
        QCOMPARE(w.dwMemory2, 0);
        QVERIFY(w.szTCRet1.isEmpty());
        QVERIFY(w.szTCRet2.isEmpty());
        QCOMPARE(f.display(), QStringLiteral("00:00:00:00"));
        play(f, "[MR]");
        QCOMPARE(f.w().dwTCcurrent, 0);
        play(f, "[MR1]");
        QCOMPARE(f.w().dwTCcurrent, 0);
        QCOMPARE(f.display(), QStringLiteral("00:00:00:00"));
        // Still taking keys.
        play(f, "4");
        QCOMPARE(f.display(), QStringLiteral("00:00:00:04"));
    }

    // The translation itself, for events offscreen (no scan codes): keypad keys by their
    // keypad flag, main-row digits by their key.
    void translation_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("code");
        const int kp = int(Qt::KeypadModifier);
        for (int d = 0; d <= 9; ++d) {
            QTest::addRow("main row %d", d) << int(Qt::Key_0) + d << 0 << 48 + d;
            QTest::addRow("keypad %d", d) << int(Qt::Key_0) + d << kp << 96 + d;
        }
        QTest::newRow("keypad +") << int(Qt::Key_Plus) << kp << 107;
        QTest::newRow("keypad -") << int(Qt::Key_Minus) << kp << 109;
        QTest::newRow("keypad *") << int(Qt::Key_Asterisk) << kp << 106;
        QTest::newRow("keypad /") << int(Qt::Key_Slash) << kp << 111;
        QTest::newRow("keypad end") << int(Qt::Key_End) << kp << 35;
        QTest::newRow("keypad delete") << int(Qt::Key_Delete) << kp << 46;
        QTest::newRow("end") << int(Qt::Key_End) << 0 << 35;
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << 46;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << 8;
        QTest::newRow("space") << int(Qt::Key_Space) << 0 << 32;
        QTest::newRow("escape") << int(Qt::Key_Escape) << 0 << 27;
        QTest::newRow("shift+5") << int(Qt::Key_5) << int(Qt::ShiftModifier) << 53;
        QTest::newRow("main row +") << int(Qt::Key_Plus) << 0 << 0;
        QTest::newRow("main row -") << int(Qt::Key_Minus) << 0 << 0;
        QTest::newRow("main row *") << int(Qt::Key_Asterisk) << 0 << 0;
        QTest::newRow("main row /") << int(Qt::Key_Slash) << 0 << 0;
        QTest::newRow("return") << int(Qt::Key_Return) << 0 << 0;
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << kp << 0;
        QTest::newRow("keypad .") << int(Qt::Key_Period) << kp << 0;
        QTest::newRow("keypad insert") << int(Qt::Key_Insert) << kp << 0;
        QTest::newRow("letter a") << int(Qt::Key_A) << 0 << 0;
    }

    void translation()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, code);
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            const QKeyEvent event(type, key, Qt::KeyboardModifiers(modifiers));
            QCOMPARE(int(VirtualKey::of(event)), code);
        }
    }

    void shiftState_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("shift");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("shift") << int(Qt::ShiftModifier) << 1;
        QTest::newRow("ctrl") << int(Qt::ControlModifier) << 2;
        QTest::newRow("alt") << int(Qt::AltModifier) << 4;
        QTest::newRow("all three") << int(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier) << 7;
        QTest::newRow("keypad and meta do not count") << int(Qt::KeypadModifier | Qt::MetaModifier) << 0;
    }

    void shiftState()
    {
        QFETCH(int, modifiers);
        QFETCH(int, shift);
        const QKeyEvent event(QEvent::KeyRelease, Qt::Key_5, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(int(VirtualKey::shiftState(event)), shift);
    }
};

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
