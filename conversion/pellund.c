/* Pellund time code conversion: frame counts to time code text and back. */
#include "pellund.h"

#include <string.h>

#define SECONDS_PER_DAY 86400
/* Each group read from text is capped here: far beyond any 32-bit count,
 * small enough that the arithmetic below cannot overflow 64 bits. */
#define GROUP_CAP 1000000000000LL

typedef struct {
    int64_t labels;  /* frame labels per second: 24, 25 or 30 */
    int drop;        /* drop-frame numbering */
} rate;

static int rate_of(int32_t flags, rate *r)
{
    switch (flags & PELLUND_TYPE_MASK) {
    case PELLUND_TYPE_FILM:
    case PELLUND_TYPE_23_98: r->labels = 24; r->drop = 0; return 1;
    case PELLUND_TYPE_NDF:   r->labels = 30; r->drop = 0; return 1;
    case PELLUND_TYPE_DF:    r->labels = 30; r->drop = 1; return 1;
    case PELLUND_TYPE_PAL:   r->labels = 25; r->drop = 0; return 1;
    default: return 0;
    }
}

int32_t tc2Maximum(int32_t flags)
{
    rate r;
    if (!rate_of(flags, &r))
        return 0;
    /* Drop frame skips two labels in 9 of every 10 minutes. */
    return (int32_t)(r.labels * SECONDS_PER_DAY - (r.drop ? 2 * 9 * 144 : 0));
}

/* Drop frame: the labelled frame number (as if at 30 a second) of a count. */
static int64_t df_labels(int64_t n)
{
    const int64_t per10 = 17982, perMin = 1798;
    int64_t tens = n / per10, rest = n % per10;
    return n + 18 * tens + 2 * ((rest - 2) / perMin);
}

static char *put2(char *p, int64_t v)
{
    *p++ = (char)('0' + v / 10);
    *p++ = (char)('0' + v % 10);
    return p;
}

/* Writes the digits of hours, at least two. */
static char *put_hours(char *p, int64_t h)
{
    char tmp[24];
    int n = 0;
    do {
        tmp[n++] = (char)('0' + h % 10);
        h /= 10;
    } while (h > 0);
    if (n < 2)
        tmp[n++] = '0';
    while (n > 0)
        *p++ = tmp[--n];
    return p;
}

static void strip_leading(char *s)
{
    char *first = s;
    while (*first && (*first < '1' || *first > '9'))
        first++;
    if (!*first) {
        strcpy(s, "0");
        return;
    }
    memmove(s, first, strlen(first) + 1);
}

int32_t tc2String(int32_t frames, int32_t flags, char *text)
{
    rate r;
    if (!rate_of(flags, &r)) {
        text[0] = '\0';
        return PELLUND_EUNSUPPORTED;
    }
    int64_t n = frames;
    char *p = text;
    if (n < 0) {
        *p++ = '-';
        n = -n;
    }
    if (r.drop)
        n = df_labels(n);
    const int64_t ff = n % r.labels, secs = n / r.labels;
    const int marks = (flags & PELLUND_MARKS) != 0;
    char *fields = p;
    p = put_hours(p, secs / 3600);
    if (marks) *p++ = ':';
    p = put2(p, secs / 60 % 60);
    if (marks) *p++ = ':';
    p = put2(p, secs % 60);
    if (marks) *p++ = r.drop ? ';' : ':';
    p = put2(p, ff);
    *p = '\0';
    if (!(flags & PELLUND_LEADING))
        strip_leading(fields);
    return PELLUND_OK;
}

static int is_mark(char c)
{
    return c == ':' || c == ';' || c == '.' || c == ',';
}

static int is_digit(char c)
{
    return c >= '0' && c <= '9';
}

static int64_t capped_digits(const char *from, const char *to)
{
    int64_t v = 0;
    for (; from < to; from++) {
        v = v * 10 + (*from - '0');
        if (v > GROUP_CAP)
            v = GROUP_CAP;
    }
    return v;
}

/* Splits the digits and marks in [s, end) into fields, frames first.
 * Returns 0 when there are more than four groups. */
static int read_fields(const char *s, const char *end, int64_t field[4])
{
    int marked = 0;
    for (const char *q = s; q < end; q++)
        marked |= is_mark(*q);
    field[0] = field[1] = field[2] = field[3] = 0;
    int k = 0;
    const char *stop = end;
    if (marked) {
        for (const char *q = end; ; q--) {
            if (q == s || is_mark(q[-1])) {
                if (k == 4)
                    return 0;
                field[k++] = capped_digits(q, stop);
                if (q == s)
                    break;
                stop = q - 1;
            }
        }
        return 1;
    }
    for (; k < 3 && stop > s; k++) {
        const char *from = stop - 2 < s ? s : stop - 2;
        field[k] = capped_digits(from, stop);
        stop = from;
    }
    field[3] = capped_digits(s, stop);
    return 1;
}

static int64_t frame_of_fields(const int64_t f[4], const rate *r)
{
    int64_t secs = (f[3] * 60 + f[2]) * 60 + f[1] + f[0] / r->labels;
    int64_t ff = f[0] % r->labels;
    if (!r->drop)
        return secs * r->labels + ff;
    int64_t minutes = secs / 60;
    /* A label the standard skips stands for that minute's first real frame. */
    if (secs % 60 == 0 && ff < 2 && minutes % 10 != 0)
        ff = 2;
    return secs * 30 + ff - 2 * (minutes - minutes / 10);
}

int32_t tc2Frame(char *text, int32_t flags, int32_t *frames)
{
    rate r;
    if (!rate_of(flags, &r))
        return PELLUND_EUNSUPPORTED;
    const char *s = text;
    while (*s == ' ' || *s == '\t')
        s++;
    int negative = *s == '-';
    if (negative)
        s++;
    const char *end = s;
    while (is_digit(*end) || is_mark(*end))
        end++;
    int64_t field[4];
    if (!read_fields(s, end, field))
        return PELLUND_EUNREADABLE;
    int64_t v = frame_of_fields(field, &r);
    if (negative)
        v = -v;
    if (v > INT32_MAX) v = INT32_MAX;
    if (v < INT32_MIN) v = INT32_MIN;
    *frames = (int32_t)v;
    return PELLUND_OK;
}
