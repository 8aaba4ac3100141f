#include "WebPlace.h"

#include "DesktopPlace.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace WebPlace {

namespace {

const char kOffset[] = "ostrelPageOffset";

// Each window keeps its place in relation to the page's middle. Placing it there afresh on
// every change, rather than moving it by the change, keeps what Qt took away while the page
// was too small to hold it (a window is never put above the page's top edge).
void place(QWidget *window, QPoint before, QPoint now)
{
    QVariant offset = window->property(kOffset);
    if (!offset.isValid()) {
        offset = window->pos() - before;
        window->setProperty(kOffset, offset);
    }
    window->move(now + offset.toPoint());
}

} // namespace

void followPage()
{
    QScreen *page = QGuiApplication::primaryScreen();
    if (!page)
        return;
    QObject::connect(page, &QScreen::geometryChanged, qApp,
                     [origin = DesktopPlace::at(0, 0)]() mutable {
                         const QPoint before = origin;
                         origin = DesktopPlace::at(0, 0);
                         for (QWidget *window : QApplication::topLevelWidgets()) {
                             if (window->isVisible())
                                 place(window, before, origin);
                         }
                     });
}

} // namespace WebPlace
