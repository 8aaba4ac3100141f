// The rates engine over whole days against libavutil and libltc, and at hand-worked values.
#include "pellund_rates.h"

extern "C" {
#include <libavutil/log.h>
#include <libavutil/timecode.h>
#include <ltc.h>
}

#include <QtTest>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const PellundRate *rate(const char *name)
{
    const PellundRate *r = pellund_rate_find(name);
    if (!r)
        qFatal("no rate %s", name);
    return r;
}

int64_t framesPerDay(const PellundRate *r)
{
    return int64_t(r->labels) * 86400 - int64_t(r->drop) * 9 * 144;
}

QByteArray tc(int64_t frames, const PellundRate *r, int32_t options = PELLUND_MARKS | PELLUND_LEADING)
{
    char text[PELLUND_TEXT_SIZE];
    return pellund_tc_string(frames, r, options, text) == PELLUND_OK ? QByteArray(text)
                                                                     : QByteArray("<range>");
}

int64_t readBack(const char *text, const PellundRate *r)
{
    int64_t frames = -1;
    return pellund_tc_frames(text, std::strlen(text), r, &frames) == PELLUND_OK ? frames : -1;
}

void addRateRows()
{
    QTest::addColumn<QByteArray>("name");
    for (int i = 0; const PellundRate *r = pellund_rate_at(i); i++)
        QTest::newRow(r->name) << QByteArray(r->name);
}

} // namespace

