/* Pellund rates: the one implementation behind every time code conversion. */
#include "pellund_engine.h"
#include "pellund_rates.h"

#include <string.h>

static const PellundRate rates[] = {
    {"23.976", 24000, 1001, 24, 0},
    {"24", 24, 1, 24, 0},
    {"25", 25, 1, 25, 0},
    {"29.97", 30000, 1001, 30, 0},
    {"29.97df", 30000, 1001, 30, 2},
    {"30", 30, 1, 30, 0},
    {"47.952", 48000, 1001, 48, 0},
    {"48", 48, 1, 48, 0},
    {"50", 50, 1, 50, 0},
    {"59.94", 60000, 1001, 60, 0},
    {"59.94df", 60000, 1001, 60, 4},
    {"60", 60, 1, 60, 0},
    {"119.88df", 120000, 1001, 120, 8},
    {"120", 120, 1, 120, 0},
};
#define RATE_COUNT ((int)(sizeof rates / sizeof rates[0]))

const PellundRate *pellund_rate_find(const char *name)
{
    for (int i = 0; i < RATE_COUNT; i++)
        if (strcmp(rates[i].name, name) == 0)
            return &rates[i];
    return NULL;
}

const PellundRate *pellund_rate_at(int index)
{
    return index >= 0 && index < RATE_COUNT ? &rates[index] : NULL;
}

/* Rates editors write that the table does not hold, all non-drop. */
static const PellundRate extra_rates[] = {
    {"119.88", 120000, 1001, 120, 0},
    {"96", 96, 1, 96, 0},
    {"100", 100, 1, 100, 0},
};

static const struct {
    const char *alias, *name;
} aliases[] = {
    {"23.98", "23.976"}, {"29.97ndf", "29.97"}, {"59.94ndf", "59.94"},
    {"47.95", "47.952"}, {"119.88ndf", "119.88"},
};

#define COUNT(a) ((int)(sizeof a / sizeof a[0]))

static int same_name(const char *a, const char *b)
{
    for (; *a && *b; a++, b++) {
        const char lower = *a >= 'A' && *a <= 'Z' ? (char)(*a - 'A' + 'a') : *a;
        if (lower != *b)
            return 0;
    }
    return *a == *b;
}

/* A named rate, in any case, or NULL. */
static const PellundRate *named_rate(const char *name)
{
    for (int i = 0; i < COUNT(aliases); i++)
        if (same_name(name, aliases[i].alias))
            name = aliases[i].name;
    for (int i = 0; i < RATE_COUNT; i++)
        if (same_name(name, rates[i].name))
            return &rates[i];
    for (int i = 0; i < COUNT(extra_rates); i++)
        if (same_name(name, extra_rates[i].name))
            return &extra_rates[i];
    return NULL;
}

/* Up to nine digits and then stop; 0 for none or more. */
static int ratio_term(const char **s, char stop, int64_t *v)
{
    const char *p = *s;
    *v = 0;
    for (; *p >= '0' && *p <= '9' && p - *s < 9; p++)
        *v = *v * 10 + (*p - '0');
    if (p == *s || *p != stop)
        return 0;
    *s = p + 1;
    return 1;
}

static int64_t gcd(int64_t a, int64_t b)
{
    while (b) {
        const int64_t t = a % b;
        a = b;
        b = t;
    }
    return a;
}

/* N/D, or a whole number N, within the rates' arithmetic: 1 <= N/D < 1000 and D <= 1001
 * once reduced. */
static int ratio_rate(const char *name, PellundRate *out)
{
    int64_t n, d = 1;
    const int whole = strchr(name, '/') == NULL;
    if (whole ? !ratio_term(&name, '\0', &n)
              : !ratio_term(&name, '/', &n) || !ratio_term(&name, '\0', &d) || d == 0)
        return 0;
    const int64_t g = gcd(n, d);
    n /= g;
    d /= g;
    if (d > 1001 || n < d || n >= 1000 * d)
        return 0;
    *out = (PellundRate){NULL, (int32_t)n, (int32_t)d, (int32_t)((n + d - 1) / d), 0};
    for (int i = 0; i < RATE_COUNT; i++)
        if (!rates[i].drop && rates[i].num == n && rates[i].den == d)
            out->name = rates[i].name;
    for (int i = 0; i < COUNT(extra_rates); i++)
        if (extra_rates[i].num == n && extra_rates[i].den == d)
            out->name = extra_rates[i].name;
    return 1;
}

