#include "CalculatorFixture.h"

#include <QtTest>

namespace {

const QString kFrameLimit = QStringLiteral(" ERROR : Maximum frame count = 2591999");
// A typed value is refused with a message that ends in a blank.
const QString kTypedFrameLimit = kFrameLimit + QLatin1Char(' ');
const QString kTimeCodeLimit = QStringLiteral("ERROR : Maximum Time Code = 24:00:00:00");
const QString kDropFrameLimit = QStringLiteral("ERROR : Maximum Time Code = 24:00:00;00");

constexpr int kEquals = 48;

} // namespace

// The four operations, equals and chaining, in frames and under each time code standard.
class tst_Arithmetic : public QObject
{
    Q_OBJECT

private:
    void columns()
    {
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("pending");
        QTest::addColumn<int>("left");
        QTest::addColumn<QString>("message");
    }

    void check()
    {
        QFETCH(QString, standard);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(int, value);
        QFETCH(int, pending);
        QFETCH(int, left);
        QFETCH(QString, message);
        CalculatorFixture f;
        f.press(standard);
        run(f, keys);
        QCOMPARE(f.takeMessages(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(f.display(), shown);
        QCOMPARE(f.w().dwTCcurrent, value);
        QCOMPARE(int(f.w().cLastCmd), pending);
        QCOMPARE(f.w().dwTCLast, left);
    }

    static void row(const char *name, const char *standard, const char *keys, const char *shown,
                    int value, int pending = kEquals, int left = -1, const QString &message = {})
    {
        QTest::newRow(name) << standard << keys << shown << value << pending
                            << (left < 0 ? value : left) << message;
    }

private slots:
    void framesOperations_data()
    {
        columns();
        row("add", "frm", "10 + 5 =", " 15", 15);
        row("subtract", "frm", "9 - 4 =", " 5", 5);
        row("subtract to zero", "frm", "5 - 5 =", " 0", 0);
        row("subtract below zero", "frm", "5 - 8 =", " 0", 0);
        row("multiply", "frm", "6 x 7 =", " 42", 42);
        row("divide exact", "frm", "8 / 2 =", " 4", 4);
        row("divide rounds down", "frm", "10 / 3 =", " 3", 3);
        row("divide rounds up", "frm", "20 / 3 =", " 7", 7);
        row("divide half to even up", "frm", "7 / 2 =", " 4", 4);
        row("divide half to even down", "frm", "5 / 2 =", " 2", 2);
        row("divide nine by two", "frm", "9 / 2 =", " 4", 4);
        row("divide eleven by two", "frm", "11 / 2 =", " 6", 6);
        row("divide large half to even", "frm", "2591999 / 2 =", " 1296000", 1296000);
        row("divide smaller by larger", "frm", "3 / 7 =", " 1", 1);
        row("divide zero by five", "frm", "0 / 5 =", " 1", 1);
        row("divide by zero", "frm", "5 / 0 =", " 0", 0, kEquals, 0, kFrameLimit);
        row("divide zero by zero", "frm", "0 / 0 =", " 0", 0);
        row("sum at maximum", "frm", "2591999 + 0 =", " 2591999", 2591999);
        row("sum above maximum", "frm", "2591999 + 1 =", " 0", 0, kEquals, 0, kFrameLimit);
        row("product below maximum", "frm", "1295999 x 2 =", " 2591998", 2591998);
        row("product above maximum", "frm", "1296000 x 2 =", " 0", 0, kEquals, 0,
            kFrameLimit);
    }

    void framesOperations() { check(); }

    void chaining_data()
    {
        columns();
        row("operator finishes the sum", "frm", "5 + 3 +", " 8", 8, '+');
        row("operator finishes then continues", "frm", "5 + 3 x 2 =", " 16", 16);
        row("strictly left to right", "frm", "2 + 3 x 4 =", " 20", 20);
        row("equals reuses the value", "frm", "5 + =", " 10", 10);
        row("operator twice", "frm", "5 + +", " 10", 10, '+');
        row("operator twice then equals", "frm", "5 + + =", " 20", 20);
        row("equals twice computes nothing", "frm", "5 + 3 = =", " 8", 8);
        row("operator after equals continues", "frm", "5 + 3 = + 2 =", " 10", 10);
        row("minus after equals continues", "frm", "5 + 3 = - 2 =", " 6", 6);
        row("digits after equals start afresh", "frm", "5 + 3 = 7 + 1 =", " 8", 8);
        row("digits then equals after equals", "frm", "5 + 3 = 2 =", " 2", 2);
        row("floored difference continues", "frm", "3 - 5 + 4 =", " 4", 4);
        row("range error keeps the operator", "frm", "2591999 + 1 +", " 0", 0, '+', 0,
            kFrameLimit);
        row("range error then chain continues", "frm", "2591999 + 1 + 7 =", " 7", 7, kEquals,
            7, kFrameLimit);
        row("divide by zero then chain continues", "frm", "5 / 0 + 3 =", " 3", 3, kEquals, 3,
            kFrameLimit);
        row("typed value refused clears the chain", "frm", "5 + 2592000", "", 0, 0, 0,
            kTypedFrameLimit);
        row("typed value refused then equals", "frm", "5 + 2592000 3 =", " 3", 3, kEquals, 3,
            kTypedFrameLimit);
        row("ndf range error keeps the operator", "NDF", "23595929 + 1 x", "00:00:00:00", 0,
            '*', 0, kTimeCodeLimit);
        row("film typed value refused clears the chain", "FILM", "7 x 24000001",
            "00:00:00:00", 0, 0, 0, kTimeCodeLimit);
        row("film typed value refused then equals", "FILM", "7 x 24000001 =", "00:00:00:00", 0,
            kEquals, 0, kTimeCodeLimit);
    }

    void chaining() { check(); }

    void timeCodeOperations_data()
    {
        columns();
        row("ndf frames carry", "NDF", "2929 + 1 =", "00:00:30:00", 900);
        row("ndf multiply by frames", "NDF", "100 x 2 =", "00:00:02:00", 60);
        row("ndf divide time codes", "NDF", "1000 / 100 =", "00:00:00:10", 10);
        row("ndf subtract", "NDF", "1000 - 100 =", "00:00:09:00", 270);
        row("ndf subtract below zero", "NDF", "100 - 1000 =", "00:00:00:00", 0);
        row("ndf divide smaller by larger", "NDF", "100 / 1000 =", "00:00:00:01", 1);
        row("ndf below limit", "NDF", "23595929 + 0 =", "23:59:59:29", 2591999);
        row("ndf divide by zero", "NDF", "5 / 0 =", "00:00:00:00", 0, kEquals, 0,
            kTimeCodeLimit);
        row("ndf zero by zero", "NDF", "0 / 0 =", "00:00:00:00", 0);
        row("df sum across a minute", "DF", "5929 + 1 =", "00:01:00;02", 1800);
        row("df sum across ten minutes", "DF", "95929 + 1 =", "00:10:00;00", 17982);
        row("df subtract across a minute", "DF", "10002 - 1 =", "00:00:59;29", 1799);
        row("df multiply across minutes", "DF", "5929 x 2 =", "00:02:00;02", 3598);
        row("df below limit", "DF", "23595929 + 0 =", "23:59:59;29", 2589407);
        row("pal frames carry", "PAL", "2424 + 1 =", "00:00:25:00", 625);
        row("pal carries to the hour", "PAL", "595924 + 1 =", "01:00:00:00", 90000);
        row("pal multiply by frames", "PAL", "100 x 3 =", "00:00:03:00", 75);
        row("film carries to the minute", "FILM", "5923 + 1 =", "00:01:00:00", 1440);
        row("film below limit", "FILM", "23595923 + 0 =", "23:59:59:23", 2073599);
        row("23.98 carries to the hour", "23.98", "595923 + 1 =", "01:00:00:00", 86400);
        row("23.98 divide time codes", "23.98", "1000 / 100 =", "00:00:00:10", 10);
        row("23.98 below limit", "23.98", "23595923 + 0 =", "23:59:59:23", 2073599);
    }

    void timeCodeOperations() { check(); }

    // A result equal to the day's frame count is refused; the message quotes the limit.
    void timeCodeLimit_data()
    {
        columns();
        row("ndf sum", "NDF", "23595929 + 1 =", "00:00:00:00", 0, kEquals, 0, kTimeCodeLimit);
        row("ndf typed limit plus zero", "NDF", "24000000 + 0 =", "00:00:00:00", 0, kEquals, 0,
            kTimeCodeLimit);
        row("ndf product", "NDF", "12000000 x 2 =", "00:00:00:00", 0, kEquals, 0,
            kTimeCodeLimit);
        row("ndf without marks", "NDF", "Marks 23595929 + 1 =", "00000000", 0, kEquals, 0,
            kTimeCodeLimit);
        row("df sum", "DF", "23595929 + 1 =", "00:00:00;00", 0, kEquals, 0, kDropFrameLimit);
        row("df without marks", "DF", "Marks 23595929 + 1 =", "00000000", 0, kEquals, 0,
            kTimeCodeLimit);
        row("df without marks or zeros", "DF", "Marks Leading 23595929 + 1 =", "0", 0, kEquals,
            0, kTimeCodeLimit);
        row("pal sum", "PAL", "23595924 + 1 =", "00:00:00:00", 0, kEquals, 0, kTimeCodeLimit);
        row("film sum", "FILM", "23595923 + 1 =", "00:00:00:00", 0, kEquals, 0,
            kTimeCodeLimit);
        row("23.98 sum", "23.98", "23595923 + 1 =", "00:00:00:00", 0, kEquals, 0,
            kTimeCodeLimit);
    }

    void timeCodeLimit() { check(); }
};

QTEST_MAIN(tst_Arithmetic)
#include "tst_arithmetic.moc"