class tst_Rates : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { av_log_set_level(AV_LOG_QUIET); }

    void rateNames()
    {
        const QByteArray expected =
            "23.976 24 25 29.97 29.97df 30 47.952 48 50 59.94 59.94df 60 119.88df 120";
        QByteArrayList names;
        for (int i = 0; const PellundRate *r = pellund_rate_at(i); i++) {
            names << r->name;
            QCOMPARE(pellund_rate_find(r->name), r);
        }
        QCOMPARE(names.join(' '), expected);
        QVERIFY(!pellund_rate_find("29.98"));
        QVERIFY(!pellund_rate_at(-1));
    }

    // Names as editors write them, in any case, and ratios reduced to the rate they name.
    void rateParse_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("rate"); // name num/den labels drop, or empty: refused
        auto row = [](const char *text, const char *rate) { QTest::newRow(text) << QByteArray(text) << QByteArray(rate); };
        row("29.97df", "29.97df 30000/1001 30 2");
        row("29.97DF", "29.97df 30000/1001 30 2");
        row("23.98", "23.976 24000/1001 24 0");
        row("29.97NDF", "29.97 30000/1001 30 0");
        row("59.94ndf", "59.94 60000/1001 60 0");
        row("119.88", "119.88 120000/1001 120 0");
        row("96", "96 96/1 96 0");
        row("100", "100 100/1 100 0");
        row("24000/1001", "23.976 24000/1001 24 0");
        row("48000/2002", "23.976 24000/1001 24 0");
        row("2997/100", "- 2997/100 30 0");
        row("999/1", "- 999/1 999 0");
        row("1000/1", "");
        row("1/2", "");
        row("24/0", "");
        row("0/1", "");
        row("24000/1002", "- 4000/167 24 0");
        row("30000/1003", "");
        row("1234567890/1", "");
        row("24/1/1", "");
        row("24 ", "");
        row("29.98", "");
        row("", "");
    }
    void rateParse()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, rate);
        PellundRate r{"unchanged", 1, 1, 1, 0};
        const int status = pellund_rate_parse(text.constData(), &r);
        QCOMPARE(status, rate.isEmpty() ? PELLUND_EUNREADABLE : PELLUND_OK);
        if (rate.isEmpty()) {
            QCOMPARE(QByteArray(r.name), QByteArray("unchanged"));
            return;
        }
        QCOMPARE(QString::asprintf("%s %d/%d %d %d", r.name ? r.name : "-", r.num, r.den, r.labels, r.drop),
                 QString(rate));
    }

    // libavutil reads any number into each of four fields and carries the excess; the strict
    // reading takes exactly the texts whose fields are within their labels, with the same count,
    // and names the first field from the left that is not.
    void strictAgainstLibavutil_data() { addRateRows(); }
    void strictAgainstLibavutil()
    {
        QFETCH(QByteArray, name);
        const PellundRate *r = rate(name);
        const int top[4] = {r->labels, 60, 60, 1000};
        const int tries[] = {0, 1, 9, 10, 59, 60, 61, 99, r->labels - 1, r->labels, 119, 120, 999};
        for (int hh : {0, 1, 23, 24, 999})
            for (int mm : tries)
                for (int ss : tries)
                    for (int ff : tries) {
                        if (mm > 99 || ss > 99 || (r->labels <= 100 && ff > 99))
                            continue;
                        const int field[4] = {ff, ss, mm, hh};
                        const QByteArray text = QString::asprintf(r->labels > 100 ? "%02d:%02d:%02d%c%03d" : "%02d:%02d:%02d%c%02d",
                                                                  hh, mm, ss, r->drop ? ';' : ':', ff).toLatin1();
                        AVTimecode av;
                        QCOMPARE(av_timecode_init_from_string(&av, AVRational{r->num, r->den}, text.constData(), nullptr), 0);
                        int64_t strict = -1, lenient = -1;
                        PellundTcFault fault{99, 99, 99};
                        const int status = pellund_tc_read(text.constData(), size_t(text.size()), r,
                                                           PELLUND_STRICT, &strict, &fault);
                        QCOMPARE(pellund_tc_frames(text.constData(), size_t(text.size()), r, &lenient), PELLUND_OK);
                        int bad = -1;
                        for (int k = 3; k >= 0 && bad < 0; k--)
                            if (field[k] >= top[k])
                                bad = k;
                        const bool skipped = r->drop && ss == 0 && mm % 10 != 0 && ff < r->drop;
                        if (bad < 0) {
                            QCOMPARE(status, PELLUND_OK);
                            QCOMPARE(strict, lenient);
                            if (!skipped && strict != av.start)
                                QFAIL(qPrintable(text + " reads as " + QByteArray::number(qint64(strict))));
                        } else {
                            QCOMPARE(status, PELLUND_EFIELD);
                            QCOMPARE(fault.field, bad);
                            QCOMPARE(fault.value, int64_t(field[bad]));
                            const int h = text.indexOf(':'), offset[4] = {h + 7, h + 4, h + 1, 0};
                            QCOMPARE(fault.offset, size_t(offset[bad]));
                            QCOMPARE(strict, int64_t(-1));
                            if (!r->drop)
                                QCOMPARE(lenient, int64_t(av.start));
                        }
                    }
    }

    // What strict reading refuses beyond the fields' labels, and what neither reading lets
    // through: a field past the limit is out of range, never taken as the limit.
    void readingFaults_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("strict");
        QTest::addColumn<int>("lenient");
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("offset");
        auto row = [](const char *tag, const char *name, const char *text, int strict, int lenient, int field, int offset) {
            QTest::newRow(tag) << QByteArray(name) << QByteArray(text) << strict << lenient << field << offset;
        };
        row("empty frames", "30", "01:00:00:", PELLUND_EFIELD, PELLUND_OK, PELLUND_FIELD_FRAMES, 9);
        row("empty minutes", "30", "01::00:00", PELLUND_EFIELD, PELLUND_OK, PELLUND_FIELD_MINUTES, 3);
        row("empty text", "30", "", PELLUND_EFIELD, PELLUND_OK, PELLUND_FIELD_FRAMES, 0);
        row("unmarked frames", "30", "000045", PELLUND_EFIELD, PELLUND_OK, PELLUND_FIELD_FRAMES, 4);
        row("unmarked seconds", "25", "-9000", PELLUND_EFIELD, PELLUND_OK, PELLUND_FIELD_SECONDS, 1);
        row("decimal frames", "30", "00:00:01.500", PELLUND_EFIELD, PELLUND_OK, PELLUND_FIELD_FRAMES, 9);
        row("frames field past the limit", "29.97df", "00:00:00;1000000000500", PELLUND_ERANGE, PELLUND_ERANGE, PELLUND_FIELD_FRAMES, 9);
        row("huge frames field", "29.97df", "1:0:0;99999999999999999999", PELLUND_ERANGE, PELLUND_ERANGE, PELLUND_FIELD_FRAMES, 6);
        row("frames one past", "25", "00:00:00:1000000000001", PELLUND_ERANGE, PELLUND_ERANGE, PELLUND_FIELD_FRAMES, 9);
        row("hours past the limit", "30", "99999999999:00:00:00", PELLUND_ERANGE, PELLUND_ERANGE, -1, 0);
        row("large hours", "24", "11574074:00:00:00", PELLUND_OK, PELLUND_OK, 0, 0);
    }
    void readingFaults()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, text);
        QFETCH(int, strict);
        QFETCH(int, lenient);
        QFETCH(int, field);
        QFETCH(int, offset);
        int64_t f = 0;
        PellundTcFault fault{99, 99, 99};
        QCOMPARE(pellund_tc_read(text.constData(), size_t(text.size()), rate(name), PELLUND_STRICT, &f, &fault), strict);
        if (strict != PELLUND_OK) {
            QCOMPARE(fault.field, field);
            QCOMPARE(fault.offset, size_t(offset));
        }
        QCOMPARE(pellund_tc_frames(text.constData(), size_t(text.size()), rate(name), &f), lenient);
    }

    // Real times are exact up to the frame limit, whatever the size of the whole seconds.
    void realTimes_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<qint64>("units");
        QTest::addColumn<qint64>("scale");
        for (int i = 0; const PellundRate *r = pellund_rate_at(i); i++)
            for (qint64 s : {qint64(1001), qint64(86399), qint64(41708333333), qint64(8333333333), qint64(-999999999)})
                for (qint64 u : {qint64(0), qint64(1), qint64(500000000), qint64(999999999)})
                    QTest::addRow("%s %lld.%09lld", r->name, s, u) << QByteArray(r->name) << s << (s < 0 ? -u : u) << qint64(1000000000);
        QTest::newRow("decimals") << QByteArray("25") << qint64(12) << qint64(5) << qint64(10);
    }
    void realTimes()
    {
        QFETCH(QByteArray, name);
        QFETCH(qint64, seconds);
        QFETCH(qint64, units);
        QFETCH(qint64, scale);
        const PellundRate *r = rate(name);
        // Exact in 128 bits: the nearest frame, half to even.
        const __int128 n = (__int128(seconds) * scale + units) * r->num, d = __int128(scale) * r->den;
        const __int128 m = n < 0 ? -n : n;
        __int128 q = m / d;
        if (2 * (m % d) > d || (2 * (m % d) == d && (q & 1)))
            q++;
        const __int128 expected = n < 0 ? -q : q;
        int64_t f = 7;
        const int status = pellund_frames_of_seconds(seconds, units, scale, r, &f);
        const bool inRange = expected <= PELLUND_RATE_MAX_FRAMES && expected >= -PELLUND_RATE_MAX_FRAMES;
        QCOMPARE(status, inRange ? PELLUND_OK : PELLUND_ERANGE);
        QCOMPARE(f, inRange ? int64_t(expected) : int64_t(7));
    }

    // Every frame of the day reads back from its marked and its unmarked text, and libavutil
    // writes and reads the same labels.
    void wholeDay_data() { addRateRows(); }
    void wholeDay()
    {
        QFETCH(QByteArray, name);
        const PellundRate *r = rate(name);
        AVTimecode avtc;
        QCOMPARE(av_timecode_init(&avtc, AVRational{r->num, r->den},
                                  r->drop ? AV_TIMECODE_FLAG_DROPFRAME : 0, 0, nullptr), 0);
        const int64_t day = framesPerDay(r);
        char ours[PELLUND_TEXT_SIZE], plain[PELLUND_TEXT_SIZE], theirs[AV_TIMECODE_STR_SIZE];
        for (int64_t n = 0; n < day; n++) {
            pellund_tc_string(n, r, PELLUND_MARKS | PELLUND_LEADING, ours);
            pellund_tc_string(n, r, PELLUND_LEADING, plain);
            av_timecode_make_string(&avtc, theirs, int(n));
            if (std::strcmp(ours, theirs) != 0 || readBack(ours, r) != n || readBack(plain, r) != n)
                QFAIL(qPrintable(QString("frame %1: %2 / %3, libavutil %4")
                                     .arg(n).arg(ours, plain, theirs)));
            // Reading is the slower half of libavutil; a sample of every 97th frame suffices.
            AVTimecode read;
            if (n % 97 == 0
                && (av_timecode_init_from_string(&read, AVRational{r->num, r->den}, ours, nullptr) != 0
                    || read.start != n))
                QFAIL(qPrintable(QString("libavutil reads %1 as %2").arg(ours).arg(read.start)));
        }
        QCOMPARE(tc(day, r).left(9), QByteArray("24:00:00") + (r->drop ? ';' : ':'));
    }

    // Far from zero hours pass 99 and counts pass 32 bits. libavutil writes the same text
    // while its int holds the label number (its drop frame negatives count differently), and
    // every form reads back.
    void farCounts_data() { addRateRows(); }
    void farCounts()
    {
        QFETCH(QByteArray, name);
        const PellundRate *r = rate(name);
        AVTimecode avtc;
        const int avFlags = (r->drop ? AV_TIMECODE_FLAG_DROPFRAME : 0) | AV_TIMECODE_FLAG_ALLOWNEGATIVE;
        QCOMPARE(av_timecode_init(&avtc, AVRational{r->num, r->den}, avFlags, 0, nullptr), 0);
        const int64_t avLimit = r->drop ? 2000000000 : INT32_MAX;
        const int64_t hundredHours = 100 * (int64_t(r->labels) * 3600 - int64_t(r->drop) * 54);
        std::vector<int64_t> counts = {0, 1, hundredHours - 1, hundredHours, INT32_MAX,
                                       PELLUND_RATE_MAX_FRAMES};
        uint64_t seed = 1;
        for (int i = 0; i < 20000; i++) {
            seed = seed * 6364136223846793005u + 1442695040888963407u;
            const uint64_t span = i % 2 ? uint64_t(INT32_MAX) : uint64_t(PELLUND_RATE_MAX_FRAMES);
            counts.push_back(int64_t((seed >> 11) % (span + 1)));
        }
        for (const int64_t magnitude : counts) {
            for (const int64_t n : {magnitude, -magnitude}) {
                const QByteArray ours = tc(n, r);
                char theirs[AV_TIMECODE_STR_SIZE];
                if (std::abs(n) <= avLimit && (n >= 0 || !r->drop)
                    && ours != av_timecode_make_string(&avtc, theirs, int(n)))
                    QFAIL(qPrintable(QString("frame %1: %2, libavutil %3").arg(n).arg(ours, theirs)));
                for (const int32_t options : {0, PELLUND_MARKS, PELLUND_LEADING, PELLUND_MARKS | PELLUND_LEADING}) {
                    const QByteArray text = tc(n, r, options);
                    int64_t read = 0;
                    if (pellund_tc_frames(text.constData(), size_t(text.size()), r, &read) != PELLUND_OK
                        || read != n)
                        QFAIL(qPrintable(QString("frame %1 written %2 reads back as %3")
                                             .arg(n).arg(text).arg(read)));
                }
            }
        }
    }

    // libltc counts frame by frame through the day at the rates LTC carries.
    void libltc_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("standard");
        QTest::newRow("24") << QByteArray("24") << int(LTC_TV_FILM_24);
        QTest::newRow("23.976") << QByteArray("23.976") << int(LTC_TV_FILM_24);
        QTest::newRow("25") << QByteArray("25") << int(LTC_TV_625_50);
        QTest::newRow("29.97") << QByteArray("29.97") << int(LTC_TV_525_60);
        QTest::newRow("29.97df") << QByteArray("29.97df") << int(LTC_TV_525_60);
        QTest::newRow("30") << QByteArray("30") << int(LTC_TV_525_60);
    }
    void libltc()
    {
        QFETCH(QByteArray, name);
        QFETCH(int, standard);
        const PellundRate *r = rate(name);
        LTCFrame frame;
        ltc_frame_reset(&frame);
        frame.dfbit = r->drop ? 1 : 0;
        const int64_t day = framesPerDay(r);
        for (int64_t n = 0; n < day; n++) {
            SMPTETimecode t;
            ltc_frame_to_time(&t, &frame, 0);
            char theirs[32];
            std::snprintf(theirs, sizeof theirs, "%02d:%02d:%02d%c%02d", t.hours, t.mins, t.secs,
                          r->drop ? ';' : ':', t.frame);
            const QByteArray ours = tc(n, r);
            if (ours != theirs)
                QFAIL(qPrintable(QString("frame %1: %2, libltc %3").arg(n).arg(ours, theirs)));
            ltc_frame_increment(&frame, r->labels, LTC_TV_STANDARD(standard), 0);
        }
    }

    void knownValues_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("frames");
        QTest::addColumn<QByteArray>("written"); // empty: the text itself
        QTest::newRow("59.94df ten minutes") << QByteArray("59.94df") << QByteArray("00:10:00;00") << qint64(35964) << QByteArray();
        QTest::newRow("59.94df a day") << QByteArray("59.94df") << QByteArray("24:00:00;00") << qint64(5178816) << QByteArray();
        QTest::newRow("59.94df first label kept") << QByteArray("59.94df") << QByteArray("00:01:00;04") << qint64(3600) << QByteArray();
        QTest::newRow("59.94df skipped ;00") << QByteArray("59.94df") << QByteArray("00:01:00;00") << qint64(3600) << QByteArray("00:01:00;04");
        QTest::newRow("59.94df skipped ;03") << QByteArray("59.94df") << QByteArray("00:01:00;03") << qint64(3600) << QByteArray("00:01:00;04");
        QTest::newRow("59.94df tenth minute keeps ;00") << QByteArray("59.94df") << QByteArray("00:20:00;00") << qint64(71928) << QByteArray();
        QTest::newRow("119.88df skipped ;07") << QByteArray("119.88df") << QByteArray("00:01:00;007") << qint64(7200) << QByteArray("00:01:00;008");
        QTest::newRow("119.88df a day") << QByteArray("119.88df") << QByteArray("24:00:00;000") << qint64(10357632) << QByteArray();
        QTest::newRow("119.88df three-digit frames") << QByteArray("119.88df") << QByteArray("00:00:00;105") << qint64(105) << QByteArray();
        QTest::newRow("119.88df frames take three digits") << QByteArray("119.88df") << QByteArray("00:00:01;5") << qint64(125) << QByteArray("00:00:01;005");
        QTest::newRow("120 unmarked frames") << QByteArray("120") << QByteArray("000100105") << qint64(60 * 120 + 105) << QByteArray("00:01:00:105");
        QTest::newRow("29.97df past a day") << QByteArray("29.97df") << QByteArray("25:00:00;00") << qint64(2589408 + 107892) << QByteArray();
        QTest::newRow("29.97df negative") << QByteArray("29.97df") << QByteArray("-00:01:00;02") << qint64(-1800) << QByteArray();
        QTest::newRow("47.952 an hour") << QByteArray("47.952") << QByteArray("01:00:00:00") << qint64(172800) << QByteArray();
        QTest::newRow("50 fields overflow") << QByteArray("50") << QByteArray("00:00:90:00") << qint64(4500) << QByteArray("00:01:30:00");
    }
    void knownValues()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, text);
        QFETCH(qint64, frames);
        QFETCH(QByteArray, written);
        const PellundRate *r = rate(name);
        QCOMPARE(readBack(text, r), frames);
        QCOMPARE(tc(frames, r), written.isEmpty() ? text : written);
    }

    void feetTimeAndConversion()
    {
        char text[PELLUND_TEXT_SIZE];
        QCOMPARE(pellund_feet_string(1800, PELLUND_FEET_35MM, text), PELLUND_OK);
        QCOMPARE(QByteArray(text), QByteArray("112+08"));
        pellund_feet_string(-1800, PELLUND_FEET_16MM, text);
        QCOMPARE(QByteArray(text), QByteArray("-45+00"));
        pellund_feet_string(15, PELLUND_FEET_35MM, text);
        QCOMPARE(QByteArray(text), QByteArray("0+15"));

        // Milliseconds round half to even: 3 frames at 48 are 62.5 ms, 9 are 187.5 ms.
        pellund_seconds_string(3, rate("48"), text);
        QCOMPARE(QByteArray(text), QByteArray("00:00:00.062"));
        pellund_seconds_string(9, rate("48"), text);
        QCOMPARE(QByteArray(text), QByteArray("00:00:00.188"));
        pellund_seconds_string(107892, rate("29.97df"), text);
        QCOMPARE(QByteArray(text), QByteArray("00:59:59.996"));
        pellund_seconds_string(-30, rate("29.97"), text);
        QCOMPARE(QByteArray(text), QByteArray("-00:00:01.001"));

        int64_t f = 0;
        QCOMPARE(pellund_frames_of_time(125, 10, rate("25"), &f), PELLUND_OK); // 312.5
        QCOMPARE(f, int64_t(312));
        pellund_frames_of_time(-135, 10, rate("25"), &f); // -337.5
        QCOMPARE(f, int64_t(-338));
        pellund_frames_of_time(3600, 1, rate("59.94df"), &f); // 215784.2
        QCOMPARE(f, int64_t(215784));

        QCOMPARE(pellund_rate_convert(107892, rate("29.97df"), rate("25"), &f), PELLUND_OK);
        QCOMPARE(f, int64_t(90000)); // 89999.91
        pellund_rate_convert(1, rate("50"), rate("25"), &f);
        QCOMPARE(f, int64_t(0)); // half to even
        pellund_rate_convert(3, rate("50"), rate("25"), &f);
        QCOMPARE(f, int64_t(2));
        pellund_rate_convert(-3, rate("50"), rate("25"), &f);
        QCOMPARE(f, int64_t(-2));
        pellund_rate_convert(1001, rate("24"), rate("23.976"), &f);
        QCOMPARE(f, int64_t(1000));
    }

    void outOfRange()
    {
        const int64_t over = PELLUND_RATE_MAX_FRAMES + 1;
        char text[PELLUND_TEXT_SIZE] = "x";
        QCOMPARE(pellund_tc_string(-over, rate("120"), PELLUND_MARKS, text), PELLUND_ERANGE);
        QCOMPARE(text[0], '\0');
        QCOMPARE(pellund_feet_string(over, PELLUND_FEET_35MM, text), PELLUND_ERANGE);
        QCOMPARE(pellund_seconds_string(over, rate("23.976"), text), PELLUND_ERANGE);
        // The largest count still fits the text buffer.
        QCOMPARE(pellund_tc_string(-PELLUND_RATE_MAX_FRAMES, rate("23.976"), PELLUND_MARKS, text), PELLUND_OK);
        QVERIFY(std::strlen(text) < PELLUND_TEXT_SIZE);

        int64_t f = 7;
        const char huge[] = "-99999999999999999999:00:00:00";
        QCOMPARE(pellund_tc_frames(huge, std::strlen(huge), rate("30"), &f), PELLUND_ERANGE);
        QCOMPARE(f, -PELLUND_RATE_MAX_FRAMES);
        f = 7;
        QCOMPARE(pellund_tc_frames("1:2:3:4:5", 9, rate("30"), &f), PELLUND_EUNREADABLE);
        QCOMPARE(pellund_tc_frames("12a", 3, rate("30"), &f), PELLUND_EUNREADABLE);
        QCOMPARE(f, int64_t(7));
        QCOMPARE(pellund_rate_convert(PELLUND_RATE_MAX_FRAMES, rate("23.976"), rate("120"), &f),
                 PELLUND_ERANGE);
        QCOMPARE(pellund_frames_of_time(PELLUND_RATE_MAX_FRAMES, 1, rate("25"), &f), PELLUND_ERANGE);
        QCOMPARE(f, int64_t(7));
    }
};

QTEST_APPLESS_MAIN(tst_Rates)
#include "tst_rates.moc"
