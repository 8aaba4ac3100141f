/* Counts, time codes, feet+frames and real times: each read in full or an error. */
#include "literal.h"
#include "byte_kind.h"
#include "options.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

static const char *const field_names[] = {"frames", "seconds", "minutes", "hours"};

int reader_fail(Reader *r, const char *where, const char *message)
{
    if (!r->error->message) {
        r->error->message = message;
        r->error->column = (size_t)(where - r->text) + 1;
    }
    return 0;
}

static int fail_with(Reader *r, const char *where, const char *format, ...)
{
    if (r->error->message)
        return 0;
    va_list args;
    va_start(args, format);
    vsnprintf(r->error->text, sizeof r->error->text, format, args);
    va_end(args);
    return reader_fail(r, where, r->error->text);
}

static int error_at(ExprError *e, size_t column, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vsnprintf(e->text, sizeof e->text, format, args);
    va_end(args);
    e->message = e->text;
    e->column = column;
    return 0;
}

static int is_digit(char c)
{
    return byte_kind(c) == BYTE_DIGIT;
}

static int is_tc_char(char c)
{
    return (byte_kind(c) & (BYTE_DIGIT | BYTE_MARK)) != 0;
}

/* Digits only, as a count; 0 when the count is too large. */
static int read_count(const char *s, const char *end, int64_t *v)
{
    int64_t n = 0;
    for (; s < end; s++) {
        n = n * 10 + (*s - '0');
        if (n > PELLUND_RATE_MAX_FRAMES)
            return 0;
    }
    *v = n;
    return 1;
}

/* The whole seconds of [[H:]M:]S; minutes and seconds under a larger field are below 60. */
static int whole_seconds(Reader *r, const char *s, const char *dot, int64_t *whole)
{
    int colons = 0;
    for (const char *q = s; q < dot; q++)
        if (*q == ':')
            colons++;
        else if (!is_digit(*q))
            return reader_fail(r, q, "unreadable real time");
    if (colons > 2)
        return reader_fail(r, s, "unreadable real time: at most hours, minutes and seconds");
    const char *p = s;
    *whole = 0;
    for (int k = colons + 1; k >= 1; k--, p++) {
        const char *from = p;
        while (p < dot && *p != ':')
            p++;
        int64_t n;
        if (p == from)
            return fail_with(r, from, "empty %s field", field_names[k]);
        if (!read_count(from, p, &n))
            return reader_fail(r, from, "real time out of range");
        if ((*whole = *whole * 60 + n) > PELLUND_RATE_MAX_FRAMES)
            return reader_fail(r, s, "real time out of range");
        if (k <= colons && n >= 60)
            return fail_with(r, from, "%s %lld past 59", field_names[k], (long long)n);
    }
    return 1;
}

/* [[H:]M:]S[.fraction] seconds, with any number of decimals. */
static int real_time(Reader *r, const char *s, const char *end, Value *v)
{
    const char *dot = memchr(s, '.', (size_t)(end - s));
    if (!dot)
        dot = end;
    int64_t whole = 0;
    /* ".5s" is half a second. */
    if ((dot > s || dot == end) && !whole_seconds(r, s, dot, &whole))
        return 0;
    const char *digits = dot < end ? dot + 1 : end, *p = digits;
    while (p < end && is_digit(*p))
        p++;
    if (dot < end && p == digits)
        return reader_fail(r, p, "unreadable real time: digits must follow '.'");
    if (p < end)
        return reader_fail(r, p, "unreadable real time: only digits after one '.'");
    const PellundRate *rate = r->context->rate;
    if (!decimal_times_ratio(whole, digits, (size_t)(p - digits), rate->num, rate->den,
                             PELLUND_RATE_MAX_FRAMES, &v->frames))
        return reader_fail(r, s, "real time out of range");
    v->plain = 0;
    return 1;
}

static int feet(Reader *r, const char *s, const char *end, int64_t ff, Value *v)
{
    const int64_t per_foot = r->context->per_foot;
    int64_t ft;
    if (ff >= per_foot)
        return reader_fail(r, end + 1,
                    per_foot == 16
                        ? "a foot of 35 mm film has 16 frames (00 to 15); to add, put blanks around +"
                        : "a foot of 16 mm film has 40 frames (00 to 39); to add, put blanks around +");
    if (!read_count(s, end, &ft) || ft > (PELLUND_RATE_MAX_FRAMES - ff) / per_foot)
        return reader_fail(r, s, "feet+frames out of range");
    v->frames = ft * per_foot + ff;
    v->plain = 0;
    return 1;
}

