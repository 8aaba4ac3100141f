#include "CalculatorFixture.h"

#include <QAbstractButton>
#include <QtTest>

namespace {

// The entry as text: the library writes into a 32-character buffer of NULs.
QString upToNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

const QString kTimeCodeLimit = QStringLiteral("ERROR : Maximum Time Code = 24:00:00:00");
const QString kDropFrameLimit = QStringLiteral("ERROR : Maximum Time Code = 24:00:00;00");

} // namespace

// Choosing a standard: the value travels as a frame count, the option bits stay.
class tst_Standard : public QObject
{
    Q_OBJECT

private slots:
    void flagsFollowTheSelection_data()
    {
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<int>("options");
        QTest::newRow("both boxes ticked") << "" << 0x30000;
        QTest::newRow("marks off") << "Marks" << 0x20000;
        QTest::newRow("both boxes off") << "Marks Leading" << 0x00000;
    }

    void flagsFollowTheSelection()
    {
        QFETCH(QString, boxes);
        QFETCH(int, options);
        struct Step {
            const char *key;
            const char *option;
            int type;
            int16_t frameMode;
        };
        const Step steps[] = {
            {"FILM", "TCOption(1)", 1, 0}, {"frm", "TCOption(0)", 0, -1},
            {"23.98", "TCOption(128)", 128, 0}, {"DF", "TCOption(4)", 4, 0},
            {"frm", "TCOption(0)", 0, -1}, {"PAL", "TCOption(8)", 8, 0},
            {"NDF", "TCOption(2)", 2, 0},
        };
        CalculatorFixture f;
        run(f, boxes);
        QCOMPARE(f.w().dwFlags, options | 2);
        for (const Step &step : steps) {
            f.press(step.key);
            QCOMPARE(f.w().dwFlags, options | step.type);
            QCOMPARE(f.w().bFrameMode, step.frameMode);
            QVERIFY(f.w().button(step.option)->isChecked());
        }
        QVERIFY(f.messages.isEmpty());
    }

    void limitFollowsTheSelection_data()
    {
        QTest::addColumn<QString>("standard");
        QTest::addColumn<int>("limit");
        QTest::newRow("film") << "FILM" << 2073600;
        QTest::newRow("23.98") << "23.98" << 2073600;
        QTest::newRow("pal") << "PAL" << 2160000;
        QTest::newRow("df") << "DF" << 2589408;
        QTest::newRow("ndf after pal") << "PAL NDF" << 2592000;
    }

    void limitFollowsTheSelection()
    {
        QFETCH(QString, standard);
        QFETCH(int, limit);
        CalculatorFixture f;
        run(f, standard);
        QCOMPARE(f.w().dwMaxTC, limit);
    }

