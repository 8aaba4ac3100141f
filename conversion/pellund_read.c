/* Reading time code text and real times into frame counts, exactly or not at all. */
#include "pellund_engine.h"
#include "pellund_rates.h"

#include <string.h>

/* A field past every count allowed; fields are read no further, so the
 * arithmetic on them cannot overflow 64 bits even at 1000 labels a second. */
#define FIELD_OVER (PELLUND_RATE_MAX_FRAMES + 1)

/* Digits that cannot reach FIELD_OVER: a text this long needs no checking. */
#define SAFE_DIGITS 12

/* What frame_of_fields gives for a label drop frame skips, when it is refused. */
#define SKIPPED_LABEL UINT64_MAX

static int is_mark(char c)
{
    return c == ':' || c == ';' || c == '.' || c == ',';
}

static int64_t field_value(const char *from, const char *to)
{
    if (from == to)
        return -1;
    int64_t v = 0;
    for (; from < to; from++)
        if ((v = v * 10 + (*from - '0')) > PELLUND_RATE_MAX_FRAMES)
            return FIELD_OVER;
    return v;
}

/* Where field k (frames first) of count fields starts in [s, end). Digits alone split
 * from the right: frames, two for seconds, two for minutes, the rest hours. */
static const char *field_start(const char *s, const char *end, int count, int marked, int k,
                               int frame_width)
{
    if (!marked)
        return k == count - 1 ? s : end - frame_width - 2 * k;
    for (int marks = count - 1 - k; marks > 0; s++)
        if (is_mark(*s))
            marks--;
    return s;
}

static void report(PellundTcFault *fault, const char *text, const char *s, const char *end,
                   int count, int marked, int k, int frame_width, int64_t value)
{
    if (!fault)
        return;
    fault->field = k;
    fault->offset = k < 0 ? 0 : (size_t)(field_start(s, end, count, marked, k, frame_width) - text);
    fault->value = k < 0 ? -1 : value;
}

ENGINE_INLINE int64_t field_top(int k, int64_t labels)
{
    return k == PELLUND_FIELD_FRAMES ? labels : k == PELLUND_FIELD_HOURS ? FIELD_OVER : 60;
}

/* Checks the fields from the left, and makes the empty ones 0; returns the first fault,
 * its field in *bad. Exact fields are none empty nor past the limit. */
ENGINE_INLINE int check_fields(int64_t v[4], int64_t labels, int strict, int exact, int *bad)
{
    if (exact && (!strict || (v[0] < labels && v[1] < 60 && v[2] < 60)))
        return PELLUND_OK;
    for (int k = 3; k >= 0; k--) {
        const int status = v[k] == FIELD_OVER ? PELLUND_ERANGE
                           : strict && (v[k] < 0 || v[k] >= field_top(k, labels)) ? PELLUND_EFIELD
                                                                                  : PELLUND_OK;
        if (status != PELLUND_OK) {
            *bad = k;
            return status;
        }
        if (v[k] < 0)
            v[k] = 0;
    }
    return PELLUND_OK;
}

/* Each field past its labels is carried into the next; fields within them only cost the
 * comparisons. */
ENGINE_INLINE uint64_t frame_of_fields(const int64_t f[4], uint32_t labels, uint32_t drop,
                                       int refuse_skipped)
{
    uint64_t ff = (uint64_t)f[0], ss = (uint64_t)f[1], mm = (uint64_t)f[2];
    if (ff >= labels) {
        ss += ff / labels;
        ff %= labels;
    }
    if (ss >= 60) {
        mm += ss / 60;
        ss %= 60;
    }
    const uint64_t minutes = (uint64_t)f[3] * 60 + mm;
    if (!drop)
        return (minutes * 60 + ss) * labels + ff;
    /* A label the standard skips stands for that minute's first real frame, or is refused. */
    if (ss == 0 && ff < drop && minutes % 10 != 0) {
        if (refuse_skipped)
            return SKIPPED_LABEL;
        ff = drop;
    }
    return (minutes * 60 + ss) * labels + ff - drop * (minutes - minutes / 10);
}

