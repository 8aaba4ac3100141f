// The reader's fields past their labels, carried into the next, and its long texts, at
// every rate against libavutil reading the same label written out in full; and the
// writer's shape against the same text read the general way.
#include "pellund_rates.h"

extern "C" {
#include <libavutil/log.h>
#include <libavutil/timecode.h>
}

#include <QtTest>

namespace {

// libavutil's count for the label hh:mm:ss ff, whose fields are within their labels; a
// label drop frame skips is that minute's first real frame.
int64_t avutilCount(const PellundRate *r, int64_t hh, int64_t mm, int64_t ss, int64_t ff)
{
    if (r->drop && ss == 0 && mm % 10 != 0 && ff < r->drop)
        ff = r->drop;
    const QByteArray text = QString::asprintf(r->labels > 100 ? "%02lld:%02lld:%02lld%c%03lld" : "%02lld:%02lld:%02lld%c%02lld",
                                              (long long)hh, (long long)mm, (long long)ss, r->drop ? ';' : ':', (long long)ff).toLatin1();
    AVTimecode av;
    if (av_timecode_init_from_string(&av, AVRational{r->num, r->den}, text.constData(), nullptr) != 0)
        qFatal("libavutil refuses %s", text.constData());
    return av.start;
}

int64_t lenient(const QByteArray &text, const PellundRate *r)
{
    int64_t frames = -1;
    if (pellund_tc_frames(text.constData(), size_t(text.size()), r, &frames) != PELLUND_OK)
        return -1;
    return frames;
}

void addRateRows()
{
    QTest::addColumn<int>("index");
    for (int i = 0; const PellundRate *r = pellund_rate_at(i); i++)
        QTest::newRow(r->name) << i;
}

} // namespace

class tst_Reader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { av_log_set_level(AV_LOG_QUIET); }

    // Frames past the second carry into the seconds, and seconds into the minutes, even
    // where the carry lands on a label drop frame skips.
    void carriedFields_data() { addRateRows(); }
    void carriedFields()
    {
        QFETCH(int, index);
        const PellundRate *r = pellund_rate_at(index);
        const int64_t labels = r->labels;
        for (int64_t hh : {0, 1, 23})
            for (int64_t mm : {0, 1, 9, 10, 59, 60, 99, 119})
                for (int64_t ss : {0, 1, 59, 60, 61, 119, 599})
                    for (int64_t ff : {int64_t(0), int64_t(1), labels - 1, labels, labels + 1, 2 * labels + 1, 59 * labels}) {
                        const QByteArray text = QString::asprintf("%lld:%lld:%lld%c%lld", (long long)hh, (long long)mm, (long long)ss,
                                                                  r->drop ? ';' : ':', (long long)ff).toLatin1();
                        const int64_t s = ss + ff / labels, m = mm + s / 60;
                        const int64_t expected = avutilCount(r, hh + m / 60, m % 60, s % 60, ff % labels);
                        if (lenient(text, r) != expected)
                            QFAIL(qPrintable(text + " reads as " + QByteArray::number(qint64(lenient(text, r)))
                                             + ", not " + QByteArray::number(qint64(expected))));
                    }
    }

    // Leading zeros make a text of any length; the count stays that of the short text,
    // strict or not, and a field of thirteen digits is still read exactly.
    void paddedFields_data() { addRateRows(); }
    void paddedFields()
    {
        QFETCH(int, index);
        const PellundRate *r = pellund_rate_at(index);
        const int64_t expected = avutilCount(r, 1, 2, 3, r->labels - 1);
        const QByteArray ff = QByteArray::number(r->labels - 1);
        for (int pad = 0; pad <= 13; pad++) {
            const QByteArray zeros(pad, '0');
            for (const QByteArray &text : {zeros + "01:02:03:" + ff, "01:02:03:" + zeros + ff, "01:" + zeros + "02:03:" + ff,
                                           "-" + zeros + "01:02:03:" + ff}) {
                const int64_t sign = text.startsWith('-') ? -1 : 1;
                int64_t strict = 0;
                QCOMPARE(pellund_tc_read(text.constData(), size_t(text.size()), r, PELLUND_STRICT, &strict, nullptr), PELLUND_OK);
                QCOMPARE(strict, sign * expected);
                QCOMPARE(lenient(text, r), sign * expected);
            }
        }
    }

    // A text of the writer's shape, HH:MM:SS:FF at full width, is read a faster way: with any
    // byte at any place it reads as the same text behind a leading zero, which is not.
    void fullWidthTexts_data() { addRateRows(); }
    void fullWidthTexts()
    {
        QFETCH(int, index);
        const PellundRate *r = pellund_rate_at(index);
        const QByteArray written = "12:34:56" + QByteArray(1, r->drop ? ';' : ':') + QByteArray::number(r->labels - 1);
        for (int i = 0; i < written.size(); i++)
            for (int byte = 0; byte < 256; byte++) {
                QByteArray text = written;
                text[i] = char(byte);
                if (text.startsWith('-'))
                    continue;
                const QByteArray padded = "0" + text;
                for (int32_t options : {0, PELLUND_STRICT}) {
                    int64_t ours = -1, theirs = -1;
                    PellundTcFault fault{0, -9, 0}, paddedFault{0, -9, 0};
                    const int status = pellund_tc_read(text.constData(), size_t(text.size()), r, options, &ours, &fault);
                    QCOMPARE(status, pellund_tc_read(padded.constData(), size_t(padded.size()), r, options, &theirs, &paddedFault));
                    QCOMPARE(ours, theirs);
                    QCOMPARE(fault.field, paddedFault.field);
                    QCOMPARE(fault.value, paddedFault.value);
                    // The first field, or the whole count, starts both texts.
                    QCOMPARE(paddedFault.offset, fault.offset == 0 ? 0 : fault.offset + 1);
                }
            }
    }
};

QTEST_APPLESS_MAIN(tst_Reader)
#include "tst_reader.moc"
