/* Recursive descent over one line; every intermediate value is checked for range. */
#include "expr.h"

#include <string.h>

/* Deep enough for any expression typed by hand, shallow enough for any stack. */
#define MAX_DEPTH 200

typedef struct Value {
    int64_t frames;
    int plain; /* a bare count, so it may multiply or divide */
} Value;

typedef struct Reader {
    const char *text, *at, *end;
    const ExprContext *context;
    ExprError *error;
    int depth;
} Reader;

static int fail(Reader *r, const char *where, const char *message)
{
    if (!r->error->message) {
        r->error->message = message;
        r->error->column = (size_t)(where - r->text) + 1;
    }
    return 0;
}

static int is_digit(char c)
{
    return c >= '0' && c <= '9';
}

static int is_tc_char(char c)
{
    return is_digit(c) || c == ':' || c == ';' || c == '.' || c == ',';
}

static void skip_blanks(Reader *r)
{
    while (r->at < r->end && (*r->at == ' ' || *r->at == '\t' || *r->at == '\r'))
        r->at++;
}

static int in_range(int64_t v)
{
    return v <= PELLUND_RATE_MAX_FRAMES && v >= -PELLUND_RATE_MAX_FRAMES;
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

/* [[H:]M:]S[.fraction] seconds, the 's' already found after end. */
static int real_time(Reader *r, const char *s, const char *end, Value *v)
{
    int64_t whole = 0, units = 0, scale = 1;
    const char *p = s;
    for (int fields = 0; p < end && *p != '.'; fields++) {
        const char *from = p;
        while (p < end && is_digit(*p))
            p++;
        int64_t n;
        if (p == from || fields == 3)
            return fail(r, from, "unreadable real time");
        if (!read_count(from, p, &n) || n > 1000000000)
            return fail(r, from, "real time out of range");
        whole = whole * 60 + n;
        if (whole > PELLUND_RATE_MAX_FRAMES)
            return fail(r, s, "real time out of range");
        if (p < end && *p == ':') {
            if (++p == end)
                return fail(r, p - 1, "unreadable real time");
        } else if (p < end && *p != '.')
            return fail(r, p, "unreadable real time");
    }
    if (p < end) {
        for (p++; p < end && is_digit(*p) && scale < 1000000000; p++, scale *= 10)
            units = units * 10 + (*p - '0');
        if (p < end)
            return fail(r, p, "unreadable real time: at most nine decimals after one '.'");
    }
    if (whole > PELLUND_RATE_MAX_FRAMES / scale
        || pellund_frames_of_time(whole * scale + units, scale, r->context->rate, &v->frames)
               != PELLUND_OK)
        return fail(r, s, "real time out of range");
    v->plain = 0;
    return 1;
}

/* N+FF: the span is all digits and two digits follow the '+'. */
static int is_feet(const Reader *r, const char *s, const char *end)
{
    for (const char *p = s; p < end; p++)
        if (!is_digit(*p))
            return 0;
    return end - s > 0 && r->end - end >= 3 && end[0] == '+' && is_digit(end[1])
           && is_digit(end[2]) && (r->end - end == 3 || !is_tc_char(end[3]));
}

static int feet(Reader *r, const char *s, const char *end, Value *v)
{
    const int64_t per_foot = r->context->per_foot;
    const int64_t ff = (end[1] - '0') * 10 + (end[2] - '0');
    int64_t ft;
    if (ff >= per_foot)
        return fail(r, end + 1,
                    per_foot == 16
                        ? "a foot of 35 mm film has 16 frames (00 to 15); to add, put blanks around +"
                        : "a foot of 16 mm film has 40 frames (00 to 39); to add, put blanks around +");
    if (!read_count(s, end, &ft) || ft > (PELLUND_RATE_MAX_FRAMES - ff) / per_foot)
        return fail(r, s, "feet+frames out of range");
    v->frames = ft * per_foot + ff;
    v->plain = 0;
    r->at = end + 3;
    return 1;
}

static int literal(Reader *r, Value *v)
{
    const char *s = r->at, *end = s;
    int marked = 0, digits = 0;
    for (; end < r->end && is_tc_char(*end); end++) {
        marked |= !is_digit(*end);
        digits |= is_digit(*end);
    }
    if (!digits)
        return fail(r, s, s < r->end ? "expected a number, a time code or '('"
                                     : "expression ends too soon");
    if (end < r->end && *end == 's') {
        r->at = end + 1;
        return real_time(r, s, end, v);
    }
    if (is_feet(r, s, end))
        return feet(r, s, end, v);
    r->at = end;
    if (!marked) {
        v->plain = 1;
        return read_count(s, end, &v->frames) ? 1 : fail(r, s, "frame count out of range");
    }
    v->plain = 0;
    switch (pellund_tc_frames(s, (size_t)(end - s), r->context->rate, &v->frames)) {
    case PELLUND_OK: return 1;
    case PELLUND_ERANGE: return fail(r, s, "time code out of range");
    default: return fail(r, s, "unreadable time code: at most four fields");
    }
}

static int sum(Reader *r, Value *v);

static int primary(Reader *r, Value *v)
{
    skip_blanks(r);
    if (r->at < r->end && *r->at == '(') {
        const char *open = r->at++;
        if (!sum(r, v))
            return 0;
        skip_blanks(r);
        if (r->at >= r->end || *r->at != ')')
            return fail(r, r->at < r->end ? r->at : open, "missing ')'");
        r->at++;
        return 1;
    }
    return literal(r, v);
}

static int unary(Reader *r, Value *v)
{
    skip_blanks(r);
    if (++r->depth > MAX_DEPTH)
        return fail(r, r->at, "expression nested too deeply");
    int ok;
    if (r->at < r->end && (*r->at == '-' || *r->at == '+')) {
        const int minus = *r->at++ == '-';
        ok = unary(r, v);
        if (ok && minus)
            v->frames = -v->frames;
    } else {
        ok = primary(r, v);
    }
    r->depth--;
    return ok;
}

/* '*', 'x', U+00D7 as 1, '/', U+00F7 as 2, else 0; the bytes taken in *size. */
static int product_operator(const Reader *r, int *size)
{
    const char *p = r->at;
    *size = 1;
    if (p < r->end && (*p == '*' || *p == 'x'))
        return 1;
    if (p < r->end && *p == '/')
        return 2;
    if (r->end - p >= 2 && (unsigned char)p[0] == 0xC3) {
        *size = 2;
        if ((unsigned char)p[1] == 0x97)
            return 1;
        if ((unsigned char)p[1] == 0xB7)
            return 2;
    }
    return 0;
}

/* a / b to the nearest whole frame, half to even; b != 0. */
static int64_t divide_nearest(int64_t a, int64_t b)
{
    const int negative = (a < 0) != (b < 0);
    const int64_t m = a < 0 ? -a : a, d = b < 0 ? -b : b;
    int64_t q = m / d;
    const int64_t twice = 2 * (m % d);
    if (twice > d || (twice == d && (q & 1)))
        q++;
    return negative ? -q : q;
}

static int apply_product(Reader *r, const char *op, int kind, Value *v, const Value *w)
{
    if (kind == 1) {
        if (!v->plain && !w->plain)
            return fail(r, op, "multiply by a plain number, not by a time");
        const int64_t m = w->frames < 0 ? -w->frames : w->frames;
        if (m != 0 && (v->frames > PELLUND_RATE_MAX_FRAMES / m
                       || v->frames < -PELLUND_RATE_MAX_FRAMES / m))
            return fail(r, op, "result out of range");
        v->frames *= w->frames;
        v->plain = v->plain && w->plain;
        return 1;
    }
    if (!w->plain)
        return fail(r, op, "divide by a plain number, not by a time");
    if (w->frames == 0)
        return fail(r, op, "division by zero");
    v->frames = divide_nearest(v->frames, w->frames);
    return 1;
}

static int product(Reader *r, Value *v)
{
    if (!unary(r, v))
        return 0;
    for (;;) {
        skip_blanks(r);
        int size;
        const int kind = product_operator(r, &size);
        if (!kind)
            return 1;
        const char *op = r->at;
        r->at += size;
        Value w;
        if (!unary(r, &w) || !apply_product(r, op, kind, v, &w))
            return 0;
    }
}

static int sum(Reader *r, Value *v)
{
    if (!product(r, v))
        return 0;
    for (;;) {
        skip_blanks(r);
        if (r->at >= r->end || (*r->at != '+' && *r->at != '-'))
            return 1;
        const char *op = r->at;
        const int minus = *r->at++ == '-';
        Value w;
        if (!product(r, &w))
            return 0;
        v->frames += minus ? -w.frames : w.frames;
        v->plain = v->plain && w.plain;
        if (!in_range(v->frames))
            return fail(r, op, "result out of range");
    }
}

int expr_evaluate(const char *text, size_t length, const ExprContext *context, int64_t *frames,
                  ExprError *error)
{
    Reader r = {text, text, text + length, context, error, 0};
    error->message = NULL;
    error->column = 0;
    skip_blanks(&r);
    if (r.at == r.end)
        return fail(&r, r.at, "empty expression");
    Value v;
    if (!sum(&r, &v))
        return 0;
    skip_blanks(&r);
    if (r.at < r.end)
        return fail(&r, r.at, *r.at == ')' ? "unexpected ')'" : "unexpected character");
    *frames = v.frames;
    return 1;
}
