#include "CalculatorFixture.h"

#include "DisplayBox.h"
#include "RangeMessage.h"

#include <QAbstractButton>
#include <QApplication>
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

StateSnapshot StateSnapshot::of(CalculatorFixture &f)
{
    const frmOstrel &w = f.w();
    return {f.display(), w.szTCDisplay, w.szRawTC, w.szTCRet1, w.szTCRet2, w.szTCClip,
            w.szErrorMsg, w.dwTCcurrent, w.dwTCLast, w.dwMemory1, w.dwMemory2, w.dwTCClip,
            w.dwFlags, w.cLastCmd, w.bFrameMode, QApplication::focusWidget()};
}

QStringList StateSnapshot::changes(const StateSnapshot &later, const QStringList &ignoring) const
{
    QStringList out;
    const auto text = [&](const char *name, const QString &a, const QString &b) {
        if (a != b && !ignoring.contains(QLatin1String(name)))
            out << QStringLiteral("%1 '%2' -> '%3'").arg(QLatin1String(name), a, b);
    };
    const auto number = [&](const char *name, qint64 a, qint64 b) {
        if (a != b && !ignoring.contains(QLatin1String(name)))
            out << QStringLiteral("%1 %2 -> %3").arg(QLatin1String(name)).arg(a).arg(b);
    };
    text("display", shown, later.shown);
    text("szTCDisplay", tcDisplay, later.tcDisplay);
    text("szRawTC", raw, later.raw);
    text("szTCRet1", ret1, later.ret1);
    text("szTCRet2", ret2, later.ret2);
    text("szTCClip", clip, later.clip);
    text("szErrorMsg", error, later.error);
    number("dwTCcurrent", current, later.current);
    number("dwTCLast", last, later.last);
    number("dwMemory1", memory1, later.memory1);
    number("dwMemory2", memory2, later.memory2);
    number("dwTCClip", tcClip, later.tcClip);
    number("dwFlags", flags, later.flags);
    number("cLastCmd", lastCmd, later.lastCmd);
    number("bFrameMode", frameMode, later.frameMode);
    const auto focusName = [](QWidget *w) { return w ? w->objectName() : QStringLiteral("none"); };
    if (focus != later.focus && !ignoring.contains(QLatin1String("focus")))
        out << QStringLiteral("focus %1 -> %2").arg(focusName(focus), focusName(later.focus));
    return out;
}
