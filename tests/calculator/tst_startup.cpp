#include "CalculatorFixture.h"
#include "DisplayBox.h"
#include "TimeCodeTranslate.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QtTest>

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    void init() { TimeCodeTranslate::setLibraryBase(QString()); }
    void cleanupTestCase() { TimeCodeTranslate::setLibraryBase(QString()); }

    void startUpState()
    {
        CalculatorFixture f;
        frmOstrel &w = f.w();
        QCOMPARE(w.dwFlags, 196610);
        QCOMPARE(w.dwMaxTC, 2592000);
        QCOMPARE(w.dwMaxFrames, 2591999);
        QCOMPARE(w.bFrameMode, int16_t(0));
        QCOMPARE(f.display(), QStringLiteral("00:00:00:00"));
        QCOMPARE(w.szTCDisplay, QStringLiteral("00:00:00:00") + QString(21, QChar(0)));
        QCOMPARE(w.dwTCcurrent, 0);
        QCOMPARE(w.cLastCmd, int16_t(0));
        QVERIFY(w.szRawTC.isEmpty());
        QVERIFY(qobject_cast<QCheckBox *>(w.control("ckMarks"))->isChecked());
        QVERIFY(qobject_cast<QCheckBox *>(w.control("ckLeading"))->isChecked());
        QVERIFY(w.button("TCOption(2)")->isChecked());
        QCOMPARE(QApplication::focusWidget(), w.control("cmdEquals"));
        QVERIFY(f.messages.isEmpty());
    }

    void displayTakesFourteenInsertedCharacters()
    {
        CalculatorFixture f;
        QCOMPARE(f.w().TxtDisplay()->insertLimit(), 14);
    }

    void checkBoxesFlipTheirBit_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("flagsOff");
        QTest::addColumn<QString>("shownOff");
        QTest::newRow("marks") << "Marks" << 0x20002 << "00000000";
        QTest::newRow("leading") << "Leading" << 0x10002 << "0";
    }

    void checkBoxesFlipTheirBit()
    {
        QFETCH(QString, box);
        QFETCH(int, flagsOff);
        QFETCH(QString, shownOff);
        CalculatorFixture f;
        f.press(box);
        QCOMPARE(f.w().dwFlags, flagsOff);
        QCOMPARE(f.display(), shownOff);
        f.press(box);
        QCOMPARE(f.w().dwFlags, 0x30002);
        QCOMPARE(f.display(), QStringLiteral("00:00:00:00"));
    }

    void bothBoxesOffShowsTheBareNumber()
    {
        CalculatorFixture f;
        f.type("105");
        f.press({"Marks", "Leading"});
        QCOMPARE(f.w().dwFlags, 0x00002);
        QCOMPARE(f.display(), QStringLiteral("105"));
        QCOMPARE(f.w().dwTCcurrent, 35);
    }

    // A box changed right after a result keeps the result and shows it in the new form.
    void boxAfterAResultKeepsIt_data()
    {
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ndf marks") << "NDF" << "Marks" << "00000108";
        QTest::newRow("ndf leading") << "NDF" << "Leading" << "1:08";
        QTest::newRow("frames marks") << "frm" << "Marks" << " 38";
        QTest::newRow("frames leading") << "frm" << "Leading" << " 38";
    }

    void boxAfterAResultKeepsIt()
    {
        QFETCH(QString, standard);
        QFETCH(QString, box);
        QFETCH(QString, shown);
        CalculatorFixture f;
        f.press(standard);
        f.press({"3", "0", "+", "8", "="});
        QCOMPARE(f.w().dwTCcurrent, 38);
        f.press(box);
        QCOMPARE(f.w().dwTCcurrent, 38);
        QCOMPARE(f.display(), shown);
        f.press("=");
        QCOMPARE(f.w().dwTCcurrent, 38);
    }

    void boxWhileTypingReadsTheEntryAgain()
    {
        CalculatorFixture f;
        f.type("123");
        QCOMPARE(f.w().dwTCcurrent, 53);
        f.press("Marks");
        QCOMPARE(f.w().dwTCcurrent, 53);
        QCOMPARE(f.display(), QStringLiteral("00000123"));
        f.press("frm");
        f.type("45");
        f.press("Leading");
        QCOMPARE(f.w().dwTCcurrent, 5345);
        QCOMPARE(f.display(), QStringLiteral(" 5345"));
    }

    void displayTCValInFrameMode_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("zero") << 0 << " 0";
        QTest::newRow("negative") << -7 << "-7";
        QTest::newRow("large") << 1234 << " 1234";
    }

    void displayTCValInFrameMode()
    {
        QFETCH(int, value);
        QFETCH(QString, shown);
        CalculatorFixture f;
        f.press("frm");
        const int32_t before = f.w().dwTCcurrent;
        f.w().displayTCVal(value);
        QCOMPARE(f.display(), shown);
        QCOMPARE(f.w().szTCDisplay, shown);
        QCOMPARE(f.w().dwTCcurrent, before);
    }

    void rangeCheckOfTypedValues_data()
    {
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("frames above") << "frm" << "2592000"
                                      << " ERROR : Maximum frame count = 2591999 " << "";
        QTest::newRow("frames at limit") << "frm" << "2591999" << "" << " 2591999";
        QTest::newRow("ndf above") << "NDF" << "24000001"
                                   << "ERROR : Maximum Time Code = 24:00:00:00" << "00:00:00:00";
        QTest::newRow("ndf at limit") << "NDF" << "24000000" << "" << "24:00:00:00";
        QTest::newRow("df above") << "DF" << "24000001"
                                  << "ERROR : Maximum Time Code = 24:00:00;00" << "00:00:00;00";
        QTest::newRow("pal above, frames carried") << "PAL" << "23595926"
                                   << "ERROR : Maximum Time Code = 24:00:00:00" << "00:00:00:00";
    }

    void rangeCheckOfTypedValues()
    {
        QFETCH(QString, standard);
        QFETCH(QString, digits);
        QFETCH(QString, message);
        QFETCH(QString, shown);
        CalculatorFixture f;
        f.press(standard);
        f.press({"7", "+"});
        f.type(digits);
        QCOMPARE(f.takeMessages(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(f.display(), shown);
        if (message.isEmpty()) {
            QCOMPARE(f.w().cLastCmd, int16_t('+'));
            return;
        }
        // The refused value is gone and so is the pending operation.
        QCOMPARE(f.w().dwTCcurrent, 0);
        QVERIFY(f.w().szRawTC.isEmpty());
        QCOMPARE(f.w().dwTCLast, 0);
        QCOMPARE(f.w().cLastCmd, int16_t(0));
        f.press("=");
        QCOMPARE(f.w().dwTCcurrent, 0);
        QVERIFY(f.messages.isEmpty());
    }

    void limitWithoutMarksIsQuotedAsATimeCode()
    {
        CalculatorFixture f;
        f.press("Marks");
        f.type("24000001");
        QCOMPARE(f.takeMessages(), QStringList{"ERROR : Maximum Time Code = 24:00:00:00"});
        QCOMPARE(f.w().szMaxTC, QStringLiteral("24:00:00:00"));
        QCOMPARE(f.display(), QStringLiteral("00000000"));
    }

    void withoutTheLibraryFrameModeStillWorks()
    {
        TimeCodeTranslate::setLibraryBase(QCoreApplication::applicationDirPath() + "/Missing");
        CalculatorFixture f;
        QCOMPARE(f.display(), QString());
        QCOMPARE(f.w().szTCDisplay, QString(32, QChar(0)));
        QCOMPARE(f.w().dwMaxTC, 0);
        f.press("frm");
        f.press({"5", "+", "3", "="});
        QCOMPARE(f.display(), QStringLiteral(" 8"));
        QVERIFY(f.messages.isEmpty());
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
