/* A time code within text is four fields as editors' lists write them: hours, then two-digit
 * minutes and seconds, then the frames at the rate's width, each after a mark. Any other run
 * of digits and marks (a date, a version, a clip number) is text. */
#include "each.h"
#include "byte_kind.h"
#include "pellund_engine.h"
#include "render.h"

#include <string.h>

static int is_digit(char c)
{
    return byte_kind(c) == BYTE_DIGIT;
}

static int is_mark(char c)
{
    return byte_kind(c) == BYTE_MARK;
}

static int is_time_code(const char *s, const char *end, int frame_width)
{
    const char *q = s;
    while (q < end && is_digit(*q))
        q++;
    if (q == s)
        return 0;
    for (int k = 0; k < 3; k++) {
        const int width = k == 2 ? frame_width : 2;
        if (end - q < width + 1 || !is_mark(*q))
            return 0;
        for (int i = 1; i <= width; i++)
            if (!is_digit(q[i]))
                return 0;
        q += width + 1;
    }
    return q == end;
}

/* The time code [s, end) converted into out; its length, or -1. */
static int convert(const char *s, const char *end, const Options *o, const ExprContext *context,
                   char *out, ExprError *error)
{
    int64_t frames;
    if (!expr_evaluate(s, (size_t)(end - s), context, &frames, error))
        return -1;
    const int length = render_result(frames, o, out);
    if (length < 0) {
        error->message = "result out of range for the output";
        error->column = 1;
    }
    return length;
}

long each_rewrite(const char *s, size_t n, const Options *o, const ExprContext *context,
                  char *out, ExprError *error)
{
    const int width = label_digits(context->rate->labels);
    const char *p = s, *end = s + n;
    char *w = out;
    while (p < end) {
        const char *from = p;
        while (p < end && (is_digit(*p) || is_mark(*p)))
            p++;
        if (p > from && is_time_code(from, p, width)) {
            const int k = convert(from, p, o, context, w, error);
            if (k < 0) {
                error->column += (size_t)(from - s);
                return -1;
            }
            w += k;
        } else {
            while (p == from || (p < end && !is_digit(*p) && !is_mark(*p)))
                p++;
            memcpy(w, from, (size_t)(p - from));
            w += p - from;
        }
    }
    return (long)(w - out);
}
