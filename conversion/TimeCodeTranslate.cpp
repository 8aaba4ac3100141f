#include "TimeCodeTranslate.h"

#include "PellundEntry.h"

namespace {

constexpr int kTextSize = 32; // the library's text buffer, NUL included

using MaximumFn = int32_t (*)(int32_t);
using StringFn = int32_t (*)(int32_t, int32_t, char *);
using FrameFn = int32_t (*)(char *, int32_t, int32_t *);

// An 8-bit copy of the text with room for the library's largest text and a NUL.
QByteArray toBuffer(const QString &text)
{
    QByteArray buffer = text.toLatin1();
    if (buffer.size() < kTextSize)
        buffer.append(kTextSize - buffer.size(), '\0');
    return buffer;
}

} // namespace

namespace TimeCodeTranslate {

bool tc2Maximum(int32_t flags, int32_t &dwMax)
{
    auto fn = reinterpret_cast<MaximumFn>(PellundEntry::resolve("tc2Maximum"));
    if (!fn)
        return false;
    dwMax = fn(flags);
    return true;
}

bool tc2String(int32_t frames, int32_t flags, QString &text)
{
    auto fn = reinterpret_cast<StringFn>(PellundEntry::resolve("tc2String"));
    if (!fn)
        return false;
    QByteArray buffer = toBuffer(text);
    fn(frames, flags, buffer.data());
    text = QString::fromLatin1(buffer.constData(), text.size());
    return true;
}

bool tc2Frame(QString &text, int32_t flags, int32_t &frames)
{
    auto fn = reinterpret_cast<FrameFn>(PellundEntry::resolve("tc2Frame"));
    if (!fn)
        return false;
    QByteArray buffer = toBuffer(text);
    int32_t value = frames;
    fn(buffer.data(), flags, &value);
    frames = value;
    text = QString::fromLatin1(buffer.constData(), text.size());
    return true;
}

} // namespace TimeCodeTranslate
