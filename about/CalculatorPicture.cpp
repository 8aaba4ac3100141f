#include "CalculatorPicture.h"

#include "calculator.xpm"

#include <QByteArrayView>
#include <QList>

#include <optional>

namespace {

// Reads the digits at text and moves past them and one following blank.
int number(const char *&text)
{
    int value = 0;
    for (; *text >= '0' && *text <= '9' && value < 100000; ++text)
        value = value * 10 + (*text - '0');
    if (*text == ' ')
        ++text;
    return value;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A colour line's value: "c #RRGGBB" or "c None". Anything else is not ours: nullopt.
std::optional<QRgb> colourOf(QByteArrayView value)
{
    if (value == "c None")
        return qRgba(0, 0, 0, 0);
    if (value.size() != 9 || !value.startsWith("c #"))
        return std::nullopt;
    QRgb rgb = 0xff;
    for (const char c : value.sliced(3)) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        rgb = rgb << 4 | uint(digit);
    }
    return rgb;
}

// The picture as Qt's XPM reader gives it (8-bit indexed, None fully transparent), read here
// because that reader parses with sscanf, whose code would be paged in for 17 short lines.
QImage readXpm(const char *const xpm[])
{
    const char *header = xpm[0];
    const int width = number(header), height = number(header);
    const int colours = number(header), chars = number(header);
    if (width <= 0 || height <= 0 || colours <= 0 || colours > 256 || chars != 1)
        return QImage();
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> table(colours);
    uchar indexOf[256] = {};
    for (int i = 0; i < colours; ++i) {
        const QByteArrayView line(xpm[1 + i]);
        if (line.size() < 2 || line[1] != ' ')
            return QImage();
        const std::optional<QRgb> colour = colourOf(line.sliced(2));
        if (!colour)
            return QImage();
        table[i] = *colour;
        indexOf[uchar(line[0])] = uchar(i);
    }
    image.setColorTable(table);
    for (int y = 0; y < height; ++y) {
        const char *row = xpm[1 + colours + y];
        if (QByteArrayView(row).size() < width)
            return QImage();
        uchar *pixels = image.scanLine(y);
        for (int x = 0; x < width; ++x)
            pixels[x] = indexOf[uchar(row[x])];
    }
    return image;
}

} // namespace

// Read straight from the array: loading it as a file would first scan Qt's image format
// plugins and load several of them, which costs start-up time and memory for nothing.
QImage calculatorImage()
{
    static const QImage picture = readXpm(calculator_xpm);
    return picture;
}

QPixmap calculatorPicture()
{
    return QPixmap::fromImage(calculatorImage());
}
