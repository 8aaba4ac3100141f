#include "CalculatorFixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QtTest>

// Digit entry, Backspace, CE and CLR.
class tst_Entry : public QObject
{
    Q_OBJECT

private:
    void entryColumns()
    {
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("value");
    }

    void checkEntry()
    {
        QFETCH(QString, standard);
        QFETCH(QString, keys);
        QFETCH(QString, entry);
        QFETCH(QString, shown);
        QFETCH(int, value);
        CalculatorFixture f;
        f.press(standard);
        run(f, keys);
        QCOMPARE(f.w().szRawTC, entry);
        QCOMPARE(f.display(), shown);
        QCOMPARE(f.w().dwTCcurrent, value);
        QVERIFY(f.messages.isEmpty());
    }

private slots:
    // The entry keeps one blank before a number, drops leading zeros and holds 8 characters.
    void digits_data()
    {
        entryColumns();
        QTest::newRow("frames first digit") << "frm" << "5" << " 05" << " 05" << 5;
        QTest::newRow("frames second digit") << "frm" << "5 3" << " 53" << " 53" << 53;
        QTest::newRow("frames zero on empty") << "frm" << "0" << " 00" << " 00" << 0;
        QTest::newRow("frames zero twice") << "frm" << "0 0" << " 00" << " 00" << 0;
        QTest::newRow("frames digit after zeros") << "frm" << "0 0 7" << " 07" << " 07" << 7;
        QTest::newRow("frames seven digits") << "frm" << "1234567" << " 1234567" << " 1234567"
                                             << 1234567;
        QTest::newRow("ndf one digit") << "NDF" << "5" << " 05" << "00:00:00:05" << 5;
        QTest::newRow("ndf frames carry into seconds") << "NDF" << "0040" << " 40"
                                                       << "00:00:01:10" << 40;
        QTest::newRow("ndf seconds and frames") << "NDF" << "1234" << " 1234" << "00:00:13:04"
                                                << 394;
        QTest::newRow("ndf eighth digit drops the blank")
            << "NDF" << "12345678" << "12345678" << "12:34:58:18" << 1358958;
        QTest::newRow("ndf ninth digit drops the first")
            << "NDF" << "123456789" << "23456789" << "23:46:09:29" << 2567099;
        QTest::newRow("pal minutes carry") << "PAL" << "123456" << " 123456" << "00:12:36:06"
                                           << 18906;
        QTest::newRow("film last frame") << "FILM" << "23" << " 23" << "00:00:00:23" << 23;
        QTest::newRow("film frames carry") << "FILM" << "24" << " 24" << "00:00:01:00" << 24;
        QTest::newRow("23.98 frames carry") << "23.98" << "1025" << " 1025" << "00:00:11:01"
                                            << 265;
        QTest::newRow("df last frame of first minute") << "DF" << "5929" << " 5929"
                                                       << "00:00:59;29" << 1799;
        QTest::newRow("df first frame of second minute") << "DF" << "10002" << " 10002"
                                                         << "00:01:00;02" << 1800;
    }

    void digits() { checkEntry(); }

    // Backspace leaves the leading number less its last digit, padded with 32 NULs.
    void backspace_data()
    {
        entryColumns();
        QTest::newRow("frames four digits") << "frm" << "1234 Bksp" << "123" + nuls(32) << "123"
                                            << 123;
        QTest::newRow("frames twice") << "frm" << "123 Bksp Bksp" << "1" + nuls(32) << "1" << 1;
        QTest::newRow("frames single digit") << "frm" << "5 Bksp" << nuls(32) << "" << 0;
        QTest::newRow("frames empty entry") << "frm" << "Bksp" << nuls(32) << "" << 0;
        QTest::newRow("frames after a result") << "frm" << "5 + 3 = Bksp" << nuls(32) << ""
                                               << 0;
        QTest::newRow("frames digit after backspace") << "frm" << "1234 Bksp 4" << " 1234"
                                                      << " 1234" << 1234;
        QTest::newRow("frames digit after emptying") << "frm" << "5 Bksp 7" << " 07" << " 07"
                                                     << 7;
        QTest::newRow("ndf four digits") << "NDF" << "1234 Bksp" << "123" + nuls(32)
                                         << "00:00:01:23" << 53;
        QTest::newRow("ndf single digit") << "NDF" << "5 Bksp" << nuls(32) << "00:00:00:00"
                                          << 0;
        QTest::newRow("ndf eight digits") << "NDF" << "12345678 Bksp" << "1234567" + nuls(32)
                                          << "01:23:47:07" << 150817;
        QTest::newRow("ndf digit after backspace") << "NDF" << "1234 Bksp 5" << " 1235"
                                                   << "00:00:13:05" << 395;
        QTest::newRow("df five digits") << "DF" << "10002 Bksp" << "1000" + nuls(32)
                                        << "00:00:10;00" << 300;
    }

