// Pellund against libavutil's time code functions and against hand-worked values.
#include "pellund.h"

extern "C" {
#include <libavutil/log.h>
#include <libavutil/timecode.h>
}

#include <QtTest>

#include <climits>
#include <cstdio>
#include <cstring>

namespace {

constexpr int32_t Marks = PELLUND_MARKS;
constexpr int32_t Leading = PELLUND_LEADING;
constexpr int32_t Both = PELLUND_MARKS | PELLUND_LEADING;

const int32_t optionSets[4] = {0, Marks, Leading, Both};
const char *const optionNames[4] = {"plain", "marks", "leading", "marks+leading"};

struct TypeName {
    int32_t type;
    const char *name;
};
const TypeName types[] = {
    {PELLUND_TYPE_FILM, "film"},
    {PELLUND_TYPE_NDF, "ndf"},
    {PELLUND_TYPE_DF, "df"},
    {PELLUND_TYPE_PAL, "pal"},
    {PELLUND_TYPE_23_98, "23.98"},
};

QByteArray textOf(int32_t frames, int32_t flags)
{
    char buf[PELLUND_TEXT_SIZE];
    if (tc2String(frames, flags, buf) != PELLUND_OK)
        return QByteArrayLiteral("<error>");
    return QByteArray(buf);
}

QByteArray nuls(int n)
{
    return QByteArray(n, '\0');
}

} // namespace

