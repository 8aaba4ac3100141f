#include "DesktopPlace.h"

#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace DesktopPlace {

QPoint at(int leftTwips, int topTwips)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    return origin + Twips::toPixels(leftTwips, topTwips);
}

} // namespace DesktopPlace