    // A value typed in frames, carried through every standard and back.
    void valueSurvivesEverySwitch_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("df");
        QTest::addColumn<QString>("pal");
        QTest::addColumn<QString>("film");
        QTest::addColumn<QString>("film23");
        QTest::addColumn<QString>("ndf");
        QTest::newRow("zero") << 0 << "00:00:00;00" << "00:00:00:00" << "00:00:00:00"
                              << "00:00:00:00" << "00:00:00:00";
        QTest::newRow("last frame of first df minute")
            << 1799 << "00:00:59;29" << "00:01:11:24" << "00:01:14:23" << "00:01:14:23"
            << "00:00:59:29";
        QTest::newRow("first frame of second df minute")
            << 1800 << "00:01:00;02" << "00:01:12:00" << "00:01:15:00" << "00:01:15:00"
            << "00:01:00:00";
        QTest::newRow("inside a df minute") << 2000 << "00:01:06;22" << "00:01:20:00"
                                            << "00:01:23:08" << "00:01:23:08" << "00:01:06:20";
        QTest::newRow("ten df minutes") << 17982 << "00:10:00;00" << "00:11:59:07"
                                        << "00:12:29:06" << "00:12:29:06" << "00:09:59:12";
        QTest::newRow("last film frame") << 2073599 << "19:13:09;05" << "23:02:23:24"
                                         << "23:59:59:23" << "23:59:59:23" << "19:11:59:29";
    }

    void valueSurvivesEverySwitch()
    {
        QFETCH(int, value);
        QFETCH(QString, df);
        QFETCH(QString, pal);
        QFETCH(QString, film);
        QFETCH(QString, film23);
        QFETCH(QString, ndf);
        CalculatorFixture f;
        f.press("frm");
        f.type(QString::number(value));
        const QString frames = QLatin1Char(' ') + QString::number(value);
        const QList<QPair<QString, QString>> steps = {
            {"DF", df}, {"PAL", pal}, {"FILM", film}, {"23.98", film23},
            {"NDF", ndf}, {"frm", frames}, {"DF", df}, {"frm", frames},
        };
        for (const auto &[key, shown] : steps) {
            f.press(key);
            QCOMPARE(f.display(), shown);
            QCOMPARE(f.w().dwTCcurrent, value);
        }
        QVERIFY(f.messages.isEmpty());
    }

    // After a switch the entry is the new standard's bare text, and typing goes on from it.
    void entryAfterSwitch_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("digit");
        QTest::addColumn<QString>("typedEntry");
        QTest::addColumn<QString>("typedShown");
        QTest::addColumn<int>("typedValue");
        QTest::newRow("frames to pal") << "frm 2000" << "PAL" << "12000" << "00:01:20:00" << 2000
                                       << "5" << " 120005" << "00:12:00:05" << 18005;
        QTest::newRow("pal back to frames") << "frm 2000 PAL" << "frm" << " 2000" << " 2000"
                                            << 2000 << "5" << " 20005" << " 20005" << 20005;
        QTest::newRow("frames to frames after a result")
            << "frm 2000 + 0 =" << "frm" << " 2000" << " 2000" << 2000 << "5" << " 20005"
            << " 20005" << 20005;
        QTest::newRow("ndf to df") << "100" << "DF" << "100" << "00:00:01;00" << 30 << "0"
                                   << " 1000" << "00:00:10;00" << 300;
        QTest::newRow("film to 23.98") << "FILM 1000" << "23.98" << "1000" << "00:00:10:00"
                                       << 240 << "0" << " 10000" << "00:01:00:00" << 1440;
        QTest::newRow("df to frames") << "DF 10002" << "frm" << " 1800" << " 1800" << 1800
                                      << "1" << " 18001" << " 18001" << 18001;
        QTest::newRow("zero to pal") << "" << "PAL" << "0" << "00:00:00:00" << 0 << "5"
                                     << " 05" << "00:00:00:05" << 5;
        QTest::newRow("bare ndf to pal") << "Marks Leading 100" << "PAL" << "105" << "105"
                                         << 30 << "0" << " 1050" << "1200" << 300;
    }

    void entryAfterSwitch()
    {
        QFETCH(QString, before);
        QFETCH(QString, standard);
        QFETCH(QString, entry);
        QFETCH(QString, shown);
        QFETCH(int, value);
        QFETCH(QString, digit);
        QFETCH(QString, typedEntry);
        QFETCH(QString, typedShown);
        QFETCH(int, typedValue);
        CalculatorFixture f;
        run(f, before);
        f.press(standard);
        QCOMPARE(upToNul(f.w().szRawTC), entry);
        QCOMPARE(f.display(), shown);
        QCOMPARE(f.w().dwTCcurrent, value);
        f.press(digit);
        QCOMPARE(f.w().szRawTC, typedEntry);
        QCOMPARE(f.display(), typedShown);
        QCOMPARE(f.w().dwTCcurrent, typedValue);
        QVERIFY(f.messages.isEmpty());
    }

    // The pending operation outlives a switch and finishes on frame counts.
    void pendingOperationSurvivesSwitch_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("pending");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("resultValue");
        QTest::newRow("frames plus to pal") << "frm 100 + 50" << "PAL" << "00:00:02:00" << 100
                                            << int('+') << "=" << "00:00:06:00" << 150;
        QTest::newRow("ndf times to frames") << "100 x" << "frm" << " 30" << 30 << int('*')
                                             << "=" << " 900" << 900;
        QTest::newRow("ndf times two to frames") << "100 x 2" << "frm" << " 2" << 30
                                                 << int('*') << "=" << " 60" << 60;
        QTest::newRow("df minus to film") << "DF 10002 -" << "FILM" << "00:01:15:00" << 1800
                                          << int('-') << "CE 2400 =" << "00:00:51:00" << 1224;
        QTest::newRow("pal divide to 23.98") << "PAL 1000 /" << "23.98" << "00:00:10:10" << 250
                                             << int('/') << "CE 100 =" << "00:00:00:10" << 10;
    }

    void pendingOperationSurvivesSwitch()
    {
        QFETCH(QString, before);
        QFETCH(QString, standard);
        QFETCH(QString, shown);
        QFETCH(int, left);
        QFETCH(int, pending);
        QFETCH(QString, after);
        QFETCH(QString, result);
        QFETCH(int, resultValue);
        CalculatorFixture f;
        run(f, before);
        f.press(standard);
        QCOMPARE(f.display(), shown);
        QCOMPARE(f.w().dwTCLast, left);
        QCOMPARE(int(f.w().cLastCmd), pending);
        run(f, after);
        QCOMPARE(f.display(), result);
        QCOMPARE(f.w().dwTCcurrent, resultValue);
        QVERIFY(f.messages.isEmpty());
    }

    // A value beyond the new standard's day is refused and everything pending goes with it;
    // one equal to it is kept. Either way the new standard stays chosen.
    void valueAgainstTheNewLimit_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("pending");
        const int plus = '+';
        QTest::newRow("frames to film refused")
            << "frm 7 + 2591999" << "FILM" << "TCOption(1)" << 0x30001 << kTimeCodeLimit
            << "00:00:00:00" << "" << 0 << 0 << 0;
        QTest::newRow("frames to 23.98 refused")
            << "frm 7 + 2591999" << "23.98" << "TCOption(128)" << 0x30080 << kTimeCodeLimit
            << "00:00:00:00" << "" << 0 << 0 << 0;
        QTest::newRow("frames to pal refused")
            << "frm 7 + 2591999" << "PAL" << "TCOption(8)" << 0x30008 << kTimeCodeLimit
            << "00:00:00:00" << "" << 0 << 0 << 0;
        QTest::newRow("frames to df refused")
            << "frm 7 + 2591999" << "DF" << "TCOption(4)" << 0x30004 << kDropFrameLimit
            << "00:00:00;00" << "" << 0 << 0 << 0;
        QTest::newRow("frames to df refused without marks")
            << "Marks frm 7 + 2591999" << "DF" << "TCOption(4)" << 0x20004 << kTimeCodeLimit
            << "00000000" << "" << 0 << 0 << 0;
        QTest::newRow("one over film refused")
            << "frm 7 + 2073601" << "FILM" << "TCOption(1)" << 0x30001 << kTimeCodeLimit
            << "00:00:00:00" << "" << 0 << 0 << 0;
        QTest::newRow("ndf to pal refused")
            << "7 + 23595929" << "PAL" << "TCOption(8)" << 0x30008 << kTimeCodeLimit
            << "00:00:00:00" << "" << 0 << 0 << 0;
        QTest::newRow("film limit kept")
            << "frm 7 + 2073600" << "FILM" << "TCOption(1)" << 0x30001 << "" << "24:00:00:00"
            << "24000000" << 2073600 << 7 << plus;
        QTest::newRow("pal limit kept")
            << "frm 7 + 2160000" << "PAL" << "TCOption(8)" << 0x30008 << "" << "24:00:00:00"
            << "24000000" << 2160000 << 7 << plus;
        QTest::newRow("df limit kept")
            << "frm 7 + 2589408" << "DF" << "TCOption(4)" << 0x30004 << "" << "24:00:00;00"
            << "24000000" << 2589408 << 7 << plus;
        QTest::newRow("frame maximum kept by ndf")
            << "frm 7 + 2591999" << "NDF" << "TCOption(2)" << 0x30002 << "" << "23:59:59:29"
            << "23595929" << 2591999 << 7 << plus;
    }

    void valueAgainstTheNewLimit()
    {
        QFETCH(QString, before);
        QFETCH(QString, standard);
        QFETCH(QString, option);
        QFETCH(int, flags);
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QFETCH(QString, entry);
        QFETCH(int, value);
        QFETCH(int, left);
        QFETCH(int, pending);
        CalculatorFixture f;
        run(f, before);
        QVERIFY(f.takeMessages().isEmpty());
        f.press(standard);
        QCOMPARE(f.takeMessages(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(f.display(), shown);
        QCOMPARE(upToNul(f.w().szRawTC), entry);
        QCOMPARE(f.w().dwTCcurrent, value);
        QCOMPARE(f.w().dwTCLast, left);
        QCOMPARE(int(f.w().cLastCmd), pending);
        QCOMPARE(f.w().dwFlags, flags);
        QCOMPARE(f.w().bFrameMode, int16_t(0));
        QVERIFY(f.w().button(option)->isChecked());
    }
};

QTEST_MAIN(tst_Standard)
#include "tst_standard.moc"
