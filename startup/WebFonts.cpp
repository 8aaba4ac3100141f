#include "WebFonts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace WebFonts {

void load()
{
    QFontDatabase::addApplicationFont(QStringLiteral(":/ostrel/fonts/LiberationSans-Regular.ttf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/ostrel/fonts/LiberationSans-Bold.ttf"));
    // Qt's generic Linux theme: the sans-serif family at 9 points.
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 9));
}

} // namespace WebFonts
