// Writes the calculator picture in the hicolor theme's sizes for installation:
//   ostrel_icons OUTDIR  ->  OUTDIR/<n>x<n>/apps/ostrel.png
// Nearest-neighbour scaling keeps the 32 x 32 picture's pixels square and its colours pure.
// Halving it would drop every other row and column, outlines included, so 16 x 16 has its
// own drawing.
#include "CalculatorPicture.h"

#include <QDir>
#include <QImage>
#include <cstdio>

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
    return 0;
}
