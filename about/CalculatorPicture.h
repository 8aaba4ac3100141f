#pragma once

#include <QImage>
#include <QPixmap>

// The 32 x 32, 16-colour calculator picture: the program's window icon and the about
// window's logo. Compiled in from calculator.xpm.
QImage calculatorImage();
QPixmap calculatorPicture();
