// ostrel-tc as a script sees it: arguments or lines in, results, errors and status out.
#include "pellund_rates.h"

#include <QtTest>

#include <numeric>

namespace {

struct Run {
    QByteArray out, err;
    int status = -1;
};

Run ostrelTc(const QStringList &args, const QByteArray &input = {})
{
    QProcess p;
    // Another build may stand in, to see a case fail on it.
    p.start(qEnvironmentVariable("OSTREL_TC_UNDER_TEST", OSTREL_TC), args);
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
        row("real time past 1000 s", "--rate 25 --to frames 1001.000000000s", "25025\n");
        row("real time past 10^9 s", "--rate 25 --to frames 1000000001s", "25000000025\n");
        row("real time at the limit", "--rate 25 --to frames 40000000000s", "1000000000000\n");
        row("half a second", "--rate 25 --to frames .5s", "12\n");
        row("from tc", "--from tc --rate 25 --to frames 01000000", "90000\n");
        row("from tc divides by a count", "--from tc --rate 25 01000000 / 2", "00:30:00:00\n");
        row("from seconds", "--from seconds --rate 30 --to frames 00:00:01.500", "45\n");
        row("from seconds negative", "--from seconds --rate 30 --to frames -00:00:01.5", "-45\n");
        row("from feet16", "--from feet16 --to frames 45+00", "1800\n");
        row("from feet35 bare feet", "--from feet35 --to frames 3", "48\n");
        row("rate 23.98", "--rate 23.98 --to frames 01:00:00:00", "86400\n");
        row("rate 29.97NDF", "--rate 29.97NDF 00:00:59:29 + 1", "00:01:00:00\n");
        row("rate 59.94ndf", "--rate 59.94ndf --to frames 00:10:00:00", "36000\n");
        row("rate 119.88", "--rate 119.88 00:00:59:119 + 1", "00:01:00:000\n");
        row("rate 96", "--rate 96 --to frames 1s", "96\n");
        row("rate 100", "--rate 100 00:00:00:99 + 1", "00:00:01:00\n");
        row("rational rate", "--rate 24000/1001 --to seconds 1001", "00:00:41.750\n");
        row("to a rational rate", "01:00:00;00 --to-rate 2997/100", "00:59:56:12\n");
        row("each in words", "--each --to frames at 00:00:01;00 and 1.2.3", "at 30 and 1.2.3\n");
        row("each ends a sentence", "--each at 01;00;26;10. then", "at 01:00:26;10. then\n");
        row("each five fields are text", "--each 01:00:00:00:12 01:00:00:00.5", "01:00:00:00:12 01:00:00:00.5\n");
        row("each two-digit frames past 100 labels", "--each --rate 120 03:36:09:23", "03:36:09:023\n");
        row("real time past nine decimals", "--rate 25 --to frames 0.0200000000001s + 0.02s + 0.06s", "3\n");
        row("whole-number rate", "--rate 72 00:00:00:71 + 1", "00:00:01:00\n");
        row("drop-frame ratio", "--rate 30000/1001df 00:00:59;29 + 1", "00:01:00;02\n");
        row("wrap below zero", "--wrap --rate 25 -1", "23:59:59:24\n");
        row("wrap past a day", "--wrap --rate 25 25:00:00:00", "01:00:00:00\n");
        row("wrap a drop-frame day", "--wrap 23:59:59;29 + 1", "00:00:00;00\n");
        row("decimal factor", "--rate 25 01:00:00:00 * 1.5", "01:30:00:00\n");
        row("decimal factor first", "--rate 25 1.5 * 00:00:01:01", "00:00:01:14\n");
        row("feet and one frame digit", "--rate 24 --to feet35 1+2", "1+02\n");
        row("decimal factor beside a count", "--rate 25 --to frames 250 * 1.5", "375\n");
        row("two hundred parentheses, signs not counted",
            "--to frames -" + QString(200, '(') + "-5" + QString(200, ')'), "5\n");
        row("decimal factor before x", "--rate 25 --to frames 1.5x2", "3\n");
        row("decimal divisor", "--rate 25 01:00:00:00 / 0.8", "01:15:00:00\n");
        row("decimal factor rounds half to even", "--rate 25 --to frames 00:00:00:05 * 0.5 + 00:00:00:07 * 0.5", "6\n");
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
        row("skipped label", "--rate 59.94df 00:01:00;01", "ostrel-tc: column 10: 00:01:00;01 is skipped in drop frame at 59.94df\n");
        row("skipped label written with colons", "01:13:00:01 - 01:13:00:00", "ostrel-tc: column 10: 01:13:00:01 is skipped in drop frame at 29.97df\n");
        row("drop mark at 29.97", "--rate 29.97 01:00:00;00", "ostrel-tc: column 9: ';' marks drop frame, but 29.97 is non-drop (drop frame is 29.97df)\n");
        row("drop mark at 24", "--rate 24 01:00:13;23", "ostrel-tc: column 9: ';' marks drop frame, which 24 does not have\n");
        row("wrap writes time codes", "--wrap --to frames 1", "ostrel-tc: --wrap writes time codes on a 24-hour clock; --to frames does not go with it\n");
        row("factor past the limit", "--rate 25 01:00:00:00 * 99999999.5", "ostrel-tc: column 13: result out of range\n");
        row("divide by a zero factor", "--rate 25 01:00:00:00 / 0.0", "ostrel-tc: column 13: division by zero\n");
        row("decimal that is no time", "--rate 25 2 + 1.50", "ostrel-tc: column 7: frames 50 past 24 at 25\n");
        row("one word needs blanks", "01:00:00;00+10", "ostrel-tc: column 12: to add, put blanks around +");
        row("three frame digits", "--to feet35 100+150", "ostrel-tc: column 4: feet+frames take one or two frame digits; to add, put blanks around +\n");
        row("leading plus", "1++02", "ostrel-tc: column 3: a value cannot start with '+'");
        row("product of factors", "--rate 25 1.5 * 1.5", "ostrel-tc: column 5: no time to multiply or divide");
        row("decimal comma in a product", "--rate 25 250 * 1,5", "ostrel-tc: column 7: a time or a decimal factor?");
        row("edl needs a rate", "--edl", "ostrel-tc: --edl needs --rate, the rate of the list\n");
        row("edl reads a list", "--edl --rate 25 1", "ostrel-tc: --edl converts a list from standard input; an expression does not go with it\n");
        row("decimal frames", "--rate 30 00:00:01.500", "ostrel-tc: column 10: frames 500 past 29 at 30\n");
        row("frames past the limit", "--to frames 00:00:00;1000000000500", "ostrel-tc: column 10: time code out of range\n");
        row("huge frames field", "--to frames 1:0:0;99999999999999999999", "ostrel-tc: column 7: time code out of range\n");
        row("frames one past the limit", "--rate 25 --to frames 00:00:00:1000000000001", "ostrel-tc: column 10: time code out of range\n");
        row("empty frames", "01:00:00:", "ostrel-tc: column 10: empty frames field\n");
        row("empty minutes", "01::00:00", "ostrel-tc: column 4: empty minutes field\n");
        row("seconds past 59", "00:00:60;00", "ostrel-tc: column 7: seconds 60 past 59\n");
        row("rational frames", "--rate 2997/100 00:00:00:30", "ostrel-tc: column 10: frames 30 past 29 at 2997/100\n");
        row("real time minutes", "--rate 25 0:16666667:0s", "ostrel-tc: column 3: minutes 16666667 past 59\n");
        row("real time past the limit", "--rate 25 40000000000.04s", "ostrel-tc: column 1: real time out of range\n");
        row("from frames refuses time codes", "--from frames 01:00:00;00", "ostrel-tc: column 1: expected a frame count (--from frames)\n");
        row("from tc count unclear", "--from tc 01000000 * 2", "ostrel-tc: column 10: which side is the count?");
        row("each refuses other kinds", "--each --from seconds 1", "ostrel-tc: --each converts time codes; --from seconds does not go with it\n");
        row("rate 1000", "--rate 1000/1 1", "ostrel-tc: argument 2: unknown rate '1000/1' for --rate");
        row("nested too deeply", QString(300, '(') + "1", "ostrel-tc: column 201: expression nested too deeply\n");
        row("a scaled count is a time", "--rate 25 2 * 1.5 * 00:00:01:00", "ostrel-tc: column 9: multiply by a plain number, not by a time\n");
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

    // What every --to writes, the matching --from reads back as the same count: at every
    // rate, over each day, past it, and below zero.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QStringList>("to");
        QTest::addColumn<QStringList>("from");
        QStringList rates;
        for (int i = 0; const PellundRate *r = pellund_rate_at(i); i++)
            rates << r->name;
        rates << "2997/100";
        for (const QString &rate : rates)
            for (const char *kind : {"tc", "frames", "seconds", "feet35", "feet16"})
                QTest::addRow("%s %s", qPrintable(rate), kind)
                    << rate << QStringList{"--to", kind} << QStringList{"--from", kind};
        QTest::newRow("29.97df unmarked") << "29.97df" << QStringList{"--no-marks"} << QStringList{"--from", "tc"};
        QTest::newRow("120 unmarked") << "120" << QStringList{"--no-marks"} << QStringList{"--from", "tc"};
    }
    void roundTrip()
    {
        QFETCH(QString, rate);
        QFETCH(QStringList, to);
        QFETCH(QStringList, from);
        PellundRate r;
        QCOMPARE(pellund_rate_parse(qPrintable(rate), &r), PELLUND_OK);
        const qint64 day = qint64(r.labels) * 86400 - qint64(r.drop) * 9 * 144, minute = r.labels * 60;
        QByteArray counts;
        auto add = [&counts](qint64 n) { counts += QByteArray::number(n) + '\n' + QByteArray::number(-n) + '\n'; };
        for (qint64 n = 0; n < 3000; n++)
            add(n);
        // About 20,000 frames through the day, at a step prime to every rate's labels a minute,
        // so every frame label and second comes up.
        qint64 step = day / 20000;
        while (std::gcd(step, qint64(7200)) != 1)
            step++;
        for (qint64 n = 3000; n < day + 3000; n += step)
            add(n);
        // Around each minute, where drop frame skips its labels.
        for (qint64 m = minute; m < day; m += minute - r.drop)
            for (qint64 n = m - 3; n < m + 3; n++)
                add(n);
        add(PELLUND_RATE_MAX_FRAMES / 3);
        const Run out = ostrelTc(QStringList{"--rate", rate, "--from", "frames"} + to, counts);
        QCOMPARE(out.err, QByteArray());
        const Run back = ostrelTc(QStringList{"--rate", rate, "--to", "frames"} + from, out.out);
        QCOMPARE(back.err, QByteArray());
        QVERIFY(back.out == counts);
        QCOMPARE(back.status, 0);
    }