/* N/Ddf: the drop-frame rate of that ratio, such as 30000/1001df. */
static int drop_ratio_rate(const char *name, PellundRate *out)
{
    char ratio[24];
    const size_t n = strlen(name);
    if (n < 3 || n >= sizeof ratio || !same_name(name + n - 2, "df") || !strchr(name, '/'))
        return 0;
    memcpy(ratio, name, n - 2);
    ratio[n - 2] = '\0';
    PellundRate plain;
    if (!ratio_rate(ratio, &plain))
        return 0;
    for (int i = 0; i < RATE_COUNT; i++)
        if (rates[i].drop && rates[i].num == plain.num && rates[i].den == plain.den) {
            *out = rates[i];
            return 1;
        }
    return 0;
}

int pellund_rate_parse(const char *name, PellundRate *out)
{
    const PellundRate *r = named_rate(name);
    if (r) {
        *out = *r;
        return PELLUND_OK;
    }
    return ratio_rate(name, out) || drop_ratio_rate(name, out) ? PELLUND_OK : PELLUND_EUNREADABLE;
}

/* n/d rounded to the nearest whole number, half to even; d > 0. */
static int64_t div_nearest(int64_t n, int64_t d)
{
    const int negative = n < 0;
    const int64_t m = negative ? -n : n;
    int64_t q = m / d;
    const int64_t twice = 2 * (m % d);
    if (twice > d || (twice == d && (q & 1)))
        q++;
    return negative ? -q : q;
}

/* n * a / b, nearest, half to even, without forming n * a; a, b > 0 and
 * a * b small enough for 64 bits. Returns 0 when the result is out of range. */
static int scale_nearest(int64_t n, int64_t a, int64_t b, int64_t *out)
{
    const int64_t q = n / b, r = n % b;
    if (q > PELLUND_RATE_MAX_FRAMES / a || q < -PELLUND_RATE_MAX_FRAMES / a)
        return 0;
    /* Round the whole, not the remainder part: half to even looks at the whole's parity. */
    const int64_t t = r * a, rem = t % b;
    int64_t v = q * a + t / b;
    const int64_t twice = 2 * (rem < 0 ? -rem : rem);
    if (twice > b || (twice == b && (v & 1)))
        v += n < 0 ? -1 : 1;
    if (v > PELLUND_RATE_MAX_FRAMES || v < -PELLUND_RATE_MAX_FRAMES)
        return 0;
    *out = v;
    return 1;
}

static const char two_digits[201] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

/* Drop frame: the label number (as if every label were a frame) of count n. */
ENGINE_INLINE uint64_t drop_labels(uint64_t n, uint32_t labels, uint32_t drop)
{
    const uint64_t per_min = (uint64_t)labels * 60 - drop, per10 = 10 * per_min + drop;
    const uint64_t tens = n / per10, rest = n % per10;
    const uint64_t minutes = rest < drop ? 0 : (rest - drop) / per_min;
    return n + 9 * (uint64_t)drop * tens + drop * minutes;
}

/* Writes v with at least width digits. */
static char *put_digits(char *p, int64_t v, int width)
{
    char tmp[24];
    int n = 0;
    do {
        tmp[n++] = (char)('0' + v % 10);
        v /= 10;
    } while (v > 0 || n < width);
    while (n > 0)
        *p++ = tmp[--n];
    return p;
}

/* v < 100 as two digits. */
ENGINE_INLINE char *put_pair(char *p, uint32_t v)
{
    memcpy(p, &two_digits[2 * v], 2);
    return p + 2;
}

/* v with width digits, 2 or 3, or more when v needs them. */
ENGINE_INLINE char *put_field(char *p, uint64_t v, int width)
{
    if (width == 2 && v < 100)
        return put_pair(p, (uint32_t)v);
    if (width == 3 && v < 1000) {
        *p++ = (char)('0' + v / 100);
        return put_pair(p, (uint32_t)(v % 100));
    }
    return put_digits(p, (int64_t)v, width);
}

/* The fields of n >= 0 at labels frame labels a second; returns the end. Each
 * field's quotient comes from n itself, so that the divisions run side by side. */
