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
