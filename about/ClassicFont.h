#pragma once

#include <QFont>
#include <QString>

// A font named as a classic Windows form names it ("MS Sans Serif", "Arial"). The texts were
// laid out for those widths, so where the family is missing an Arial-metric twin stands in
// before the platform's sans-serif; the point size never changes.
QFont classicFont(const QString &family, qreal pointSize, bool bold);

// The default dialog font: MS Sans Serif 8.25 pt regular.
QFont dialogFont();

// Makes the dialog font the program's default font, keeping the platform's font for tooltips
// and message boxes as before. A line edit lays its text out once in the default font before
// it takes its window's font; without this that costs a second family, loaded for nothing.
void useDialogFontByDefault();
