#include "WebPlace.h"

#include "DesktopPlace.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace WebPlace {

void followPage()
{
    QScreen *page = QGuiApplication::primaryScreen();
    if (!page)
        return;
    QObject::connect(page, &QScreen::geometryChanged, qApp,
                     [origin = DesktopPlace::at(0, 0)]() mutable {
                         const QPoint moved = DesktopPlace::at(0, 0);
                         const QPoint shift = moved - origin;
                         origin = moved;
                         for (QWidget *window : QApplication::topLevelWidgets()) {
                             if (window->isVisible())
                                 window->move(window->pos() + shift);
                         }
                     });
}

} // namespace WebPlace
