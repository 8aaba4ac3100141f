/* Reading time code text and real times into frame counts, exactly or not at all. */
#include "pellund_rates.h"

/* A field past every count allowed; fields are read no further, so the
 * arithmetic on them cannot overflow 64 bits even at 1000 labels a second. */
#define FIELD_OVER (PELLUND_RATE_MAX_FRAMES + 1)

typedef struct Fields {
    int64_t value[4]; /* frames, seconds, minutes, hours; -1 when empty */
    const char *at[4];
    int count;
} Fields;

static int is_mark(char c)
{
    return c == ':' || c == ';' || c == '.' || c == ',';
}

static int is_digit(char c)
{
    return c >= '0' && c <= '9';
}

static int frame_digits(const PellundRate *r)
{
    return r->labels > 100 ? 3 : 2;
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

static void put_field(Fields *f, const char *from, const char *to)
{
    f->at[f->count] = from;
    f->value[f->count++] = field_value(from, to);
}

/* Splits [s, end) at the marks, frames first. Returns 0 for more than four fields. */
static int marked_fields(const char *s, const char *end, Fields *f)
{
    const char *stop = end;
    for (const char *q = end;; q--) {
        if (q == s || is_mark(q[-1])) {
            if (f->count == 4)
                return 0;
            put_field(f, q, stop);
            if (q == s)
                return 1;
            stop = q - 1;
        }
    }
}

static void unmarked_fields(const char *s, const char *end, int frame_width, Fields *f)
{
    const char *stop = end;
    for (int k = 0; k < 3 && (stop > s || k == 0); k++) {
        const int width = k == 0 ? frame_width : 2;
        const char *from = stop - s < width ? s : stop - width;
        put_field(f, from, stop);
        stop = from;
    }
    if (stop > s)
        put_field(f, s, stop);
}

/* Splits the text into fields; 0 for a byte that is neither digit nor mark, or five fields. */
static int split(const char *s, const char *end, const PellundRate *r, Fields *f)
{
    int marked = 0;
    for (const char *q = s; q < end; q++) {
        if (is_mark(*q))
            marked = 1;
        else if (!is_digit(*q))
            return 0;
    }
    f->count = 0;
    if (!marked) {
        unmarked_fields(s, end, frame_digits(r), f);
        return 1;
    }
    return marked_fields(s, end, f);
}

static int64_t field_top(int k, const PellundRate *r)
{
    return k == PELLUND_FIELD_FRAMES ? r->labels : k == PELLUND_FIELD_HOURS ? FIELD_OVER : 60;
}

/* Checks the fields from the left and fills the missing ones with 0; returns the first fault. */
static int check_fields(Fields *f, const PellundRate *r, int strict, int *bad)
{
    for (int k = f->count - 1; k >= 0; k--) {
        const int64_t v = f->value[k];
        *bad = k;
        if (v == FIELD_OVER)
            return PELLUND_ERANGE;
        if (strict && (v < 0 || v >= field_top(k, r)))
            return PELLUND_EFIELD;
        if (v < 0)
            f->value[k] = 0;
    }
    for (int k = f->count; k < 4; k++)
        f->value[k] = 0;
    return PELLUND_OK;
}

static int64_t frame_of_fields(const int64_t f[4], const PellundRate *r)
{
    int64_t secs = (f[3] * 60 + f[2]) * 60 + f[1] + f[0] / r->labels;
    int64_t ff = f[0] % r->labels;
    if (!r->drop)
        return secs * r->labels + ff;
    const int64_t minutes = secs / 60;
    /* A label the standard skips stands for that minute's first real frame. */
    if (secs % 60 == 0 && ff < r->drop && minutes % 10 != 0)
        ff = r->drop;
    return secs * r->labels + ff - r->drop * (minutes - minutes / 10);
}

static void report(PellundTcFault *fault, const char *text, const Fields *f, int k)
{
    if (!fault)
        return;
    fault->field = k;
    fault->offset = k < 0 ? 0 : (size_t)(f->at[k] - text);
    fault->value = k < 0 ? -1 : f->value[k];
}

int pellund_tc_read(const char *text, size_t length, const PellundRate *r, int32_t options,
                    int64_t *frames, PellundTcFault *fault)
{
    const char *s = text, *end = text + length;
    const int negative = s < end && *s == '-';
    Fields f;
    if (!split(s + negative, end, r, &f))
        return PELLUND_EUNREADABLE;
    int bad = -1;
    int status = check_fields(&f, r, (options & PELLUND_STRICT) != 0, &bad);
    if (status == PELLUND_EFIELD) {
        report(fault, text, &f, bad);
        return status;
    }
    int64_t v = PELLUND_RATE_MAX_FRAMES;
    if (status == PELLUND_OK && (v = frame_of_fields(f.value, r)) > PELLUND_RATE_MAX_FRAMES) {
        v = PELLUND_RATE_MAX_FRAMES;
        status = PELLUND_ERANGE;
        bad = -1;
    }
    if (status != PELLUND_OK)
        report(fault, text, &f, bad);
    *frames = negative ? -v : v;
    return status;
}

int pellund_tc_frames(const char *text, size_t length, const PellundRate *r, int64_t *frames)
{
    return pellund_tc_read(text, length, r, 0, frames, NULL);
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
