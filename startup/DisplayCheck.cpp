#include "DisplayCheck.h"

#include <QByteArrayList>
#include <QtGlobal>

#include <cstring>
#include <unistd.h>

namespace DisplayCheck {

namespace {

// The value of Qt's option name (-name or --name), empty when not given.
QByteArray option(int argc, const char *const argv[], const char *name)
{
    for (int i = 1; i + 1 < argc; ++i) {
        const char *arg = argv[i];
        if (arg[0] == '-' && arg[1] == '-')
            ++arg;
        if (arg[0] == '-' && std::strcmp(arg + 1, name) == 0)
            return QByteArray(argv[i + 1]);
    }
    return QByteArray();
}

// libwayland's own default when WAYLAND_DISPLAY is unset.
bool defaultWaylandSocket(const Lookup &environment)
{
    const QByteArray runtime = environment("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && ::access((runtime + "/wayland-0").constData(), F_OK) == 0;
}

struct Needs {
    bool x11 = false;
    bool wayland = false;
    bool other = false;
};

// Which kinds of display the platforms Qt will try need; Qt's own choice, with none named,
// is Wayland or X11.
Needs needsOf(const QByteArray &platforms)
{
    Needs needs;
    if (platforms.isEmpty()) {
        needs.x11 = needs.wayland = true;
        return needs;
    }
    for (const QByteArray &entry : platforms.split(';')) {
        const QByteArray name = entry.split(':').constFirst().trimmed();
        if (name == "xcb")
            needs.x11 = true;
        else if (name.startsWith("wayland"))
            needs.wayland = true;
        else if (!name.isEmpty())
            needs.other = true;
    }
    return needs;
}

} // namespace

QByteArray missing(int argc, const char *const argv[], const Lookup &environment)
{
    QByteArray platforms = option(argc, argv, "platform");
    if (platforms.isEmpty())
        platforms = environment("QT_QPA_PLATFORM");
    const Needs needs = needsOf(platforms);
    if (needs.other)
        return QByteArray();
    const bool x11 = !environment("DISPLAY").isEmpty() || !option(argc, argv, "display").isEmpty();
    // Qt's own choice tries Wayland only when WAYLAND_DISPLAY names it.
    const bool wayland = !environment("WAYLAND_DISPLAY").isEmpty()
        || !environment("WAYLAND_SOCKET").isEmpty()
        || (!platforms.isEmpty() && defaultWaylandSocket(environment));
    if ((needs.x11 && x11) || (needs.wayland && wayland))
        return QByteArray();
    if (needs.x11 && needs.wayland)
        return "DISPLAY and WAYLAND_DISPLAY are not set";
    return needs.x11 ? "DISPLAY is not set" : "WAYLAND_DISPLAY is not set";
}

QByteArray missing(int argc, const char *const argv[])
{
    return missing(argc, argv, [](const char *name) { return qgetenv(name); });
}

} // namespace DisplayCheck
