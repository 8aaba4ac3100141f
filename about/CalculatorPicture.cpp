#include "CalculatorPicture.h"

#include "calculator.xpm"

// Read straight from the array: loading it as a file would first scan Qt's image format
// plugins and load several of them, which costs start-up time and memory for nothing.
QImage calculatorImage()
{
    static const QImage picture(calculator_xpm);
    return picture;
}

QPixmap calculatorPicture()
{
    return QPixmap::fromImage(calculatorImage());
}
