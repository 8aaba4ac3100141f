#include "ClassicFont.h"

#include <QApplication>
#include <QFontInfo>
#include <QtTest>

class tst_ClassicFont : public QObject
{
    Q_OBJECT

private slots:
    // Handing Qt only the first installed family must pick the face the whole list picks.
    void sameFaceAsTheWholeList_data()
    {
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<qreal>("pointSize");
        QTest::addColumn<bool>("bold");
        const QStringList arial = {"Arial", "Liberation Sans", "Arimo", "Nimbus Sans"};
        QTest::newRow("dialog font") << (QStringList{"MS Sans Serif", "Microsoft Sans Serif"} + arial)
                                     << 8.25 << false;
        QTest::newRow("display font") << (QStringList{"MS Sans Serif", "Microsoft Sans Serif"} + arial)
                                      << 12.0 << true;
        QTest::newRow("product name") << arial << 32.25 << true;
    }
    void sameFaceAsTheWholeList()
    {
        QFETCH(QStringList, families);
        QFETCH(qreal, pointSize);
        QFETCH(bool, bold);
        QFont whole;
        whole.setFamilies(families);
        whole.setStyleHint(QFont::SansSerif);
        whole.setPointSizeF(pointSize);
        whole.setBold(bold);
        const QFont chosen = classicFont(families.first(), pointSize, bold);
        QCOMPARE(QFontInfo(chosen).family(), QFontInfo(whole).family());
        QCOMPARE(QFontInfo(chosen).styleName(), QFontInfo(whole).styleName());
    }

    void tooltipsAndMessageBoxesKeepTheirFont()
    {
        const QFont tip = QApplication::font("QTipLabel");
        const QFont box = QApplication::font("QMessageBox");
        useDialogFontByDefault();
        QCOMPARE(QApplication::font(), dialogFont());
        QCOMPARE(QApplication::font("QTipLabel"), tip);
        QCOMPARE(QApplication::font("QMessageBox"), box);
    }
};

QTEST_MAIN(tst_ClassicFont)
#include "tst_classicfont.moc"
