#include "CalculatorFixture.h"

#include "DisplayBox.h"
#include "RangeMessage.h"

#include <QAbstractButton>
#include <QHash>
#include <QTest>

CalculatorFixture::CalculatorFixture()
{
    RangeMessage::setHandler([this](QWidget *, const QString &text) { messages << text; });
    window = std::make_unique<frmOstrel>();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("calculator window did not become active");
}

CalculatorFixture::~CalculatorFixture()
{
    window.reset();
    RangeMessage::setHandler({});
}

QString CalculatorFixture::controlName(const QString &key)
{
    static const QHash<QString, QString> names = {
        {"+", "cmdPlus"}, {"-", "cmdMinus"}, {"x", "cmdMultiply"}, {"*", "cmdMultiply"},
        {"/", "cmdDivide"}, {"=", "cmdEquals"}, {"Bksp", "cmdBackspace"}, {"CE", "cmdCE"},
        {"CLR", "cmdCLR"}, {"MS", "cmdMemSet"}, {"MR", "cmdMemRecall"}, {"MS1", "cmdMemSet1"},
        {"MR1", "cmdMemRecall1"}, {"Copy", "cmdCopy"}, {"Paste", "cmdPaste"}, {"info", "Info"},
        {"NDF", "TCOption(2)"}, {"DF", "TCOption(4)"}, {"PAL", "TCOption(8)"},
        {"FILM", "TCOption(1)"}, {"23.98", "TCOption(128)"}, {"frm", "TCOption(0)"},
        {"Marks", "ckMarks"}, {"Leading", "ckLeading"},
    };
    if (key.size() == 1 && key.at(0).isDigit())
        return QStringLiteral("cmd") + key;
    return names.value(key, key);
}

void CalculatorFixture::press(const QString &key)
{
    QAbstractButton *target = window->button(controlName(key));
    if (!target)
        qFatal("no control for key %s", qPrintable(key));
    target->click();
}

void CalculatorFixture::press(std::initializer_list<const char *> keys)
{
    for (const char *key : keys)
        press(QString::fromLatin1(key));
}

void CalculatorFixture::type(const QString &digits)
{
    for (const QChar digit : digits)
        press(QString(digit));
}

QString CalculatorFixture::display() const
{
    return window->TxtDisplay()->text();
}

QStringList CalculatorFixture::takeMessages()
{
    QStringList taken;
    taken.swap(messages);
    return taken;
}

void run(CalculatorFixture &f, const QString &keys)
{
    for (const QString &key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool digits = true;
        for (const QChar c : key)
            digits = digits && c.isDigit();
        if (digits)
            f.type(key);
        else
            f.press(key);
    }
}
