#pragma once

#include <QString>

// The program's own version, major.minor.revision, as the system records it: on Windows the
// version information in the program file, elsewhere the version it was built as.
QString programVersion();
