// In a browser the screen is the page. The windows keep their places relative to one another,
// and the calculator stands in the middle of the page.
#include "DesktopPlace.h"

#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace DesktopPlace {

QPoint at(int leftTwips, int topTwips)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect page = screen ? screen->geometry() : QRect();
    using namespace CalculatorPlace;
    const QRect calculator = Twips::toPixels(screenLeft, screenTop, clientWidth, clientHeight);
    const QPoint origin = page.topLeft()
        + QPoint((page.width() - calculator.width()) / 2 - calculator.left(),
                 (page.height() - calculator.height()) / 2 - calculator.top());
    return origin + Twips::toPixels(leftTwips, topTwips);
}

} // namespace DesktopPlace
