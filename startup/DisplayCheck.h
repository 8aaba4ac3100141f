#pragma once

#include <QByteArray>

#include <functional>

// Without a display Qt aborts, advising to reinstall the program. The program says instead
// which variable would give it one, before Qt starts. Only an unset variable is caught here:
// a display that is named but cannot be reached is still Qt's to report.
namespace DisplayCheck {

// The value of an environment variable, empty when unset.
using Lookup = std::function<QByteArray(const char *name)>;

// Empty when each platform Qt will try may find its display (or needs none); otherwise the
// reason, e.g. "DISPLAY and WAYLAND_DISPLAY are not set". argv is read for -platform and
// -display, as Qt reads them.
QByteArray missing(int argc, const char *const argv[], const Lookup &environment);

// missing() on the process's own environment.
QByteArray missing(int argc, const char *const argv[]);

} // namespace DisplayCheck