/* A '+' with digits directly on both sides: feet and one or two frame digits, never a sum. */
static int feet_and_frames(Reader *r, const char *s, const char *plus, int marked, Value *v)
{
    const char *frames = plus + 1, *end = frames;
    while (end < r->end && is_digit(*end))
        end++;
    if (marked)
        return reader_fail(r, plus, "to add, put blanks around + (a + between digits is feet+frames)");
    if (end - frames > 2 || (end < r->end && is_tc_char(*end)))
        return reader_fail(r, plus, "feet+frames take one or two frame digits; to add, put blanks around +");
    r->at = end;
    const int64_t ff = end - frames == 1 ? frames[0] - '0' : (frames[0] - '0') * 10 + (frames[1] - '0');
    return feet(r, s, plus, ff, v);
}

static int time_code_fault(ExprError *e, const PellundTcFault *f, const PellundRate *rate)
{
    char label[24];
    const size_t column = f->offset + 1;
    if (f->value < 0)
        return error_at(e, column, "empty %s field", field_names[f->field]);
    if (f->field != PELLUND_FIELD_FRAMES)
        return error_at(e, column, "%s %lld past 59", field_names[f->field], (long long)f->value);
    return error_at(e, column, "frames %lld past %d at %s", (long long)f->value,
                    (int)rate->labels - 1, rate_label(rate, label));
}

/* Why a time code was refused; returns 0. */
static int read_fault(const char *s, size_t n, const PellundRate *rate, int status,
                      const PellundTcFault *fault, ExprError *error)
{
    char label[24];
    switch (status) {
    case PELLUND_EFIELD: return time_code_fault(error, fault, rate);
    case PELLUND_ESKIPPED:
        return error_at(error, fault->offset + 1, "%.*s is skipped in drop frame at %s",
                        (int)(n < 40 ? n : 40), s, rate_label(rate, label));
    case PELLUND_ERANGE: return error_at(error, fault->offset + 1, "time code out of range");
    default: return error_at(error, 1, "unreadable time code: at most four fields");
    }
}

/* ';' stands before drop-frame labels only; read at a non-drop rate it would move the
 * time code by 3.6 seconds an hour. */
static int drop_mark_fault(ExprError *e, size_t column, const PellundRate *rate)
{
    char label[24];
    for (int i = 0; pellund_rate_at(i); i++) {
        const PellundRate *d = pellund_rate_at(i);
        if (d->drop && d->num == rate->num && d->den == rate->den)
            return error_at(e, column, "';' marks drop frame, but %s is non-drop (drop frame is %s)",
                            rate_label(rate, label), d->name);
    }
    return error_at(e, column, "';' marks drop frame, which %s does not have",
                    rate_label(rate, label));
}

int time_code_read(const char *s, size_t n, const PellundRate *rate, int64_t *frames,
                   ExprError *error)
{
    const char *mark = rate->drop ? NULL : memchr(s, ';', n);
    if (mark)
        return drop_mark_fault(error, (size_t)(mark - s) + 1, rate);
    PellundTcFault fault;
    const int status = pellund_tc_read(s, n, rate, PELLUND_STRICT | PELLUND_NO_SKIPPED, frames,
                                       &fault);
    return status == PELLUND_OK || read_fault(s, n, rate, status, &fault, error);
}

/* Reads again what the stream's fast path refused, for the message; returns 0. */
static __attribute__((noinline)) int time_code_refused(Reader *r, const char *s, size_t n,
                                                       Value *v)
{
    if (time_code_read(s, n, r->context->rate, &v->frames, r->error))
        return 1;
    r->error->column += (size_t)(s - r->text);
    return 0;
}

static int time_code(Reader *r, const char *s, const char *end, Value *v)
{
    const PellundRate *rate = r->context->rate;
    const size_t n = (size_t)(end - s);
    v->plain = 0;
    if ((rate->drop || !memchr(s, ';', n))
        && pellund_tc_read(s, n, rate, PELLUND_STRICT | PELLUND_NO_SKIPPED, &v->frames, NULL)
               == PELLUND_OK)
        return 1;
    return time_code_refused(r, s, n, v);
}