    void backspace() { checkEntry(); }

    // CE zeroes the value and the entry; the pending operation and its left operand stay.
    void clearEntry_data()
    {
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("zero");
        QTest::addColumn<int>("pending");
        QTest::addColumn<int>("left");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("result");
        QTest::newRow("frames keeps plus") << "frm" << "5 + 3" << " 0" << int('+') << 5
                                           << "2 =" << " 7";
        QTest::newRow("frames nothing pending") << "frm" << "42" << " 0" << 0 << 0 << "="
                                                << " 0";
        QTest::newRow("frames after equals") << "frm" << "5 + 3 =" << " 0" << 48 << 8
                                             << "+ 4 =" << " 4";
        QTest::newRow("ndf keeps minus") << "NDF" << "100 - 20" << "00:00:00:00" << int('-')
                                         << 30 << "10 =" << "00:00:00:20";
        QTest::newRow("df keeps times") << "DF" << "5929 x 3" << "00:00:00;00" << int('*')
                                        << 1799 << "2 =" << "00:02:00;02";
    }

    void clearEntry()
    {
        QFETCH(QString, standard);
        QFETCH(QString, before);
        QFETCH(QString, zero);
        QFETCH(int, pending);
        QFETCH(int, left);
        QFETCH(QString, after);
        QFETCH(QString, result);
        CalculatorFixture f;
        f.press(standard);
        run(f, before);
        f.press("CE");
        QCOMPARE(f.display(), zero);
        QCOMPARE(f.w().dwTCcurrent, 0);
        QVERIFY(f.w().szRawTC.isEmpty());
        QCOMPARE(int(f.w().cLastCmd), pending);
        QCOMPARE(f.w().dwTCLast, left);
        run(f, after);
        QCOMPARE(f.display(), result);
        QVERIFY(f.messages.isEmpty());
    }

    // CLR forgets value, memories and the pending operation, and keeps the chosen form.
    void clearAll_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("zero");
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("marks");
        QTest::newRow("pal without marks") << "PAL Marks" << "TCOption(8)" << "00000000"
                                           << 0x20008 << false;
        QTest::newRow("df") << "DF" << "TCOption(4)" << "00:00:00;00" << 0x30004 << true;
        QTest::newRow("frame mode") << "frm" << "TCOption(0)" << " 0" << 0x30000 << true;
    }

    void clearAll()
    {
        QFETCH(QString, setup);
        QFETCH(QString, option);
        QFETCH(QString, zero);
        QFETCH(int, flags);
        QFETCH(bool, marks);
        CalculatorFixture f;
        frmOstrel &w = f.w();
        run(f, setup);
        run(f, "1234 MS 56 MS1 + 7");
        QVERIFY(w.dwMemory1 != 0 && w.dwMemory2 != 0 && w.cLastCmd != 0 && w.dwTCLast != 0);
        f.press("CLR");
        QCOMPARE(w.dwTCcurrent, 0);
        QCOMPARE(w.dwMemory1, 0);
        QCOMPARE(w.dwMemory2, 0);
        QCOMPARE(w.dwTCLast, 0);
        QCOMPARE(int(w.cLastCmd), 0);
        QVERIFY(w.szRawTC.isEmpty());
        QVERIFY(w.szTCRet1.isEmpty());
        QVERIFY(w.szTCRet2.isEmpty());
        QCOMPARE(f.display(), zero);
        QCOMPARE(w.dwFlags, flags);
        QVERIFY(w.button(option)->isChecked());
        QCOMPARE(w.button("ckMarks")->isChecked(), marks);
        QVERIFY(w.button("ckLeading")->isChecked());
        // Nothing is left to finish and nothing is left to recall.
        f.press("=");
        QCOMPARE(f.display(), zero);
        f.press("MR");
        QCOMPARE(w.dwTCcurrent, 0);
        f.press("MR1");
        QCOMPARE(w.dwTCcurrent, 0);
        QVERIFY(f.messages.isEmpty());
    }
};

QTEST_MAIN(tst_Entry)
#include "tst_entry.moc"
