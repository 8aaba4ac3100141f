// Writes the calculator picture in the hicolor theme's sizes for installation:
//   ostrel_icons OUTDIR  ->  OUTDIR/<n>x<n>/apps/ostrel.png, OUTDIR/scalable/apps/ostrel.svg
// Nearest-neighbour scaling keeps the 32 x 32 picture's pixels square and its colours pure.
// Halving it would drop every other row and column, outlines included, so 16 x 16 has its
// own drawing. The scalable icon is the same picture as squares, so it stays crisp at any size.
#include "CalculatorPicture.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextStream>
#include <cstdio>

// One rectangle for each run of equal opaque pixels in a row.
static bool writeSvg(const QImage &picture, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&file);
    out << QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                          "viewBox=\"0 0 %1 %2\" shape-rendering=\"crispEdges\">\n")
               .arg(picture.width()).arg(picture.height());
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width();) {
            const QRgb colour = picture.pixel(x, y);
            int end = x + 1;
            while (end < picture.width() && picture.pixel(end, y) == colour)
                ++end;
            if (qAlpha(colour) != 0)
                out << QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"1\" fill=\"%4\"/>\n")
                           .arg(x).arg(y).arg(end - x).arg(QColor(colour).name());
            x = end;
        }
    }
    out << "</svg>\n";
    return out.status() == QTextStream::Ok && file.flush();
}

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const QImage picture = calculatorImage();
    if (picture.isNull()) {
        std::fprintf(stderr, "the calculator picture is missing\n");
        return 1;
    }
    const QImage small(QStringLiteral(":/ostrel/calculator16.xpm"));
    if (small.isNull() || small.size() != QSize(16, 16)) {
        std::fprintf(stderr, "the 16 x 16 picture is missing\n");
        return 1;
    }
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        const QImage &source = size == 16 ? small : picture;
        const QImage scaled = source.convertToFormat(QImage::Format_ARGB32)
                                  .scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (!QDir().mkpath(dir) || !scaled.save(dir + QStringLiteral("/ostrel.png"))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    const QString scalable = QStringLiteral("%1/scalable/apps").arg(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(scalable) || !writeSvg(picture.convertToFormat(QImage::Format_ARGB32),
                                              scalable + QStringLiteral("/ostrel.svg"))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(scalable));
        return 1;
    }
    return 0;
}