/* The count of the fields f of [s, end) in text, stored in *frames with text's sign. */
ENGINE_INLINE int count_fields(const char *text, const char *s, const char *end, int64_t f[4],
                               int count, int marked, uint32_t labels, uint32_t drop,
                               int strict, int exact, int64_t *frames, PellundTcFault *fault)
{
    int bad = -1;
    int64_t v = PELLUND_RATE_MAX_FRAMES;
    int status = check_fields(f, labels, strict, exact, &bad);
    if (status == PELLUND_OK) {
        const uint64_t n = frame_of_fields(f, labels, drop, strict & PELLUND_NO_SKIPPED);
        if (n <= PELLUND_RATE_MAX_FRAMES) {
            v = (int64_t)n;
        } else if (n == SKIPPED_LABEL) {
            status = PELLUND_ESKIPPED;
            bad = PELLUND_FIELD_FRAMES;
        } else {
            status = PELLUND_ERANGE;
        }
    }
    if (status != PELLUND_OK) {
        report(fault, text, s, end, count, marked, bad, label_digits(labels), bad < 0 ? -1 : f[bad]);
        if (status == PELLUND_EFIELD || status == PELLUND_ESKIPPED)
            return status;
    }
    *frames = s > text ? -v : v;
    return status;
}

/* Each field read by its place: digits alone, as many fields as there are digits for,
 * and fields that may be too wide or are empty. */
static int count_placed(const char *text, const char *s, const char *end, int count,
                        int marked, uint32_t labels, uint32_t drop, int strict,
                        int64_t *frames, PellundTcFault *fault)
{
    const int frame_width = label_digits(labels);
    const ptrdiff_t n = end - s;
    if (!marked)
        count = 1 + (n > frame_width) + (n > frame_width + 2) + (n > frame_width + 4);
    int64_t f[4] = {0, 0, 0, 0};
    const char *stop = end;
    for (int k = 0; k < count; k++) {
        const char *from = field_start(s, end, count, marked, k, frame_width);
        f[k] = field_value(from, stop);
        stop = from - marked;
    }
    return count_fields(text, s, end, f, count, marked, labels, drop, strict, 0, frames, fault);
}

typedef struct Split {
    uint64_t v[4]; /* the fields added up, frames first; wrapped when too wide */
    const char *end;
    int count;
    int empty; /* a field has no digits */
} Split;

/* One pass splits [s, end) at its marks and adds up each field; a terminated text ends at
 * its first byte that is neither digit nor mark. Returns 0 for any other byte. */
ENGINE_INLINE int split(const char *s, const char *end, int terminated, Split *t)
{
    const char *p = s;
    *t = (Split){{0, 0, 0, 0}, end, 0, 0};
    for (;;) {
        const char *from = p;
        uint64_t v = 0;
        unsigned d;
        while ((terminated || p < end) && (d = (unsigned)(unsigned char)*p - '0') <= 9) {
            v = v * 10 + d;
            p++;
        }
        t->v[3] = t->v[2];
        t->v[2] = t->v[1];
        t->v[1] = t->v[0];
        t->v[0] = v;
        t->empty |= p == from;
        t->count++;
        if ((!terminated && p == end) || (terminated && !is_mark(*p))) {
            t->end = p;
            return 1;
        }
        if (!is_mark(*p))
            return 0;
        p++;
    }
}

/* Eight bytes from p, the first in the lowest byte on any machine. */
ENGINE_INLINE uint64_t load8(const char *p)
{
    uint64_t w;
    memcpy(&w, p, sizeof w);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    w = __builtin_bswap64(w);
#endif
    return w;
}

#define EACH_BYTE(b) (UINT64_C(0x0101010101010101) * (b))

/* Whether each byte of w that mask keeps is a digit: its high half 3 both before and after
 * adding 6. A byte the mask leaves out carries into its neighbour only when it is past 0xF9,
 * so never when it is a mark. */
ENGINE_INLINE int digits_where(uint64_t w, uint64_t mask)
{
    const uint64_t high = EACH_BYTE(0xF0) & mask, threes = EACH_BYTE(0x30) & mask;
    return (w & high) == threes && ((w + EACH_BYTE(0x06)) & high) == threes;
}

ENGINE_INLINE uint64_t two_digits(const char *p)
{
    return (uint64_t)(p[0] - '0') * 10 + (uint64_t)(p[1] - '0');
}

/* The writer's own shape, HH:MM:SS:FF with every field at full width, checked eight bytes
 * at a time: what a split of it byte by byte gives, in a third of the work. */
