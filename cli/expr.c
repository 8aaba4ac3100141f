/* Recursive descent over one line; every intermediate value is checked for range. */
#include "expr.h"
#include "byte_kind.h"
#include "literal.h"

/* Parentheses: deep enough for any expression typed by hand, shallow enough for any stack. */
#define MAX_DEPTH 200

static void skip_blanks(Reader *r)
{
    const char *p = r->at;
    while (p < r->end && byte_kind(*p) == BYTE_BLANK)
        p++;
    r->at = p;
}

static int in_range(int64_t v)
{
    return v <= PELLUND_RATE_MAX_FRAMES && v >= -PELLUND_RATE_MAX_FRAMES;
}

static int sum(Reader *r, Value *v);

/* At a byte that is not blank, as unary leaves it. */
static int primary(Reader *r, Value *v)
{
    if (r->at < r->end && *r->at == '(') {
        if (r->depth >= MAX_DEPTH)
            return reader_fail(r, r->at, "expression nested too deeply");
        const char *open = r->at++;
        r->depth++;
        const int ok = sum(r, v);
        r->depth--;
        if (!ok)
            return 0;
        if (r->at >= r->end || *r->at != ')')
            return reader_fail(r, r->at < r->end ? r->at : open, "missing ')'");
        r->at++;
        return 1;
    }
    return literal(r, v);
}

/* Signs are counted, not recursed into, so only parentheses nest. */
static int unary(Reader *r, Value *v)
{
    int negative = 0;
    for (;;) {
        skip_blanks(r);
        if (r->at < r->end && *r->at == '+')
            return reader_fail(r, r->at, "a value cannot start with '+' (only '-' leads a value)");
        if (r->at >= r->end || *r->at != '-')
            break;
        r->at++;
        negative = !negative;
    }
    if (!primary(r, v))
        return 0;
    if (negative) {
        v->frames = -v->frames;
        v->count = -v->count;
        v->f.negative = !v->f.negative;
    }
    return 1;
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

/* Under --from, an unmarked number is a time unless it has to be the count. */
static int as_count(Value *v)
{
    if (!v->bare)
        return 0;
    v->frames = v->count;
    v->plain = 1;
    return 1;
}

/* The count of a product under --from: the side that is not a time, else the right;
 * 1, or 0 when neither can be, or -1 when either could be and it matters. */
static int product_counts(Value *v, Value *w)
{
    if (v->bare && w->bare && (v->frames != v->count || w->frames != w->count))
        return -1;
    if (v->bare && w->bare)
        return as_count(v) && as_count(w);
    return v->plain || w->plain || as_count(w) || as_count(v);
}

/* Beside *, x or /: 1 when v is a factor, 0 when it is not, -1 when it reads two ways. */
static int factor_side(Reader *r, const Value *v)
{
    switch (v->shape) {
    case SHAPE_FACTOR: return 1;
    case SHAPE_LONG_FACTOR:
        return reader_fail(r, v->start, "a factor takes at most 13 digits before '.' and 9 after") - 1;
    case SHAPE_COMMA:
        return reader_fail(r, v->start, "a time or a decimal factor? write the time in full (00:00:01:05) or the factor with '.' (1.5)") - 1;
    default: return 0;
    }
}

static int no_time(Reader *r, const char *op)
{
    return reader_fail(r, op, "no time to multiply or divide: beside *, x and / a decimal is a factor; write a time in full (00:00:01:05)");
}

/* time * factor, or time / factor, to the nearest frame. */
static int apply_factor(Reader *r, const char *op, int divide, Value *v, const Value *time,
                        const Factor *f)
{
    int zero;
    if (!value_time(r, time))
        return 0;
    if (!factor_apply(time->frames, f, divide, PELLUND_RATE_MAX_FRAMES, &v->frames, &zero))
        return reader_fail(r, op, zero ? "division by zero" : "result out of range");
    v->plain = 0;
    return 1;
}

static int multiply(Reader *r, const char *op, Value *v, Value *w)
{
    const int left = factor_side(r, v), right = factor_side(r, w);
    if (left < 0 || right < 0)
        return 0;
    if (left && right)
        return no_time(r, op);
    if (left || right)
        return apply_factor(r, op, 0, v, right ? v : w, right ? &w->f : &v->f);
    const int counted = product_counts(v, w);
    if (counted < 0)
        return reader_fail(r, op, "which side is the count? write the time in full (01:00:00:00, 10s, 3+00)");
    if (!counted)
        return reader_fail(r, op, "multiply by a plain number, not by a time");
    if (!value_time(r, v) || !value_time(r, w))
        return 0;
    const int64_t m = w->frames < 0 ? -w->frames : w->frames;
    if (m != 0 && (v->frames > PELLUND_RATE_MAX_FRAMES / m
                   || v->frames < -PELLUND_RATE_MAX_FRAMES / m))
        return reader_fail(r, op, "result out of range");
    v->frames *= w->frames;
    v->plain = v->plain && w->plain;
    return 1;
}

static int divide(Reader *r, const char *op, Value *v, Value *w)
{
    const int left = factor_side(r, v), right = factor_side(r, w);
    if (left < 0 || right < 0)
        return 0;
    if (left)
        return no_time(r, op);
    if (!value_time(r, v))
        return 0;
    if (right)
        return apply_factor(r, op, 1, v, v, &w->f);
    if (!w->plain && !as_count(w))
        return reader_fail(r, op, "divide by a plain number, not by a time");
    if (w->frames == 0)
        return reader_fail(r, op, "division by zero");
    v->frames = (int64_t)nearest_quotient(v->frames, w->frames);
    v->plain = v->plain && w->plain;
    return 1;
}

/* Ends past the blanks after its last operand, as sum does. */
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
        if (!unary(r, &w) || !(kind == 1 ? multiply(r, op, v, &w) : divide(r, op, v, &w)))
            return 0;
        v->bare = 0;
        v->shape = SHAPE_OTHER;
        v->unread = NULL;
    }
}

static int sum(Reader *r, Value *v)
{
    if (!product(r, v))
        return 0;
    for (;;) {
        if (r->at >= r->end || (*r->at != '+' && *r->at != '-'))
            return 1;
        const char *op = r->at;
        const int minus = *r->at++ == '-';
        /* Past feet+frames, as in 1+02+03: a '+' between digits is never a sum. */
        if (!minus && op > r->text && byte_kind(op[-1]) == BYTE_DIGIT && r->at < r->end
            && byte_kind(*r->at) == BYTE_DIGIT)
            return reader_fail(r, op, "to add, put blanks around + (a + between digits is feet+frames)");
        Value w;
        if (!product(r, &w) || !value_time(r, v) || !value_time(r, &w))
            return 0;
        v->frames += minus ? -w.frames : w.frames;
        v->plain = v->plain && w.plain;
        v->bare = 0;
        v->shape = SHAPE_OTHER;
        if (!in_range(v->frames))
            return reader_fail(r, op, "result out of range");
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
        return reader_fail(&r, r.at, "empty expression");
    Value v;
    if (!sum(&r, &v))
        return 0;
    if (r.at < r.end)
        return reader_fail(&r, r.at, *r.at == ')' ? "unexpected ')'" : "unexpected character");
    if (!value_time(&r, &v))
        return 0;
    *frames = v.frames;
    return 1;
}