ENGINE_INLINE char *put_time_code(char *p, uint64_t n, uint32_t labels, uint32_t drop,
                                  int marks)
{
    if (drop)
        n = drop_labels(n, labels, drop);
    const uint64_t secs = n / labels, minutes = n / (labels * UINT64_C(60)),
                   hours = n / (labels * UINT64_C(3600));
    p = put_field(p, hours, 2);
    if (marks) *p++ = ':';
    p = put_pair(p, (uint32_t)(minutes - hours * 60));
    if (marks) *p++ = ':';
    p = put_pair(p, (uint32_t)(secs - minutes * 60));
    if (marks) *p++ = drop ? ';' : ':';
    return put_field(p, n - secs * labels, label_digits(labels));
}

#define WRITE_AT(labels, drop) \
    case RATE_KEY(labels, drop): return put_time_code(p, n, labels, drop, marks);

/* The known rates' labels and drops as constants; any other rate takes the same
 * writer with its own values. */
static char *put_time_code_at(char *p, uint64_t n, const PellundRate *r, int marks)
{
    switch (RATE_KEY(r->labels, r->drop)) {
    KNOWN_LABELLINGS(WRITE_AT)
    default: return put_time_code(p, n, (uint32_t)r->labels, (uint32_t)r->drop, marks);
    }
}

/* From the first significant digit on, or "0" when there is none; returns the new end. */
static char *strip_leading(char *s, char *end)
{
    const char *first = s;
    while (first < end && (*first < '1' || *first > '9'))
        first++;
    if (first == end) {
        s[0] = '0';
        s[1] = '\0';
        return s + 1;
    }
    memmove(s, first, (size_t)(end - first) + 1);
    return s + (end - first);
}

static int in_range(int64_t frames)
{
    return frames <= PELLUND_RATE_MAX_FRAMES && frames >= -PELLUND_RATE_MAX_FRAMES;
}

int pellund_tc_text(int64_t frames, const PellundRate *r, int32_t options, char *text)
{
    text[0] = '\0';
    if (!in_range(frames))
        return PELLUND_ERANGE;
    char *fields = text;
    if (frames < 0)
        *fields++ = '-';
    const uint64_t n = frames < 0 ? 0 - (uint64_t)frames : (uint64_t)frames;
    char *end = put_time_code_at(fields, n, r, (options & PELLUND_MARKS) != 0);
    *end = '\0';
    if (!(options & PELLUND_LEADING))
        end = strip_leading(fields, end);
    return (int)(end - text);
}

int pellund_tc_string(int64_t frames, const PellundRate *r, int32_t options, char *text)
{
    return pellund_tc_text(frames, r, options, text) < 0 ? PELLUND_ERANGE : PELLUND_OK;
}

int pellund_feet_string(int64_t frames, int32_t per_foot, char *text)
{
    text[0] = '\0';
    if (!in_range(frames) || per_foot <= 0)
        return PELLUND_ERANGE;
    char *p = text;
    int64_t n = frames;
    if (n < 0) {
        *p++ = '-';
        n = -n;
    }
    p = put_digits(p, n / per_foot, 1);
    *p++ = '+';
    p = put_digits(p, n % per_foot, 2);
    *p = '\0';
    return PELLUND_OK;
}

int pellund_seconds_string(int64_t frames, const PellundRate *r, char *text)
{
    text[0] = '\0';
    if (!in_range(frames))
        return PELLUND_ERANGE;
    /* Within range, frames * 1001 * 1000 still fits 64 bits. */
    int64_t ms = div_nearest(frames * r->den * 1000, r->num);
    char *p = text;
    if (ms < 0) {
        *p++ = '-';
        ms = -ms;
    }
    const int64_t secs = ms / 1000;
    p = put_digits(p, secs / 3600, 2);
    *p++ = ':';
    p = put_digits(p, secs / 60 % 60, 2);
    *p++ = ':';
    p = put_digits(p, secs % 60, 2);
    *p++ = '.';
    p = put_digits(p, ms % 1000, 3);
    *p = '\0';
    return PELLUND_OK;
}

int pellund_frames_of_time(int64_t units, int64_t scale, const PellundRate *r, int64_t *frames)
{
    if (scale <= 0)
        return PELLUND_ERANGE;
    return pellund_frames_of_seconds(units / scale, units % scale, scale, r, frames);
}

int pellund_rate_convert(int64_t frames, const PellundRate *from, const PellundRate *to,
                         int64_t *out)
{
    if (!in_range(frames))
        return PELLUND_ERANGE;
    const int64_t a = (int64_t)to->num * from->den, b = (int64_t)to->den * from->num;
    return scale_nearest(frames, a, b, out) ? PELLUND_OK : PELLUND_ERANGE;
}