    // --each rewrites only the time codes of an edit list; its titles, clip names, speeds,
    // transition lengths and every blank stay as they were.
    void eachEditList()
    {
        QFile in(QStringLiteral(CLI_DATA "/reel1_23976.edl")), expected(QStringLiteral(CLI_DATA "/reel1_25_keep_frames.edl"));
        QVERIFY(in.open(QIODevice::ReadOnly) && expected.open(QIODevice::ReadOnly));
        const QByteArray edl = in.readAll();
        const Run r = ostrelTc({"--each", "--rate", "23.976", "--to-rate", "25", "--keep", "frames"}, edl);
        QCOMPARE(r.err, QByteArray());
        QVERIFY(r.out == expected.readAll());
        QCOMPARE(r.status, 0);
        const Run bad = ostrelTc({"--each", "--align", "--rate", "30"}, "\xEF\xBB\xBF" "a 00:00:00:45 b\r\n# 00:00:00:45\nc 00:00:01:00 d\r\n");
        QCOMPARE(bad.out, QByteArray("\xEF\xBB\xBF" "a 00:00:00:45 b\r\n# 00:00:00:45\nc 00:00:01:00 d\r\n"));
        QCOMPARE(bad.err, QByteArray("ostrel-tc: line 1, column 12: frames 45 past 29 at 30\n"));
        QCOMPARE(bad.status, 2);
    }

