// Run on two screens, the primary one to the right of the other, which reaches 100 pixels
// higher: both windows stand at their places from the top-left corner of the primary screen,
// not of the whole desktop. (The offscreen platform makes the first name primary.)
#include "CalculatorFixture.h"
#include "frmSplash.h"

#include <QScreen>
#include <QtTest>

class tst_Placement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::screens().size(), 2);
        QCOMPARE(QGuiApplication::primaryScreen()->geometry().topLeft(), QPoint(1280, 0));
        QCOMPARE(QGuiApplication::primaryScreen()->virtualGeometry().topLeft(), QPoint(0, -100));
    }

    void bothWindowsFromThePrimaryScreenCorner()
    {
        CalculatorFixture f;
        QCOMPARE(f.w().geometry().topLeft(), QPoint(1280 + 298, 247)); // 4470, 3705 twips
        frmSplash::showSplash();
        frmSplash *splash = frmSplash::current();
        QVERIFY(splash);
        QWidget *client = splash->findChild<QWidget *>(QStringLiteral("client"));
        QCOMPARE(client->mapToGlobal(QPoint(0, 0)), QPoint(1280 + 230, 238)); // 3450, 3570 twips
        splash->close();
    }
};

QTEST_MAIN(tst_Placement)
#include "tst_placement.moc"
