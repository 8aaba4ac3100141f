#include "ClassicFont.h"

#include <QStringList>

namespace {

const QString msSansSerif = QStringLiteral("MS Sans Serif");

// Qt does not follow fontconfig's metric aliases for a named family, so list them here.
QStringList familiesFor(const QString &family)
{
    const QStringList arialLike = {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                   QStringLiteral("Arimo"), QStringLiteral("Nimbus Sans")};
    if (family == msSansSerif)
        return QStringList{msSansSerif, QStringLiteral("Microsoft Sans Serif")} + arialLike;
    if (arialLike.contains(family))
        return arialLike;
    return {family};
}

} // namespace

QFont classicFont(const QString &family, qreal pointSize, bool bold)
{
    QFont font;
    font.setFamilies(familiesFor(family));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QFont dialogFont()
{
    return classicFont(msSansSerif, 8.25, false);
}
