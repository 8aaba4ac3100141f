#pragma once

#include <QString>
#include <cstdint>

// The program's side of the Pellund conversion library. The library is loaded on first use
// from the running program's own folder; a call that cannot be made (no library, a missing
// function) is skipped and leaves its outputs untouched. Each function says whether the
// call was made, which the calculator ignores.
namespace TimeCodeTranslate {

// The buffer the library writes its text into: 32 NULs.
inline QString emptyText()
{
    return QString(32, QChar(0));
}

// dwMax := tc2Maximum(flags).
bool tc2Maximum(int32_t flags, int32_t &dwMax);

// The library writes the text of frames into text. text keeps its length: the library's
// text followed by whatever the buffer held after it (NULs, for the usual 32-NUL buffer).
bool tc2String(int32_t frames, int32_t flags, QString &text);

// frames := the frame count the text stands for. text goes as an 8-bit buffer of its own
// length and comes back as the library left it.
bool tc2Frame(QString &text, int32_t flags, int32_t &frames);

// The library file the functions use: a path without prefix or suffix ("<folder>/Pellund").
// By default the program's folder; tests point it elsewhere. Unloads any library in use.
void setLibraryBase(const QString &base);
QString libraryBase();

} // namespace TimeCodeTranslate