ENGINE_INLINE int split_full_width(const char *s, const char *end, int frame_width, Split *t)
{
    /* Digit bytes of the first eight (HH:MM:SS) and of the last eight (M:SS:FFF or MM:SS:FF). */
    const uint64_t head = UINT64_C(0xFFFF00FFFF00FFFF);
    const uint64_t tail = frame_width == 3 ? UINT64_C(0xFFFFFF00FFFF00FF) : head;
    if (end - s != 9 + frame_width || !is_mark(s[2]) || !is_mark(s[5]) || !is_mark(s[8])
        || !digits_where(load8(s), head) || !digits_where(load8(end - 8), tail))
        return 0;
    const uint64_t ff = two_digits(s + 9);
    *t = (Split){{frame_width == 3 ? ff * 10 + (uint64_t)(s[11] - '0') : ff, two_digits(s + 6),
                  two_digits(s + 3), two_digits(s)}, end, 4, 0};
    return 1;
}

ENGINE_INLINE int read_at(const char *text, size_t length, int terminated, uint32_t labels,
                          uint32_t drop, int strict, int64_t *frames, PellundTcFault *fault)
{
    const char *s = text + ((terminated || length > 0) && *text == '-');
    Split t;
    const int full_width =
        !terminated && split_full_width(s, text + length, label_digits(labels), &t);
    if (!full_width && (!split(s, text + length, terminated, &t) || t.count > 4))
        return PELLUND_EUNREADABLE;
    if (t.count == 1 || t.end - s > SAFE_DIGITS || (t.empty && strict))
        return count_placed(text, s, t.end, t.count, t.count > 1, labels, drop, strict, frames,
                            fault);
    int64_t f[4] = {(int64_t)t.v[0], (int64_t)t.v[1], (int64_t)t.v[2], (int64_t)t.v[3]};
    return count_fields(text, s, t.end, f, t.count, 1, labels, drop, strict, 1, frames, fault);
}

/* The reader inlined at the known rates' labels, whose divisions are all it has; any other
 * rate takes the same reader with its own values. */
#define READ_AT(labels) \
    case labels: return read_at(text, length, terminated, labels, (uint32_t)r->drop, strict, \
                                frames, fault);

ENGINE_INLINE int read_each_rate(const char *text, size_t length, int terminated,
                                 const PellundRate *r, int strict, int64_t *frames,
                                 PellundTcFault *fault)
{
    switch (r->labels) {
    KNOWN_LABELS(READ_AT)
    default:
        return read_at(text, length, terminated, (uint32_t)r->labels, (uint32_t)r->drop, strict,
                       frames, fault);
    }
}

/* Called directly by both library calls, rather than one through the other's PLT entry. */
ENGINE_NOINLINE int read_text(const char *text, size_t length, const PellundRate *r, int strict,
                              int64_t *frames, PellundTcFault *fault)
{
    return read_each_rate(text, length, 0, r, strict, frames, fault);
}

int pellund_tc_read(const char *text, size_t length, const PellundRate *r, int32_t options,
                    int64_t *frames, PellundTcFault *fault)
{
    return read_text(text, length, r, options & (PELLUND_STRICT | PELLUND_NO_SKIPPED), frames,
                     fault);
}

int pellund_tc_read_terminated(const char *text, const PellundRate *r, int64_t *frames)
{
    return read_each_rate(text, 0, 1, r, 0, frames, NULL);
}

int pellund_tc_frames(const char *text, size_t length, const PellundRate *r, int64_t *frames)
{
    return read_text(text, length, r, 0, frames, NULL);
}

int pellund_frames_of_seconds(int64_t seconds, int64_t units, int64_t scale,
                              const PellundRate *r, int64_t *frames)
{
    if (scale <= 0 || scale > 1000000000 || units >= scale || units <= -scale
        || (seconds < 0 && units > 0) || (seconds > 0 && units < 0))
        return PELLUND_ERANGE;
    const int negative = seconds < 0 || units < 0;
    const int64_t s = negative ? -seconds : seconds, u = negative ? -units : units;
    /* Every rate has at least a frame a second. */
    if (s > PELLUND_RATE_MAX_FRAMES)
        return PELLUND_ERANGE;
    /* s * num stays below 10^18 and the fraction's terms below 10^16. */
    const int64_t whole = s * r->num, d = scale * r->den;
    const int64_t n = whole % r->den * scale + u * r->num;
    int64_t v = whole / r->den + n / d;
    const int64_t twice = 2 * (n % d);
    if (twice > d || (twice == d && (v & 1)))
        v++;
    if (v > PELLUND_RATE_MAX_FRAMES)
        return PELLUND_ERANGE;
    *frames = negative ? -v : v;
    return PELLUND_OK;
}
