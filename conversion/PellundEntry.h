#pragma once

#include <QtGlobal>

// Where the conversion library's functions come from: the library file in the program's folder,
// loaded on first use, or the library linked into the program where it is one static file (in a
// browser). Either way a function is found by its name, as the program has always called it.
namespace PellundEntry {

// The library's function of that name; null when there is no library or no such function.
QFunctionPointer resolve(const char *symbol);

} // namespace PellundEntry
