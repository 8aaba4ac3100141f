// ostrel-tc as a script sees it: arguments or lines in, results, errors and status out.
#include <QtTest>

namespace {

struct Run {
    QByteArray out, err;
    int status = -1;
};

Run ostrelTc(const QStringList &args, const QByteArray &input = {})
{
    QProcess p;
    p.start(OSTREL_TC, args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(30000))
        qFatal("ostrel-tc did not finish");
    return {p.readAllStandardOutput(), p.readAllStandardError(),
            p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1};
}

} // namespace

class tst_OstrelTc : public QObject
{
    Q_OBJECT

private slots:
    void expressions_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("out");
        auto row = [](const char *name, const QString &args, const char *out) {
            QTest::newRow(name) << args.split(' ') << QByteArray(out);
        };
        row("add frames", "01:00:00;00 + 10", "01:00:00;10\n");
        row("one word", "01:00:00;00+10", "01:00:00;10\n");
        row("drop frame minute", "00:00:59;29 + 1", "00:01:00;02\n");
        row("subtract below zero", "00:00:01;00 - 00:00:02;00", "-00:00:01;00\n");
        row("past a day", "23:59:59;29 + 01:00:00;00", "24:59:59;29\n");
        row("precedence", "1 + 2 * 3 --to frames", "7\n");
        row("parentheses", "( 1 + 2 ) * 3 --to frames", "9\n");
        row("unary minus", "-(5) --to frames", "-5\n");
        row("times sign", "10 × 3 --to frames", "30\n");
        row("divide rounds half to even", "5 / 2 --to frames", "2\n");
        row("divide rounds up", "7 / 2 --to frames", "4\n");
        row("59.94df ten minutes", "--rate 59.94df 00:10:00;00 --to frames", "35964\n");
        row("59.94df day", "--rate=59.94df 24:00:00;00 --to=frames", "5178816\n");
        row("skipped label", "--rate 59.94df 00:01:00;01 --to frames", "3600\n");
        row("feet 35 mm", "112+08 --to frames", "1800\n");
        row("feet written", "1800 --to feet35", "112+08\n");
        row("feet 16 mm", "45+00 + 1 --to feet16", "45+01\n");
        row("real time", "12.5s --rate 25 --to frames", "312\n");
        row("real time hours", "1:00:00s --rate 24 --to frames", "86400\n");
        row("to seconds", "01:00:00;00 --to seconds", "00:59:59.996\n");
        row("to rate by duration", "01:00:00;00 --to-rate 25", "01:00:00:00\n");
        row("to rate by frames", "100 --to-rate 25 --keep frames", "00:00:04:00\n");
        row("no marks", "--no-marks 01:02:03;04", "01020304\n");
        row("no leading", "--no-leading 00:00:01;05", "1;05\n");
        row("119.88df", "--rate 119.88df 00:00:00;119 + 1", "00:00:01;000\n");
        row("after --", "--to frames -- -5", "-5\n");
    }
    void expressions()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, out);
        const Run r = ostrelTc(args);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.out, out);
        QCOMPARE(r.status, 0);
    }

    // One clear line naming the problem and where, status 2, nothing on standard output.
    void badInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("err");
        auto row = [](const char *name, const QString &args, const char *err) {
            QTest::newRow(name) << args.split(' ') << QByteArray(err);
        };
        row("unknown rate", "--rate 29.98 1", "ostrel-tc: argument 2: unknown rate '29.98' for --rate");
        row("unknown option", "1 --fast", "ostrel-tc: argument 2: unknown option '--fast'\n");
        row("missing value", "1 --to", "ostrel-tc: argument 2: --to needs a value\n");
        row("keep alone", "1 --keep frames", "ostrel-tc: --keep needs --to-rate\n");
        row("dangling operator", "1 +", "ostrel-tc: column 4: expression ends too soon\n");
        row("letter", "1 + q", "ostrel-tc: column 5: expected a number, a time code or '('\n");
        row("marks alone", "1 + :;", "ostrel-tc: column 5: expected a number, a time code or '('\n");
        row("time times time", "01:00 * 00:10", "ostrel-tc: column 7: multiply by a plain number, not by a time\n");
        row("divide by time", "10 / 00:10", "ostrel-tc: column 4: divide by a plain number, not by a time\n");
        row("divide by zero", "10 / ( 1 - 1 )", "ostrel-tc: column 4: division by zero\n");
        row("unclosed", "( 1 + 2", "ostrel-tc: column 1: missing ')'\n");
        row("stray close", "1 )", "ostrel-tc: column 3: unexpected ')'\n");
        row("five fields", "1:2:3:4:5", "ostrel-tc: column 1: unreadable time code: at most four fields\n");
        row("foot too long", "10+16", "ostrel-tc: column 4: a foot of 35 mm film has 16 frames (00 to 15); to add, put blanks around +\n");
        row("too large", "999999999999 * 2", "ostrel-tc: column 14: result out of range\n");
        row("real time too long", "99999999999999999999s", "ostrel-tc: column 1: real time out of range\n");
        row("too many decimals", "1.0000000001s", "ostrel-tc: column 12: unreadable real time: at most nine decimals after one '.'\n");
        row("nested too deeply", QString(300, '(') + "1", "ostrel-tc: column 201: expression nested too deeply\n");
    }
    void badInput()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, err);
        const Run r = ostrelTc(args);
        QVERIFY2(r.err.startsWith(err), r.err.constData());
        QCOMPARE(r.err.count('\n'), 1);
        QCOMPARE(r.out, QByteArray());
        QCOMPARE(r.status, 2);
    }

    void streamGoesOnPastBadLines()
    {
        const Run r = ostrelTc({"--to", "frames"}, "1 + 1\n\n2 *\n00:00:01;00\r\n(4)");
        QCOMPARE(r.out, QByteArray("2\n30\n4\n"));
        QCOMPARE(r.err, QByteArray("ostrel-tc: line 2, column 1: empty expression\n"
                                   "ostrel-tc: line 3, column 4: expression ends too soon\n"));
        QCOMPARE(r.status, 2);
        QCOMPARE(ostrelTc({}, "00:00:00;29 + 1\n").out, QByteArray("00:00:01;00\n"));
        QCOMPARE(ostrelTc({}, "00:00:00;29 + 1\n").status, 0);
    }

    // Results cross the block boundaries of the stream unchanged, and a line longer than
    // a block is reported once, not buffered.
    void streamOfManyLines()
    {
        QByteArray in, expected;
        for (int i = 0; i < 200000; i++) {
            in += QByteArray::number(i) + " + 1\n";
            expected += QByteArray::number(i + 1) + '\n';
        }
        const QByteArray longLine(3 << 20, '1');
        const Run r = ostrelTc({"--to", "frames"}, in + longLine + "\n5\n");
        QCOMPARE(r.out.size(), expected.size() + 2);
        QVERIFY(r.out == expected + "5\n");
        QCOMPARE(r.err, QByteArray("ostrel-tc: line 200001, column 1048577: line too long\n"));
        QCOMPARE(r.status, 2);
    }

    void helpAndVersion()
    {
        const Run help = ostrelTc({"--help"});
        QVERIFY(help.out.startsWith("Usage: ostrel-tc [OPTION]... [EXPR...]\n"));
        QVERIFY(help.out.contains("119.88df"));
        QCOMPARE(help.status, 0);
        const Run version = ostrelTc({"--version"});
        QCOMPARE(version.out, QByteArray("ostrel-tc " OSTREL_VERSION "\n"));
        QCOMPARE(version.status, 0);
    }
};

QTEST_GUILESS_MAIN(tst_OstrelTc)
#include "tst_ostreltc.moc"
