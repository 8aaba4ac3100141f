#pragma once

#include "frmOstrel.h"

#include <QStringList>
#include <initializer_list>
#include <memory>

// A calculator window for tests, shown and active, whose range messages are recorded instead
// of opening a modal box.
class CalculatorFixture
{
public:
    CalculatorFixture();
    ~CalculatorFixture();

    frmOstrel &w() { return *window; }

    // Presses buttons by their captions or short names: "0".."9", "+", "-", "x", "/", "=",
    // "Bksp", "CE", "CLR", "MS", "MR", "MS1", "MR1", "Copy", "Paste", "info", the standards
    // "NDF", "DF", "PAL", "FILM", "23.98", "frm", and the boxes "Marks", "Leading".
    void press(std::initializer_list<const char *> keys);
    void press(const QString &key);

    // Types each digit of the text with the digit buttons.
    void type(const QString &digits);

    QString display() const;
    QStringList takeMessages();

    // The objectName a short name stands for.
    static QString controlName(const QString &key);

    std::unique_ptr<frmOstrel> window;
    QStringList messages;
};

// Everything a press can change, to prove that a press changed nothing else.
struct StateSnapshot {
    QString shown, tcDisplay, raw, ret1, ret2, clip, error;
    int32_t current, last, memory1, memory2, tcClip, flags;
    int16_t lastCmd, frameMode;
    QWidget *focus;

    static StateSnapshot of(CalculatorFixture &f);

    // "name before -> after" for each field that differs in later, by its variable's name,
    // leaving out the fields named in ignoring.
    QStringList changes(const StateSnapshot &later, const QStringList &ignoring = {}) const;
};

// "frm 2000 +": a run of digits is typed digit by digit, any other word is one button.
void run(CalculatorFixture &f, const QString &keys);

inline QString nuls(int count)
{
    return QString(count, QChar(0));
}

// A time code as the display text holds it: 32 characters, NULs after the text.
inline QString tc(const QString &text)
{
    return text + nuls(32 - text.size());
}
