#pragma once

#include <QPixmap>

// The 32 x 32, 16-colour calculator picture: the program's window icon and the about
// window's logo. Embedded as the resource ":/ostrel/calculator.xpm".
QPixmap calculatorPicture();
