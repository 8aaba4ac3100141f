#include "ClassicFont.h"

#include <QApplication>
#include <QFontDatabase>
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

// Only the first installed family is handed to Qt: for every missing name Qt would ask
// fontconfig for aliases and a sorted fallback list, each time a size is first used.
QStringList firstInstalled(const QStringList &families)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString &family : families) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return {family};
    }
    return families;
}

} // namespace

QFont classicFont(const QString &family, qreal pointSize, bool bold)
{
    QFont font;
    font.setFamilies(firstInstalled(familiesFor(family)));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QFont dialogFont()
{
    return classicFont(msSansSerif, 8.25, false);
}

void useDialogFontByDefault()
{
    const QFont tipFont = QApplication::font("QTipLabel");
    const QFont boxFont = QApplication::font("QMessageBox");
    // Setting the default forgets every per-class font, so these two go back in after it.
    QApplication::setFont(dialogFont());
    QApplication::setFont(tipFont, "QTipLabel");
    QApplication::setFont(boxFont, "QMessageBox");
}
