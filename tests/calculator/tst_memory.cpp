#include "CalculatorFixture.h"

#include <QtTest>

namespace {

const QString kFilmLimit = QStringLiteral("ERROR : Maximum Time Code = 24:00:00:00");
const QString kFrameLimit = QStringLiteral(" ERROR : Maximum frame count = 2591999 ");

struct Register {
    int32_t count;
    QString text;
    bool operator==(const Register &o) const { return count == o.count && text == o.text; }
};

Register register1(CalculatorFixture &f)
{
    return {f.w().dwMemory1, f.w().szTCRet1};
}

Register register2(CalculatorFixture &f)
{
    return {f.w().dwMemory2, f.w().szTCRet2};
}

} // namespace

// The memory registers: MS/MR keep and bring back register 1, MS1/MR1 register 2.
class tst_Memory : public QObject
{
    Q_OBJECT

private slots:
    // A store copies the value and the whole display text, NULs included, and changes
    // nothing else, the other register included.
    void storeChangesNothingElse_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("store");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("time code entry, MS") << "12" << "MS" << 12 << tc("00:00:00:12");
        QTest::newRow("time code entry, MS1") << "12" << "MS1" << 12 << tc("00:00:00:12");
        QTest::newRow("pending operator, MS") << "7 + 12" << "MS" << 12 << tc("00:00:00:12");
        QTest::newRow("right after the operator, MS1") << "7 +" << "MS1" << 7 << tc("00:00:00:07");
        QTest::newRow("result, MS1") << "7 + 5 =" << "MS1" << 12 << tc("00:00:00:12");
        QTest::newRow("frames, MS") << "frm 1234" << "MS" << 1234 << " 1234";
        QTest::newRow("frames after Bksp, MS1") << "frm 123 Bksp" << "MS1" << 12 << "12" + nuls(32);
        QTest::newRow("no marks, MS") << "Marks 12" << "MS" << 12 << tc("00000012");
        QTest::newRow("drop frame, MS1") << "DF 10000" << "MS1" << 1800 << tc("00:01:00;02");
        QTest::newRow("refused frame count, MS") << "frm 2592000" << "MS" << 0 << "";
    }

    void storeChangesNothingElse()
    {
        QFETCH(QString, keys);
        QFETCH(QString, store);
        QFETCH(int, count);
        QFETCH(QString, text);
        const bool first = store == QLatin1String("MS");
        CalculatorFixture f;
        // The other register holds something of its own.
        run(f, first ? "9 MS1 CE" : "9 MS CE");
        run(f, keys);
        f.takeMessages();
        const StateSnapshot rest = StateSnapshot::of(f);
        const Register other = first ? register2(f) : register1(f);
        f.press(store);
        const Register stored = first ? register1(f) : register2(f);
        QCOMPARE(stored.count, count);
        QCOMPARE(stored.text, text);
        QCOMPARE(rest.changes(StateSnapshot::of(f), {"szTCRet1", "szTCRet2", "dwMemory1", "dwMemory2"}), QStringList());
        QVERIFY(other == (first ? register2(f) : register1(f)));
        QCOMPARE(other.count, 9);
        QVERIFY(f.messages.isEmpty());
    }

    // A store in the middle of a calculation leaves its result as it would have been.
    void storeDoesNotChangeTheResult_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("value");
        QTest::newRow("sum") << "5 + 3" << "=" << "00:00:00:08" << 8;
        QTest::newRow("after the operator") << "5 +" << "3 =" << "00:00:00:08" << 8;
        QTest::newRow("frames product") << "frm 12 x 3" << "=" << " 36" << 36;
        QTest::newRow("frames, chained") << "frm 20 - 5" << "+ 1 =" << " 16" << 16;
        QTest::newRow("after equals") << "5 + 3 =" << "+ 2 =" << "00:00:00:10" << 10;
        QTest::newRow("digit after the store") << "5 + 3" << "4 =" << "00:00:01:09" << 39;
    }

    void storeDoesNotChangeTheResult()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, shown);
        QFETCH(int, value);
        for (const char *store : {"", "MS", "MS1"}) {
            CalculatorFixture f;
            run(f, before + QLatin1Char(' ') + QLatin1String(store) + QLatin1Char(' ') + after);
            QVERIFY2(f.display() == shown, store);
            QVERIFY2(f.w().dwTCcurrent == value, store);
        }
    }

    // A recall with nothing stored reads "0", which the register then holds.
    void recallWithNothingStored_data()
    {
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("recall");
        QTest::addColumn<QString>("shown");
        QTest::newRow("frames, MR") << "frm" << "MR" << "0";
        QTest::newRow("frames, MR1") << "frm" << "MR1" << "0";
        QTest::newRow("ndf, MR") << "NDF" << "MR" << "00:00:00:00";
        QTest::newRow("ndf, MR1") << "NDF" << "MR1" << "00:00:00:00";
        QTest::newRow("df, MR") << "DF" << "MR" << "00:00:00;00";
        QTest::newRow("pal, MR1") << "PAL" << "MR1" << "00:00:00:00";
        QTest::newRow("no marks, MR") << "Marks" << "MR" << "00000000";
        QTest::newRow("no leading zeros, MR1") << "Leading" << "MR1" << "0";
    }

    void recallWithNothingStored()
    {
        QFETCH(QString, standard);
        QFETCH(QString, recall);
        QFETCH(QString, shown);
        const bool first = recall == QLatin1String("MR");
        CalculatorFixture f;
        run(f, standard + QStringLiteral(" 123 ") + recall);
        QCOMPARE(f.display(), shown);
        QCOMPARE(f.w().dwTCcurrent, 0);
        QCOMPARE(first ? f.w().szTCRet1 : f.w().szTCRet2, QStringLiteral("0"));
        QVERIFY((first ? f.w().szTCRet2 : f.w().szTCRet1).isEmpty());
        QCOMPARE(f.w().szRawTC, QStringLiteral("0"));
        QVERIFY(f.messages.isEmpty());
    }

    // A recall reads the stored text again under the standard in force, as if typed.
    void storeAndRecall_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("store");
        QTest::addColumn<QString>("between");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("value");
        QTest::newRow("frames, MS") << "frm 1234" << "MS" << "CE" << " 1234" << 1234;
        QTest::newRow("frames, MS1") << "frm 1234" << "MS1" << "CE" << " 1234" << 1234;
        QTest::newRow("ndf, MS") << "1005" << "MS" << "CE" << "00:00:10:05" << 305;
        QTest::newRow("ndf, MS1, after more work") << "1005" << "MS1" << "+ 7 =" << "00:00:10:05" << 305;
        QTest::newRow("df") << "DF 10000" << "MS" << "CE" << "00:01:00;02" << 1800;
        QTest::newRow("ndf text read as frames") << "1005" << "MS" << "CE frm" << "00:00:10:05" << 0;
        QTest::newRow("ndf hour read as frames") << "1000000" << "MS1" << "CE frm" << "01:00:00:00" << 1;
        QTest::newRow("ndf without marks read as frames")
            << "Marks 1005" << "MS" << "CE frm" << "00001005" << 1005;
        QTest::newRow("pal text read as ndf") << "PAL 1005" << "MS1" << "CE NDF" << "00:00:10:05" << 305;
        QTest::newRow("frame count read as ndf") << "frm 1234" << "MS" << "CE NDF" << "00:00:13:04" << 394;
        QTest::newRow("ndf text read as film") << "1029" << "MS1" << "CE FILM" << "00:00:11:05" << 269;
        QTest::newRow("marks taken off after the store")
            << "1005" << "MS" << "CE Marks" << "00001005" << 305;
    }

    void storeAndRecall()
    {
        QFETCH(QString, keys);
        QFETCH(QString, store);
        QFETCH(QString, between);
        QFETCH(QString, shown);
        QFETCH(int, value);
        const bool first = store == QLatin1String("MS");
        CalculatorFixture f;
        run(f, keys + QLatin1Char(' ') + store);
        const QString stored = f.w().szTCDisplay;
        run(f, between);
        f.press(first ? "MR" : "MR1");
        QCOMPARE(f.display(), shown);
        QCOMPARE(f.w().dwTCcurrent, value);
        // The entry is the recalled text.
        QCOMPARE(f.w().szRawTC, stored);
        QCOMPARE(first ? f.w().szTCRet1 : f.w().szTCRet2, stored);
        if (f.w().bFrameMode == -1)
            QCOMPARE(f.w().szTCDisplay, stored);
        QVERIFY(f.messages.isEmpty());
    }

    // The recalled value takes part in the calculation like a typed one.
    void recallInACalculation_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("value");
        QTest::newRow("pending plus, MR") << "10 MS CE 5 + MR =" << "00:00:00:15" << 15;
        QTest::newRow("pending times, MR1") << "3 MS1 CE 4 x MR1 =" << "00:00:00:12" << 12;
        QTest::newRow("frames, pending plus") << "frm 1234 MS CE 1000 + MR =" << " 2234" << 2234;
        QTest::newRow("frames, pending minus, MR1") << "frm 5 MS1 CE 20 - MR1 =" << " 15" << 15;
        QTest::newRow("recall as left operand") << "10 MS CE MR + 5 =" << "00:00:00:15" << 15;
        QTest::newRow("recall replaces the entry") << "10 MS CE 22 MR =" << "00:00:00:10" << 10;
        QTest::newRow("digit after a recall continues it") << "frm 1234 MS CE MR 5" << " 12345" << 12345;
        QTest::newRow("recall twice") << "4 MS1 + MR1 + MR1 =" << "00:00:00:12" << 12;
        QTest::newRow("recall after a result") << "7 MS 2 + 3 = MR" << "00:00:00:07" << 7;
    }

    void recallInACalculation()
    {
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(int, value);
        CalculatorFixture f;
        run(f, keys);
        QCOMPARE(f.display(), shown);
        QCOMPARE(f.w().dwTCcurrent, value);
        QVERIFY(f.messages.isEmpty());
    }

    void registersAreIndependent()
    {
        CalculatorFixture f;
        run(f, "12 MS CE 34 MS1 CE");
        QCOMPARE(register1(f).count, 12);
        QCOMPARE(register1(f).text, tc("00:00:00:12"));
        QCOMPARE(register2(f).count, 34);
        QCOMPARE(register2(f).text, tc("00:00:01:04"));
        f.press("MR");
        QCOMPARE(f.w().dwTCcurrent, 12);
        f.press("MR1");
        QCOMPARE(f.w().dwTCcurrent, 34);
        QCOMPARE(f.display(), QStringLiteral("00:00:01:04"));
        run(f, "CE 56 MS");
        QCOMPARE(register1(f).count, 56);
        QCOMPARE(register2(f).count, 34);
        run(f, "CE MR1");
        QCOMPARE(f.w().dwTCcurrent, 34);
        run(f, "MR");
        QCOMPARE(f.w().dwTCcurrent, 56);
        QCOMPARE(f.display(), QStringLiteral("00:00:01:26"));
    }

    // CLR empties both registers: a recall reads "0" again.
    void clrEmptiesBothRegisters_data()
    {
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("zero");
        QTest::newRow("ndf") << "NDF" << "00:00:00:00";
        QTest::newRow("frames") << "frm" << "0";
    }

    void clrEmptiesBothRegisters()
    {
        QFETCH(QString, standard);
        QFETCH(QString, zero);
        CalculatorFixture f;
        run(f, standard + QStringLiteral(" 12 MS 34 MS1 CLR"));
        QCOMPARE(f.w().dwMemory1, 0);
        QCOMPARE(f.w().dwMemory2, 0);
        QVERIFY(f.w().szTCRet1.isEmpty());
        QVERIFY(f.w().szTCRet2.isEmpty());
        run(f, "5 MR");
        QCOMPARE(f.display(), zero);
        QCOMPARE(f.w().dwTCcurrent, 0);
        run(f, "5 MR1");
        QCOMPARE(f.display(), zero);
        QCOMPARE(f.w().dwTCcurrent, 0);
    }

    // A recall the current standard cannot hold is refused like a typed value, and the
    // register keeps what it held: the next recall tries the same text again.
    void refusedRecallKeepsTheRegister_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("store");
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shownAfter");
        QTest::addColumn<QString>("shownBack");
        QTest::newRow("film, register 1") << "" << "MS" << "FILM" << kFilmLimit
                                          << "00:00:00:00" << "23:59:59:29";
        QTest::newRow("film, register 2") << "" << "MS1" << "FILM" << kFilmLimit
                                          << "00:00:00:00" << "23:59:59:29";
        QTest::newRow("23.98, register 2") << "" << "MS1" << "23.98" << kFilmLimit
                                           << "00:00:00:00" << "23:59:59:29";
        QTest::newRow("frames, register 1") << "Marks" << "MS" << "frm" << kFrameLimit
                                            << "" << "23595929";
        QTest::newRow("frames, register 2") << "Marks" << "MS1" << "frm" << kFrameLimit
                                            << "" << "23595929";
    }

    void refusedRecallKeepsTheRegister()
    {
        QFETCH(QString, before);
        QFETCH(QString, store);
        QFETCH(QString, standard);
        QFETCH(QString, message);
        QFETCH(QString, shownAfter);
        QFETCH(QString, shownBack);
        const bool first = store == QLatin1String("MS");
        const QString recall = first ? QStringLiteral("MR") : QStringLiteral("MR1");
        CalculatorFixture f;
        // 23:59:59:29 is 2591999 frames in NDF, the last it holds.
        run(f, before + QStringLiteral(" 23595929 ") + store);
        QCOMPARE(f.w().dwTCcurrent, 2591999);
        const Register kept = first ? register1(f) : register2(f);
        QCOMPARE(kept.count, 2591999);
        run(f, QStringLiteral("CE ") + standard + QStringLiteral(" 5 +"));
        QVERIFY(f.messages.isEmpty());
        for (int attempt = 1; attempt <= 2; ++attempt) {
            f.press(recall);
            QCOMPARE(f.takeMessages(), QStringList{message});
            QCOMPARE(f.w().dwTCcurrent, 0);
            QCOMPARE(f.display(), shownAfter);
            QVERIFY(f.w().szRawTC.isEmpty());
            // The pending operation went with the refused value.
            QCOMPARE(f.w().cLastCmd, int16_t(0));
            QCOMPARE(f.w().dwTCLast, 0);
            QVERIFY((first ? register1(f) : register2(f)) == kept);
        }
        // Back in NDF the same register gives the stored time code.
        run(f, QStringLiteral("NDF ") + recall);
        QVERIFY(f.messages.isEmpty());
        QCOMPARE(f.display(), shownBack);
        QCOMPARE(f.w().dwTCcurrent, 2591999);
    }
};

QTEST_MAIN(tst_Memory)
#include "tst_memory.moc"