    // --edl against lists worked out with exact fractions: modes switch at each FCM line,
    // out points are in points plus lengths, M2 speeds follow the frames under --keep frames.
    void editDecisionList_data()
    {
        QTest::addColumn<QString>("keep");
        QTest::newRow("keep frames") << "frames";
        QTest::newRow("keep duration") << "duration";
    }
    void editDecisionList()
    {
        QFETCH(QString, keep);
        QFile in(QStringLiteral(CLI_DATA "/mixed_2997.edl"));
        QFile expected(QStringLiteral(CLI_DATA "/mixed_2997_to_25_keep_") + keep + ".edl");
        QVERIFY(in.open(QIODevice::ReadOnly) && expected.open(QIODevice::ReadOnly));
        const Run r = ostrelTc({"--edl", "--rate", "29.97", "--to-rate", "25", "--keep", keep}, in.readAll());
        QCOMPARE(r.err, QByteArray());
        QVERIFY(r.out == expected.readAll());
        QCOMPARE(r.status, 0);
    }

    void editDecisionListRoundTrip()
    {
        QFile in(QStringLiteral(CLI_DATA "/df_2997.edl"));
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray list = in.readAll();
        const Run there = ostrelTc({"--edl", "--rate", "29.97df", "--to-rate", "25", "--keep", "frames"}, list);
        const Run back = ostrelTc({"--edl", "--rate", "25", "--to-rate", "29.97df", "--keep", "frames"}, there.out);
        QVERIFY(!there.out.contains(';'));
        QVERIFY(back.out == list);
        QCOMPARE(there.status + back.status, 0);
    }

