#include "PlatformChoice.h"

#include <QByteArray>
#include <QtGlobal>

void preferX11WhenOffered()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    // Qt tries the listed plugins in order; xcb gives up cleanly on a display it cannot open.
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    qputenv("QT_QPA_PLATFORM", QByteArray(wayland ? "xcb;wayland" : "xcb"));
}
