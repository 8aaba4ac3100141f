// The library file, loaded from the program's folder on first use.
#include "PellundEntry.h"
#include "TimeCodeTranslate.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <memory>

namespace {

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

} // namespace

QFunctionPointer PellundEntry::resolve(const char *symbol)
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

namespace TimeCodeTranslate {

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
