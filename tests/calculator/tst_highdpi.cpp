// Run with QT_SCALE_FACTOR=2: the window and every control are exactly twice as large.
#include "CalculatorFixture.h"

#include <QAbstractButton>
#include <QtTest>

class tst_HighDpi : public QObject
{
    Q_OBJECT

private slots:
    void windowDoublesInDevicePixels()
    {
        QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("2"));
        CalculatorFixture f;
        QCOMPARE(f.w().devicePixelRatio(), 2.0);
        QCOMPARE(f.w().size(), QSize(286, 198));
        const QPixmap shot = f.w().grab();
        QCOMPARE(shot.size(), QSize(572, 396));
    }

    void layoutKeepsItsProportions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("devicePlace");
        QTest::newRow("equals") << "cmdEquals" << QRect(380, 318, 82, 66);
        QTest::newRow("memory set") << "cmdMemSet" << QRect(14, 120, 82, 66);
        QTest::newRow("info") << "Info" << QRect(496, 8, 66, 50);
        QTest::newRow("frm") << "TCOption(0)" << QRect(482, 72, 82, 34);
    }

    void layoutKeepsItsProportions()
    {
        QFETCH(QString, name);
        QFETCH(QRect, devicePlace);
        CalculatorFixture f;
        QWidget *control = f.w().control(name);
        const qreal ratio = f.w().devicePixelRatio();
        const QRect logical = control->geometry();
        QCOMPARE(QRect(logical.topLeft() * ratio, logical.size() * ratio), devicePlace);
        QCOMPARE(control->grab().size(), devicePlace.size());
    }
};

QTEST_MAIN(tst_HighDpi)
#include "tst_highdpi.moc"