    // What a list cannot say exactly stays as it was, with its line and column, and status 2.
    // Lines as editors' tools end them, and event and M2 lines converted whole or kept whole.
    void listLines_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("in");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        auto row = [](const char *name, const QString &args, const QByteArray &in, const QByteArray &out,
                      const QByteArray &err = {}) { QTest::newRow(name) << args.split(' ') << in << out << err; };
        row("edl mixed line ends", "--edl --rate 24 --to-rate 25",
            "FCM: NON-DROP FRAME\r\n001  AX V C 00:00:00:09 00:00:10:21 00:00:07:19 00:00:18:07\r* 00:00:01:00\n",
            "FCM: NON-DROP FRAME\r\n001  AX V C 00:00:00:09 00:00:10:21 00:00:07:20 00:00:18:07\r* 00:00:01:00\n");
        row("each lone CR", "--each --rate 30", "a\rb 00:00:00:45\n", "a\rb 00:00:00:45\n",
            "ostrel-tc: line 2, column 12: frames 45 past 29 at 30\n");
        row("stream lone CR", "--rate 25 --to frames", "1\r00:00:01:00\r\n2", "1\n25\n2\n");
        row("edl lengths on a 24-hour clock", "--edl --rate 30 --to-rate 120 --keep frames --wrap",
            "001  AX V C 01:00:00:00 29:00:00:00 23:00:00:00 01:00:00:00\n002  AX V C 25:00:00:00 01:00:00:00 01:00:00:00 01:00:00:00\n",
            "001  AX V C 00:15:00:000 01:15:00:000 05:45:00:000 06:15:00:000\n002  AX V C 06:15:00:000 06:15:00:000 00:15:00:000 00:15:00:000\n");
        row("M2 speed kept at one rate", "--edl --rate 29.97df --to-rate 29.97df --keep frames",
            "M2   CLIP3       029.87               01:00:10:00\n", "M2   CLIP3       029.87               01:00:10;00\n");
        row("M2 speed keeps its decimals", "--edl --rate 29.97 --to-rate 25 --keep frames",
            "M2   CLIP3       029.87               01:00:10:00\n", "M2   CLIP3       024.92               01:12:12:00\n");
        row("unreadable time code keeps the line", "--edl --rate 24 --to-rate 25 --keep frames",
            "001 AX V C 01:00:00:00 01:00:59:24 00:00:00:00 00:00:59:24\nM2   A 030.0 01:00:00:24\n",
            "001 AX V C 01:00:00:00 01:00:59:24 00:00:00:00 00:00:59:24\nM2   A 030.0 01:00:00:24\n",
            "ostrel-tc: line 1, column 33: frames 24 past 23 at 24\n"
            "ostrel-tc: line 1, column 57: frames 24 past 23 at 24\n"
            "ostrel-tc: line 2, column 23: frames 24 past 23 at 24\n");
        row("freeze frame M2", "--edl --rate 29.97 --to-rate 25",
            "M2   CYAN           000.0    MSTR     I +00:00:00:10\n", "M2   CYAN           000.0    MSTR     I +00:00:00:08\n");
        row("event time codes on the next line", "--edl --rate 25 --to-rate 30",
            "004  ZZ100_51 V     W001    030\n01:00:06:13 01:00:08:15 00:00:06:07 00:00:08:09\n",
            "004  ZZ100_51 V     W001    036\n01:00:06:16 01:00:08:18 00:00:06:08 00:00:08:10\n");
    }
    void listLines()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, in);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        const Run r = ostrelTc(args, in);
        QCOMPARE(r.out, out);
        QCOMPARE(r.err, err);
        QCOMPARE(r.status, err.isEmpty() ? 0 : 2);
    }

    void editDecisionListFaults()
    {
        const QByteArray list = "001  A V C 00:01:00:00 00:01:00:02 01:00:00:00 01:00:00:02\n"
                                "FCM: NON-DROP FRAME\n"
                                "002  A V C 00:00:00;00 00:00:01:00 01:00:00:00 01:00:01:00\n"
                                "M2   A 30 01:00:00:00\n"
                                "FCM: DROP FRAME\n"
                                "003  A V C 00:00:00:00 00:00:01:00 01:00:00:00 01:00:01:00";
        const Run r = ostrelTc({"--edl", "--rate", "29.97df", "--to-rate", "30", "--keep", "frames"}, list);
        QCOMPARE(r.out, QByteArray("001  A V C 00:01:00:00 00:01:00:02 01:00:00:00 01:00:00:02\n"
                                   "FCM: NON-DROP FRAME\n"
                                   "002  A V C 00:00:00;00 00:00:01:00 01:00:00:00 01:00:01:00\n"
                                   "M2   A 30.0 01:00:00:00\n"
                                   "FCM: NON-DROP FRAME\n"
                                   "003  A V C 00:00:00:00 00:00:01:00 00:59:56:12 00:59:57:12"));
        QCOMPARE(r.err, QByteArray("ostrel-tc: line 1, column 21: 00:01:00:00 is skipped in drop frame at 29.97df\n"
                                   "ostrel-tc: line 3, column 20: ';' marks drop frame, but 29.97 is non-drop (drop frame is 29.97df)\n"));
        QCOMPARE(r.status, 2);
        const Run pal = ostrelTc({"--edl", "--rate", "25", "--to-rate", "24"}, "FCM: DROP FRAME\r\n001  A V C 00:00:00:00 00:00:01:00 00:00:00:00 00:00:01:00\r\n");
        QCOMPARE(pal.out, QByteArray("FCM: DROP FRAME\r\n001  A V C 00:00:00:00 00:00:01:00 00:00:00:00 00:00:01:00\r\n"));
        QCOMPARE(pal.err, QByteArray("ostrel-tc: line 1, column 6: FCM: DROP FRAME, but 25 has no drop frame; the lines under it are kept as they were\n"));
    }

    // --align keeps one output line for each input line, so paste can line them up.
    void alignedLines()
    {
        const QByteArray in = "\xEF\xBB\xBF" "1 + 1\n# a note\n\n2 *\n00:00:01;00\r\n(4)";
        const Run aligned = ostrelTc({"--to", "frames", "--align"}, in);
        QCOMPARE(aligned.out, QByteArray("2\n\n\n\n30\n4\n"));
        QCOMPARE(aligned.err, QByteArray("ostrel-tc: line 3, column 1: empty expression\n"
                                         "ostrel-tc: line 4, column 4: expression ends too soon\n"));
        QCOMPARE(aligned.status, 2);
        const Run plain = ostrelTc({"--to", "frames"}, in);
        QCOMPARE(plain.out, QByteArray("2\n30\n4\n"));
        QCOMPARE(plain.err, aligned.err);
    }

    // One rule wherever the line falls: up to 1 MiB before its newline is read, longer is not.
    void overlongLines_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("read");
        for (const char *before : {"", "1\n"})
            for (int length : {1 << 20, (1 << 20) + 1, 1900000})
                QTest::addRow("%s%d", *before ? "after a line, " : "", length)
                    << QByteArray(before) << length << (length <= 1 << 20);
    }
    void overlongLines()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, length);
        QFETCH(bool, read);
        const QByteArray line = QByteArray(length - 1, ' ') + '7';
        const Run r = ostrelTc({"--to", "frames"}, before + line + "\n5\n");
        const QByteArray first = before.isEmpty() ? "" : "1\n";
        QCOMPARE(r.out, first + (read ? "7\n5\n" : "5\n"));
        QCOMPARE(r.err, read ? QByteArray()
                             : "ostrel-tc: line " + QByteArray::number(before.count('\n') + 1)
                                   + ", column 1048577: line too long\n");
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
        QVERIFY(help.out.contains("Only the names ending in df are drop frame"));
        QVERIFY(help.out.contains("  --edl "));
        QCOMPARE(help.status, 0);
        const Run version = ostrelTc({"--version"});
        QCOMPARE(version.out, QByteArray("ostrel-tc " OSTREL_VERSION "\n"));
        QCOMPARE(version.status, 0);
    }
};

QTEST_GUILESS_MAIN(tst_OstrelTc)
#include "tst_ostreltc.moc"
