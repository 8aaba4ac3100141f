#include "NumberText.h"

#include <limits>

namespace NumberText {

int32_t leadingValue(const QString &text)
{
    int64_t value = 0;
    bool negative = false, started = false;
    for (const QChar c : text) {
        if (c == QLatin1Char(' '))
            continue;
        if (!started && c == QLatin1Char('-')) {
            negative = started = true;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        started = true;
        value = std::min<int64_t>(value * 10 + (c.unicode() - '0'), int64_t(1) << 32);
    }
    if (negative)
        value = -value;
    value = std::max<int64_t>(value, std::numeric_limits<int32_t>::min());
    value = std::min<int64_t>(value, std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(value);
}

QString plain(int32_t value)
{
    return QString::number(value);
}

QString signedText(int32_t value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

QString shown(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString formatPattern(const QString &text)
{
    QString digits = shown(text);
    if (digits.isEmpty())
        return digits;
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return digits;
    digits = digits.rightJustified(8, QLatin1Char('0'));
    const qsizetype first = digits.size() - 6;
    return digits.left(first) + QLatin1Char(':') + digits.mid(first, 2) + QLatin1Char(':')
        + digits.mid(first + 2, 2) + QLatin1Char(':') + digits.mid(first + 4, 2);
}

} // namespace NumberText
