// The library linked into the program, where the program is one static file (a browser has no
// library files to load). Its functions are still found by name, so the calls stay the same.
#include "PellundEntry.h"
#include "TimeCodeTranslate.h"
#include "pellund.h"

#include <cstring>

namespace {

struct Entry {
    const char *name;
    QFunctionPointer function;
};

const Entry kEntries[] = {
    {"tc2Maximum", reinterpret_cast<QFunctionPointer>(&::tc2Maximum)},
    {"tc2String", reinterpret_cast<QFunctionPointer>(&::tc2String)},
    {"tc2Frame", reinterpret_cast<QFunctionPointer>(&::tc2Frame)},
};

QString &base()
{
    static QString state;
    return state;
}

} // namespace

QFunctionPointer PellundEntry::resolve(const char *symbol)
{
    for (const Entry &entry : kEntries) {
        if (std::strcmp(entry.name, symbol) == 0)
            return entry.function;
    }
    return nullptr;
}

namespace TimeCodeTranslate {

// There is no file to point at: the base is only kept, and the linked library always answers.
void setLibraryBase(const QString &newBase)
{
    base() = newBase;
}

QString libraryBase()
{
    return base();
}

} // namespace TimeCodeTranslate