/* A value without its own mark ('s' or '+FF'), read as --from says. */
static int unmarked_value(Reader *r, const char *s, const char *end, int marked, Value *v)
{
    const int from = r->context->from;
    if (!marked) {
        v->bare = from != FROM_MIXED && from != KIND_FRAMES && read_count(s, end, &v->count);
        if (from == FROM_MIXED || from == KIND_FRAMES) {
            v->plain = 1;
            return read_count(s, end, &v->frames) ? 1 : reader_fail(r, s, "frame count out of range");
        }
    }
    switch (from) {
    case KIND_FRAMES: return reader_fail(r, s, "expected a frame count (--from frames)");
    case KIND_SECONDS: return real_time(r, s, end, v);
    case KIND_FEET35:
    case KIND_FEET16:
        return marked ? reader_fail(r, s, from == KIND_FEET35 ? "expected feet+frames such as 112+08 (--from feet35)"
                                                             : "expected feet+frames such as 112+08 (--from feet16)")
                      : feet(r, s, end, 0, v);
    default: return time_code(r, s, end, v);
    }
}

/* Digits, one sep, and at least one digit after it: where it is, or NULL. */
static const char *one_separator(const char *s, const char *end, char sep)
{
    const char *at = NULL;
    for (const char *p = s; p < end; p++)
        if (*p == sep && !at)
            at = p;
        else if (!is_digit(*p))
            return NULL;
    return at && end - at >= 2 ? at : NULL;
}

/* Digits with one '.' and one to nine decimals after it, with up to 13 before it, as a
 * factor. */
static Shape factor_shape(const char *s, const char *end, Factor *f)
{
    const char *dot = one_separator(s, end, '.');
    if (!dot)
        return SHAPE_OTHER;
    if (end - dot > 10 || dot - s > 13)
        return SHAPE_LONG_FACTOR;
    int64_t whole = 0, billionths = 0, scale = 1000000000;
    for (const char *p = s; p < dot; p++)
        whole = whole * 10 + (*p - '0');
    for (const char *p = dot + 1; p < end; p++)
        billionths = billionths * 10 + (*p - '0'), scale /= 10;
    *f = (Factor){whole, billionths * scale, 0};
    return SHAPE_FACTOR;
}

/* Marked text with a '.': a time, or a factor beside *, x or /. Apart from the stream's
 * time codes, which have none. */
static __attribute__((noinline)) int decimal(Reader *r, const char *s, const char *end, Value *v)
{
    v->shape = factor_shape(s, end, &v->f);
    if (v->shape == SHAPE_OTHER)
        return unmarked_value(r, s, end, 1, v);
    if (unmarked_value(r, s, end, 1, v))
        return 1;
    /* 1.50 at 25 is no time, but stands beside * as a factor; why it is no time waits until
     * it is needed as one. */
    r->error->message = NULL;
    v->unread = s;
    v->frames = 0;
    v->plain = v->bare = 0;
    return 1;
}

/* The end of the digits and marks from s. */
static const char *run_end(const Reader *r, const char *s, unsigned *kinds)
{
    unsigned k;
    for (*kinds = 0; s < r->end && (k = byte_kind(*s)) & (BYTE_DIGIT | BYTE_MARK); s++)
        *kinds |= k;
    return s;
}

int literal(Reader *r, Value *v)
{
    const char *s = r->at;
    unsigned kinds;
    const char *end = run_end(r, s, &kinds);
    const int marked = (kinds & BYTE_MARK) != 0;
    if (!(kinds & BYTE_DIGIT))
        return reader_fail(r, s, s < r->end ? "expected a number, a time code or '('"
                                            : "expression ends too soon");
    v->count = 0;
    v->start = s;
    v->unread = NULL;
    v->bare = 0;
    v->shape = SHAPE_OTHER;
    if (end < r->end && *end == 's') {
        r->at = end + 1;
        return real_time(r, s, end, v);
    }
    if (end < r->end && *end == '+' && end + 1 < r->end && is_digit(end[1]) && is_digit(end[-1]))
        return feet_and_frames(r, s, end, marked, v);
    r->at = end;
    if (kinds & BYTE_DOT)
        return decimal(r, s, end, v);
    if ((kinds & BYTE_COMMA) && one_separator(s, end, ','))
        v->shape = SHAPE_COMMA;
    return unmarked_value(r, s, end, marked, v);
}

int value_unread(Reader *r, const Value *v)
{
    Reader again = *r;
    unsigned kinds;
    Value ignored;
    unmarked_value(&again, v->unread, run_end(r, v->unread, &kinds), 1, &ignored);
    return 0;
}
