#include "TimeCodeTranslate.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <memory>

namespace {

constexpr int kTextSize = 32; // the library's text buffer, NUL included

using MaximumFn = int32_t (*)(int32_t);
using StringFn = int32_t (*)(int32_t, int32_t, char *);
using FrameFn = int32_t (*)(char *, int32_t, int32_t *);

struct Loaded {
    std::unique_ptr<QLibrary> library;
    bool tried = false;
    QString base;
};

Loaded &loaded()
{
    static Loaded state;
    return state;
}

QString defaultBase()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Pellund");
}

// The exact file name, so that no search path is ever consulted.
QString libraryFile(const QString &base)
{
    const QFileInfo info(base);
#ifdef Q_OS_WIN
    return info.path() + QLatin1Char('/') + info.fileName() + QStringLiteral(".dll");
#else
    return info.path() + QStringLiteral("/lib") + info.fileName() + QStringLiteral(".so");
#endif
}

QFunctionPointer resolve(const char *symbol)
{
    Loaded &state = loaded();
    if (!state.tried) {
        state.tried = true;
        const QString file = libraryFile(TimeCodeTranslate::libraryBase());
        if (QFileInfo(file).isAbsolute() && QFileInfo::exists(file)) {
            auto library = std::make_unique<QLibrary>(file);
            if (library->load())
                state.library = std::move(library);
        }
    }
    return state.library ? state.library->resolve(symbol) : nullptr;
}

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
    auto fn = reinterpret_cast<MaximumFn>(resolve("tc2Maximum"));
    if (!fn)
        return false;
    dwMax = fn(flags);
    return true;
}

bool tc2String(int32_t frames, int32_t flags, QString &text)
{
    auto fn = reinterpret_cast<StringFn>(resolve("tc2String"));
    if (!fn)
        return false;
    QByteArray buffer = toBuffer(text);
    fn(frames, flags, buffer.data());
    text = QString::fromLatin1(buffer.constData(), text.size());
    return true;
}

bool tc2Frame(QString &text, int32_t flags, int32_t &frames)
{
    auto fn = reinterpret_cast<FrameFn>(resolve("tc2Frame"));
    if (!fn)
        return false;
    QByteArray buffer = toBuffer(text);
    int32_t value = frames;
    fn(buffer.data(), flags, &value);
    frames = value;
    text = QString::fromLatin1(buffer.constData(), text.size());
    return true;
}

void setLibraryBase(const QString &base)
{
    Loaded &state = loaded();
    state.library.reset();
    state.tried = false;
    state.base = base;
}

QString libraryBase()
{
    const Loaded &state = loaded();
    return state.base.isEmpty() ? defaultBase() : state.base;
}

} // namespace TimeCodeTranslate
