#include "CalculatorPicture.h"

QPixmap calculatorPicture()
{
    return QPixmap(QStringLiteral(":/ostrel/calculator.xpm"));
}