class tst_Pellund : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The failed parses below are deliberate; keep libavutil quiet about them.
        av_log_set_level(AV_LOG_QUIET);
    }

    void maximum_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("expected");
        // Labels per second times 86400; drop frame loses 2 labels in 9 of every 10 minutes.
        QTest::newRow("film") << PELLUND_TYPE_FILM << 24 * 86400;
        QTest::newRow("film marks+leading") << (PELLUND_TYPE_FILM | Both) << 24 * 86400;
        QTest::newRow("ndf") << PELLUND_TYPE_NDF << 30 * 86400;
        QTest::newRow("ndf marks") << (PELLUND_TYPE_NDF | Marks) << 30 * 86400;
        QTest::newRow("df") << PELLUND_TYPE_DF << 30 * 86400 - 2 * 9 * 6 * 24;
        QTest::newRow("df leading") << (PELLUND_TYPE_DF | Leading) << 2589408;
        QTest::newRow("pal") << PELLUND_TYPE_PAL << 25 * 86400;
        QTest::newRow("pal marks+leading") << (PELLUND_TYPE_PAL | Both) << 2160000;
        QTest::newRow("23.98") << PELLUND_TYPE_23_98 << 2073600;
        QTest::newRow("23.98 marks") << (PELLUND_TYPE_23_98 | Marks) << 2073600;
    }

    void maximum()
    {
        QFETCH(int, flags);
        QFETCH(int, expected);
        QCOMPARE(tc2Maximum(flags), expected);
    }

    void unsupportedType_data()
    {
        QTest::addColumn<int>("flags");
        QTest::newRow("0") << 0;
        QTest::newRow("3") << 3;
        QTest::newRow("5") << 5;
        QTest::newRow("16") << 16;
        QTest::newRow("64") << 64;
        QTest::newRow("129") << 129;
        QTest::newRow("255") << 255;
        QTest::newRow("options only") << Both;
        QTest::newRow("3 with options") << (3 | Both);
        QTest::newRow("all bits") << -1;
    }

    void unsupportedType()
    {
        QFETCH(int, flags);
        QCOMPARE(tc2Maximum(flags), 0);

        char buf[PELLUND_TEXT_SIZE];
        memset(buf, 'x', sizeof buf);
        QVERIFY(tc2String(35, flags, buf) < 0);
        QCOMPARE(buf[0], '\0');

        char text[] = "00:00:01:05";
        int32_t frames = 4242;
        QVERIFY(tc2Frame(text, flags, &frames) < 0);
        QCOMPARE(frames, 4242);
    }

    // Every count of 24 hours either side of 0, every type and option set: the text
    // fits and reads back to the count.
    void everyFrameRoundTrips_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("option");
        for (const TypeName &t : types)
            for (int o = 0; o < 4; ++o)
                QTest::addRow("%s %s", t.name, optionNames[o]) << t.type << o;
    }

    void everyFrameRoundTrips()
    {
        QFETCH(int, type);
        QFETCH(int, option);
        const int32_t max = tc2Maximum(type);
        QVERIFY(max > 0);

        // Bytes past the library's 32 must never change.
        char buf[PELLUND_TEXT_SIZE + 16];
        memset(buf, 0x5A, sizeof buf);
        qint64 failures = 0;
        QString first;
        for (int32_t n = 1 - max; n < max; ++n) {
            // Reading ignores the option bits, so each text is read back with the
            // option sets in turn: every writer/reader pairing (type alone included)
            // meets every fourth count, at the cost of one read per text.
            const int readOption = (option + n) & 3;
            int32_t back = ~n;
            const int32_t wrote = tc2String(n, type | optionSets[option], buf);
            const size_t length = strnlen(buf, sizeof buf);
            const int32_t read = tc2Frame(buf, type | optionSets[readOption], &back);
            if (wrote != PELLUND_OK || length >= PELLUND_TEXT_SIZE || read != PELLUND_OK
                || back != n) {
                if (failures++ == 0)
                    first = QStringLiteral("frame %1 wrote %2 \"%3\" (length %4), read with "
                                           "options %5 returned %6, frames %7")
                                .arg(n)
                                .arg(wrote)
                                .arg(QString::fromLatin1(buf, int(qMin<size_t>(length, 32))))
                                .arg(length)
                                .arg(optionNames[readOption])
                                .arg(read)
                                .arg(back);
            }
        }
        if (failures)
            qWarning("%lld failures, first: %s", failures, qPrintable(first));
        QCOMPARE(failures, qint64(0));
        for (size_t i = PELLUND_TEXT_SIZE; i < sizeof buf; ++i)
            QCOMPARE(int(buf[i]), 0x5A);
    }

    // With marks and leading zeros the text is libavutil's, and libavutil reads every
    // label to the same count as we do.
    void matchesLibavutil_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("rateNum");
        QTest::addColumn<int>("rateDen");
        QTest::addColumn<int>("avFlags");
        QTest::addColumn<QByteArray>("dayText");
        QTest::newRow("24") << PELLUND_TYPE_FILM << 24 << 1 << 0 << QByteArray("24:00:00:00");
        QTest::newRow("23.98") << PELLUND_TYPE_23_98 << 24000 << 1001 << 0
                               << QByteArray("24:00:00:00");
        QTest::newRow("25") << PELLUND_TYPE_PAL << 25 << 1 << 0 << QByteArray("24:00:00:00");
        QTest::newRow("30") << PELLUND_TYPE_NDF << 30 << 1 << 0 << QByteArray("24:00:00:00");
        QTest::newRow("30 drop") << PELLUND_TYPE_DF << 30000 << 1001
                                 << int(AV_TIMECODE_FLAG_DROPFRAME) << QByteArray("24:00:00;00");
    }

    void matchesLibavutil()
    {
        QFETCH(int, type);
        QFETCH(int, rateNum);
        QFETCH(int, rateDen);
        QFETCH(int, avFlags);
        QFETCH(QByteArray, dayText);
        const AVRational rate{rateNum, rateDen};
        AVTimecode tc;
        QCOMPARE(av_timecode_init(&tc, rate, avFlags, 0, nullptr), 0);

        // The first label past 24 hours, as libavutil counts it, is the day's length.
        AVTimecode day;
        QCOMPARE(av_timecode_init_from_string(&day, rate, dayText.constData(), nullptr), 0);
        const int32_t max = tc2Maximum(type);
        QCOMPARE(max, day.start);

        char ours[PELLUND_TEXT_SIZE];
        char theirs[AV_TIMECODE_STR_SIZE];
        qint64 textFailures = 0, readFailures = 0;
        QString firstText, firstRead;
        for (int32_t n = 0; n < max; ++n) {
            tc2String(n, type | Both, ours);
            av_timecode_make_string(&tc, theirs, n);
            if (strcmp(ours, theirs) != 0 && textFailures++ == 0)
                firstText = QStringLiteral("frame %1: ours \"%2\", libavutil \"%3\"")
                                .arg(n)
                                .arg(QLatin1String(ours))
                                .arg(QLatin1String(theirs));

            AVTimecode parsed;
            const int avRead = av_timecode_init_from_string(&parsed, rate, theirs, nullptr);
            int32_t back = ~n;
            const int32_t read = tc2Frame(theirs, type, &back);
            if ((avRead != 0 || read != PELLUND_OK || back != parsed.start) && readFailures++ == 0)
                firstRead = QStringLiteral("\"%1\": libavutil %2 (%3), ours %4 (%5)")
                                .arg(QLatin1String(theirs))
                                .arg(parsed.start)
                                .arg(avRead)
                                .arg(back)
                                .arg(read);
        }
        if (textFailures)
            qWarning("%lld texts differ, first: %s", textFailures, qPrintable(firstText));
        if (readFailures)
            qWarning("%lld readings differ, first: %s", readFailures, qPrintable(firstRead));
        QCOMPARE(textFailures, qint64(0));
        QCOMPARE(readFailures, qint64(0));
    }

    // Drop frame skips ;00 and ;01 at the start of most minutes; libavutil counts
    // such a label as if it existed, we take it as the minute's first real frame.
    void skippedDropFrameLabels_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("marks") << QByteArray("%02d:%02d:00;%02d");
        QTest::newRow("colons") << QByteArray("%02d:%02d:00:%02d");
        QTest::newRow("no marks") << QByteArray("%02d%02d00%02d");
        QTest::newRow("no leading zeros") << QByteArray("%d:%d:0;%d");
    }

    void skippedDropFrameLabels()
    {
        QFETCH(QByteArray, format);
        const AVRational rate{30000, 1001};
        AVTimecode tc;
        QCOMPARE(av_timecode_init(&tc, rate, AV_TIMECODE_FLAG_DROPFRAME, 0, nullptr), 0);
        int checked = 0;
        for (int minute = 0; minute < 24 * 60; ++minute) {
            if (minute % 10 == 0)
                continue;
            const int hh = minute / 60, mm = minute % 60;
            char label[32];
            std::snprintf(label, sizeof label, "%02d:%02d:00;02", hh, mm);
            AVTimecode first;
            QCOMPARE(av_timecode_init_from_string(&first, rate, label, nullptr), 0);
            // libavutil agrees that ;02 opens the minute: the frame before ends the last one.
            char theirs[AV_TIMECODE_STR_SIZE];
            QCOMPARE(QByteArray(av_timecode_make_string(&tc, theirs, first.start)),
                     QByteArray(label));
            char before[32];
            std::snprintf(before, sizeof before, "%02d:%02d:59;29", (minute - 1) / 60,
                          (minute - 1) % 60);
            QCOMPARE(QByteArray(av_timecode_make_string(&tc, theirs, first.start - 1)),
                     QByteArray(before));

            for (int ff = 0; ff < 2; ++ff) {
                char text[32];
                std::snprintf(text, sizeof text, format.constData(), hh, mm, ff);
                int32_t frames = -1;
                QCOMPARE(tc2Frame(text, PELLUND_TYPE_DF, &frames), PELLUND_OK);
                if (frames != first.start)
                    QCOMPARE(QByteArray(text) + " -> " + QByteArray::number(frames),
                             QByteArray(text) + " -> " + QByteArray::number(first.start));
                ++checked;
            }
        }
        QCOMPARE(checked, 2 * 24 * 54);
    }

    // Counts worked out by hand: 17982 frames in ten minutes, 1800 in a ten minute's
    // first minute, 1798 in each of the nine others.
    void dropFrameBoundaries_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("0") << 0 << QByteArray("00:00:00;00");
        QTest::newRow("1") << 1 << QByteArray("00:00:00;01");
        QTest::newRow("1799") << 1799 << QByteArray("00:00:59;29");
        QTest::newRow("1800") << 1800 << QByteArray("00:01:00;02");
        QTest::newRow("1801") << 1801 << QByteArray("00:01:00;03");
        QTest::newRow("1827") << 1827 << QByteArray("00:01:00;29");
        QTest::newRow("1828") << 1828 << QByteArray("00:01:01;00");
        QTest::newRow("3597") << 3597 << QByteArray("00:01:59;29");
        QTest::newRow("3598") << 3598 << QByteArray("00:02:00;02");
        QTest::newRow("16183") << 16183 << QByteArray("00:08:59;29");
        QTest::newRow("16184") << 16184 << QByteArray("00:09:00;02");
        QTest::newRow("17981") << 17981 << QByteArray("00:09:59;29");
        QTest::newRow("17982") << 17982 << QByteArray("00:10:00;00");
        QTest::newRow("17983") << 17983 << QByteArray("00:10:00;01");
        QTest::newRow("19781") << 19781 << QByteArray("00:10:59;29");
        QTest::newRow("19782") << 19782 << QByteArray("00:11:00;02");
        QTest::newRow("107891") << 107891 << QByteArray("00:59:59;29");
        QTest::newRow("107892") << 107892 << QByteArray("01:00:00;00");
        QTest::newRow("109692") << 109692 << QByteArray("01:01:00;02");
        QTest::newRow("2589407") << 2589407 << QByteArray("23:59:59;29");
        QTest::newRow("2589408") << 2589408 << QByteArray("24:00:00;00");
        QTest::newRow("-1800") << -1800 << QByteArray("-00:01:00;02");
        QTest::newRow("-17982") << -17982 << QByteArray("-00:10:00;00");
    }

    void dropFrameBoundaries()
    {
        QFETCH(int, frames);
        QFETCH(QByteArray, text);
        QCOMPARE(textOf(frames, PELLUND_TYPE_DF | Both), text);
        int32_t back = ~frames;
        QCOMPARE(tc2Frame(text.data(), PELLUND_TYPE_DF, &back), PELLUND_OK);
        QCOMPARE(back, frames);
    }

    // Written forms by hand; each also reads back to its count.
    void forms_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QByteArray>("text");
        const int ndf = PELLUND_TYPE_NDF, df = PELLUND_TYPE_DF, film = PELLUND_TYPE_FILM;
        const int pal = PELLUND_TYPE_PAL, t2398 = PELLUND_TYPE_23_98;

        QTest::newRow("ndf 35 marks+leading") << (ndf | Both) << 35 << QByteArray("00:00:01:05");
        QTest::newRow("ndf 35 leading") << (ndf | Leading) << 35 << QByteArray("00000105");
        QTest::newRow("ndf 35 marks") << (ndf | Marks) << 35 << QByteArray("1:05");
        QTest::newRow("ndf 35 plain") << ndf << 35 << QByteArray("105");
        QTest::newRow("ndf 0 marks+leading") << (ndf | Both) << 0 << QByteArray("00:00:00:00");
        QTest::newRow("ndf 0 leading") << (ndf | Leading) << 0 << QByteArray("00000000");
        QTest::newRow("ndf 0 marks") << (ndf | Marks) << 0 << QByteArray("0");
        QTest::newRow("ndf 0 plain") << ndf << 0 << QByteArray("0");
        QTest::newRow("ndf -35 marks+leading") << (ndf | Both) << -35 << QByteArray("-00:00:01:05");
        QTest::newRow("ndf -35 leading") << (ndf | Leading) << -35 << QByteArray("-00000105");
        QTest::newRow("ndf -35 marks") << (ndf | Marks) << -35 << QByteArray("-1:05");
        QTest::newRow("ndf -35 plain") << ndf << -35 << QByteArray("-105");
        QTest::newRow("ndf 5 marks") << (ndf | Marks) << 5 << QByteArray("5");
        QTest::newRow("ndf 5 plain") << ndf << 5 << QByteArray("5");
        QTest::newRow("ndf -5 plain") << ndf << -5 << QByteArray("-5");
        QTest::newRow("ndf 10 s marks") << (ndf | Marks) << 300 << QByteArray("10:00");
        QTest::newRow("ndf 10 s plain") << ndf << 300 << QByteArray("1000");
        QTest::newRow("ndf 1 min marks") << (ndf | Marks) << 1800 << QByteArray("1:00:00");
        QTest::newRow("ndf 1 min plain") << ndf << 1800 << QByteArray("10000");
        QTest::newRow("ndf 1 h marks+leading") << (ndf | Both) << 108000 << QByteArray("01:00:00:00");
        QTest::newRow("ndf 1 h marks") << (ndf | Marks) << 108000 << QByteArray("1:00:00:00");
        QTest::newRow("ndf 1 h plain") << ndf << 108000 << QByteArray("1000000");
        QTest::newRow("ndf 10 h marks") << (ndf | Marks) << 1080000 << QByteArray("10:00:00:00");
        QTest::newRow("ndf 23:59:59:29") << (ndf | Both) << 2591999 << QByteArray("23:59:59:29");
        QTest::newRow("ndf 24 h") << (ndf | Both) << 2592000 << QByteArray("24:00:00:00");

        QTest::newRow("film 100 h marks+leading") << (film | Both) << 8640000
                                                  << QByteArray("100:00:00:00");
        QTest::newRow("film 100 h leading") << (film | Leading) << 8640000
                                            << QByteArray("100000000");
        QTest::newRow("film 100 h plain") << film << 8640000 << QByteArray("100000000");
        QTest::newRow("film -100 h marks+leading") << (film | Both) << -8640000
                                                   << QByteArray("-100:00:00:00");
        QTest::newRow("film 23 frames") << (film | Both) << 23 << QByteArray("00:00:00:23");
        QTest::newRow("film 24 frames") << (film | Both) << 24 << QByteArray("00:00:01:00");
        QTest::newRow("pal 1528 marks+leading") << (pal | Both) << 1528 << QByteArray("00:01:01:03");
        QTest::newRow("pal 1528 marks") << (pal | Marks) << 1528 << QByteArray("1:01:03");
        QTest::newRow("pal 24 frames") << (pal | Both) << 24 << QByteArray("00:00:00:24");
        QTest::newRow("23.98 24 marks") << (t2398 | Marks) << 24 << QByteArray("1:00");
        QTest::newRow("23.98 24 plain") << t2398 << 24 << QByteArray("100");

        QTest::newRow("df 5 marks") << (df | Marks) << 5 << QByteArray("5");
        QTest::newRow("df 35 marks") << (df | Marks) << 35 << QByteArray("1;05");
        QTest::newRow("df 1800 marks") << (df | Marks) << 1800 << QByteArray("1:00;02");
        QTest::newRow("df 1800 leading") << (df | Leading) << 1800 << QByteArray("00010002");
        QTest::newRow("df 1800 plain") << df << 1800 << QByteArray("10002");
        QTest::newRow("df 17982 marks") << (df | Marks) << 17982 << QByteArray("10:00;00");
        QTest::newRow("df 17982 plain") << df << 17982 << QByteArray("100000");
        QTest::newRow("df -1800 marks") << (df | Marks) << -1800 << QByteArray("-1:00;02");

        // 2147483647 = 24 * 89478485 + 7, and 89478485 s = 24855 h 8 min 5 s.
        QTest::newRow("film max") << (film | Both) << INT_MAX << QByteArray("24855:08:05:07");
        QTest::newRow("film min") << (film | Both) << INT_MIN << QByteArray("-24855:08:05:08");
        QTest::newRow("23.98 max") << (t2398 | Both) << INT_MAX << QByteArray("24855:08:05:07");
        QTest::newRow("23.98 min") << (t2398 | Both) << INT_MIN << QByteArray("-24855:08:05:08");
        // 2147483647 = 30 * 71582788 + 7, and 71582788 s = 19884 h 6 min 28 s.
        QTest::newRow("ndf max") << (ndf | Both) << INT_MAX << QByteArray("19884:06:28:07");
        QTest::newRow("ndf min") << (ndf | Both) << INT_MIN << QByteArray("-19884:06:28:08");
        QTest::newRow("ndf min plain") << ndf << INT_MIN << QByteArray("-19884062808");
        QTest::newRow("ndf min marks") << (ndf | Marks) << INT_MIN << QByteArray("-19884:06:28:08");
        QTest::newRow("ndf min leading") << (ndf | Leading) << INT_MIN << QByteArray("-19884062808");
        // 2147483647 = 25 * 85899345 + 22, and 85899345 s = 23860 h 55 min 45 s.
        QTest::newRow("pal max") << (pal | Both) << INT_MAX << QByteArray("23860:55:45:22");
        QTest::newRow("pal min") << (pal | Both) << INT_MIN << QByteArray("-23860:55:45:23");
        // 2147483647 = 17982 * 119424 + 1279: 19904 h, then 42 s 19 f into an undropped minute.
        QTest::newRow("df max") << (df | Both) << INT_MAX << QByteArray("19904:00:42;19");
        QTest::newRow("df min") << (df | Both) << INT_MIN << QByteArray("-19904:00:42;20");
        QTest::newRow("df min plain") << df << INT_MIN << QByteArray("-19904004220");
    }

    void forms()
    {
        QFETCH(int, flags);
        QFETCH(int, frames);
        QFETCH(QByteArray, text);
        // Guard bytes show a write past the 32 the library may use.
        char buf[PELLUND_TEXT_SIZE + 16];
        memset(buf, 0x5A, sizeof buf);
        QCOMPARE(tc2String(frames, flags, buf), PELLUND_OK);
        QCOMPARE(QByteArray(buf), text);
        for (size_t i = PELLUND_TEXT_SIZE; i < sizeof buf; ++i)
            QCOMPARE(int(buf[i]), 0x5A);
        int32_t back = ~frames;
        QCOMPARE(tc2Frame(text.data(), flags & PELLUND_TYPE_MASK, &back), PELLUND_OK);
        QCOMPARE(back, frames);
    }

    // Texts as the calculator hands them over: a fixed-size buffer, NUL-padded.
    void reading_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<int>("expected");
        const int calc = PELLUND_TYPE_NDF | Both;
        const int df = PELLUND_TYPE_DF;
        const QByteArray forty9(40, '9');

        QTest::newRow("blank 05") << QByteArray(" 05") << calc << true << 5;
        QTest::newRow("blank 05 film") << QByteArray(" 05") << int(PELLUND_TYPE_FILM) << true << 5;
        QTest::newRow("blank 05 df") << QByteArray(" 05") << df << true << 5;
        // 1:23:45:67 = 5025 s and 67 frames at 30.
        QTest::newRow("blank 1234567") << QByteArray(" 1234567") << calc << true << 150817;
        // 12:34:56:78 = 45296 s and 78 frames at 30.
        QTest::newRow("12345678") << QByteArray("12345678") << calc << true << 1358958;
        QTest::newRow("12345 film") << QByteArray("12345") << int(PELLUND_TYPE_FILM) << true
                                    << 83 * 24 + 45;
        QTest::newRow("123 + 32 NULs") << QByteArray("123") + nuls(32) << calc << true << 53;
        QTest::newRow("text after a NUL") << QByteArray("123") + nuls(1) + "456" << calc << true << 53;
        QTest::newRow("32 NULs") << nuls(32) << calc << true << 0;
        QTest::newRow("empty") << QByteArray() << calc << true << 0;
        QTest::newRow("blanks only") << QByteArray("   ") << calc << true << 0;
        QTest::newRow("tab") << QByteArray("\t 7") << calc << true << 7;
        QTest::newRow("full + 21 NULs") << QByteArray("00:00:01:05") + nuls(21) << calc << true << 35;

        QTest::newRow("letters only") << QByteArray("abc") << calc << true << 0;
        QTest::newRow("letter first") << QByteArray("x105") << calc << true << 0;
        QTest::newRow("letters after digits") << QByteArray("12ab34") << calc << true << 12;
        QTest::newRow("letter after marks") << QByteArray("1:05x9") << calc << true << 35;
        QTest::newRow("inner blank") << QByteArray("1 2") << calc << true << 1;
        QTest::newRow("plus sign") << QByteArray("+5") << calc << true << 0;

        QTest::newRow("minus") << QByteArray("-35") << calc << true << -35;
        QTest::newRow("blank minus marks") << QByteArray(" -1:05") << calc << true << -35;
        QTest::newRow("minus minus") << QByteArray("--5") << calc << true << 0;
        QTest::newRow("minus inside") << QByteArray("-5-3") << calc << true << -5;
        QTest::newRow("minus trailing") << QByteArray("5-") << calc << true << 5;
        QTest::newRow("three minus") << QByteArray("---") << calc << true << 0;
        QTest::newRow("minus blank") << QByteArray("- 5") << calc << true << 0;

        QTest::newRow("40 nines") << forty9 << calc << true << INT_MAX;
        QTest::newRow("minus 40 nines") << "-" + forty9 << calc << true << INT_MIN;
        QTest::newRow("40 nines hours") << forty9 + ":00:00:00" << calc << true << INT_MAX;
        QTest::newRow("40 nines frames") << "00:00:00:" + forty9 << calc << true << INT_MAX;
        QTest::newRow("40 nines df") << forty9 << df << true << INT_MAX;
        QTest::newRow("40 digits worth 5") << QByteArray(39, '0') + "5" << calc << true << 5;
        QTest::newRow("99999 hours") << QByteArray("99999:00:00:00") << calc << true << INT_MAX;
        QTest::newRow("minus 99999 hours") << QByteArray("-99999:00:00:00") << calc << true
                                           << INT_MIN;
        QTest::newRow("int max") << QByteArray("19884:06:28:07") << calc << true << INT_MAX;
        QTest::newRow("int max + 1") << QByteArray("19884:06:28:08") << calc << true << INT_MAX;
        QTest::newRow("int min") << QByteArray("-19884:06:28:08") << calc << true << INT_MIN;
        QTest::newRow("int min - 1") << QByteArray("-19884:06:28:09") << calc << true << INT_MIN;

        QTest::newRow("five groups") << QByteArray("1:2:3:4:5") << calc << false << 0;
        QTest::newRow("five groups, last empty") << QByteArray("1:2:3:4:") << calc << false << 0;
        QTest::newRow("four marks alone") << QByteArray("::::") << calc << false << 0;
        QTest::newRow("five zero groups") << QByteArray("0:0:0:0:0") << calc << false << 0;
        QTest::newRow("five groups df") << QByteArray("00:01:00:00;00") << df << false << 0;
        QTest::newRow("three marks alone") << QByteArray(":::") << calc << true << 0;
        QTest::newRow("empty hours") << QByteArray(":05") << calc << true << 5;
        QTest::newRow("empty frames") << QByteArray("1:") << calc << true << 30;
        QTest::newRow("two empty groups") << QByteArray("1::") << calc << true << 1800;
        QTest::newRow("every mark") << QByteArray("1.2,3;4") << calc << true
                                    << (3600 + 120 + 3) * 30 + 4;
        QTest::newRow("short groups") << QByteArray("1:2:3:4") << calc << true
                                      << (3600 + 120 + 3) * 30 + 4;
        QTest::newRow("100 hours") << QByteArray("100:00:00:00") << int(PELLUND_TYPE_FILM) << true
                                   << 100 * 3600 * 24;

        QTest::newRow("frames carry") << QByteArray("00:00:00:40") << calc << true << 40;
        QTest::newRow("frames carry film") << QByteArray("00:00:01:40") << int(PELLUND_TYPE_FILM)
                                           << true << 64;
        QTest::newRow("all fields carry") << QByteArray("1:99:99:99") << calc << true
                                          << (3600 + 99 * 60 + 99) * 30 + 99;

        QTest::newRow("df ;00 skipped") << QByteArray("00:01:00;00") << df << true << 1800;
        QTest::newRow("df ;01 skipped") << QByteArray("00:01:00;01") << df << true << 1800;
        QTest::newRow("df ;02") << QByteArray("00:01:00;02") << df << true << 1800;
        QTest::newRow("df skipped plain") << QByteArray("10000") << df << true << 1800;
        QTest::newRow("df skipped marks") << QByteArray("1:00;01") << df << true << 1800;
        QTest::newRow("df skipped colons") << QByteArray("00:01:00:00") << df << true << 1800;
        QTest::newRow("df skipped negative") << QByteArray("-00:01:00;00") << df << true << -1800;
        QTest::newRow("df carry into skipped") << QByteArray("00:00:59;30") << df << true << 1800;
        QTest::newRow("df ;00 tenth minute") << QByteArray("00:10:00;00") << df << true << 17982;
        QTest::newRow("df ;01 tenth minute") << QByteArray("00:10:00;01") << df << true << 17983;
        QTest::newRow("df ;00 hour") << QByteArray("01:00:00;00") << df << true << 107892;
        QTest::newRow("df ;00 after hour") << QByteArray("01:01:00;00") << df << true << 109692;
        QTest::newRow("df frames carry") << QByteArray("00:00:00;40") << df << true << 40;
        QTest::newRow("df 99999 hours") << QByteArray("99999:00:00;00") << df << true << INT_MAX;

        QTest::newRow("type 0") << QByteArray(" 05") << 0 << false << 0;
        QTest::newRow("type 0 options") << QByteArray(" 05") << Both << false << 0;
        QTest::newRow("type 3") << QByteArray("00:00:01:05") << 3 << false << 0;
        QTest::newRow("type 16") << QByteArray("00:00:01:05") << 16 << false << 0;
        QTest::newRow("type 255") << QByteArray("00:00:01:05") << 255 << false << 0;
    }

    void reading()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, flags);
        QFETCH(bool, readable);
        QFETCH(int, expected);
        // Option bits never change a reading.
        for (int32_t options : optionSets) {
            const int32_t f = (flags & PELLUND_TYPE_MASK) | options;
            QByteArray buffer = text;
            const int32_t untouched = 4242;
            int32_t frames = untouched;
            const int32_t result = tc2Frame(buffer.data(), f, &frames);
            if (readable) {
                QCOMPARE(result, PELLUND_OK);
                QCOMPARE(frames, expected);
            } else {
                QVERIFY2(result < 0, qPrintable(QString::number(result)));
                QCOMPARE(frames, untouched);
            }
            QCOMPARE(buffer, text);
        }
    }
};

QTEST_GUILESS_MAIN(tst_Pellund)
#include "tst_pellund.moc"
