/* A time code within text is four fields as editors' lists write them: hours, then two-digit
 * minutes and seconds, then the frames at the rate's width, each after a mark. Any other run
 * of digits and marks (a date, a version, a clip number) is text. */
#include "each.h"
#include "byte_kind.h"
#include "literal.h"
#include "pellund_engine.h"
#include "render.h"

#include <string.h>

static int is_digit(char c)
{
    return byte_kind(c) == BYTE_DIGIT;
}

static int is_mark(char c)
{
    return (byte_kind(c) & BYTE_MARK) != 0;
}

/* Digits from s, at most to end. */
static const char *digits_end(const char *s, const char *end)
{
    while (s < end && is_digit(*s))
        s++;
    return s;
}

size_t time_code_length(const char *s, const char *end, int32_t labels)
{
    const char *q = digits_end(s, end);
    if (q == s)
        return 0;
    for (int k = 0; k < 3; k++) {
        if (q == end || !is_mark(*q))
            return 0;
        const char *field = q + 1, *stop = digits_end(field, end);
        /* Frames take two digits, or three past 100 labels, where two are read too. */
        const ptrdiff_t width = stop - field;
        if (width != 2 && !(k == 2 && width == 3 && label_digits(labels) == 3))
            return 0;
        q = stop;
    }
    /* A mark may end a sentence after it; a fifth field makes the run text. */
    return q == end || (q + 1 == end && is_mark(*q)) ? (size_t)(q - s) : 0;
}

int each_read(const char *s, size_t n, const PellundRate *rate, int64_t *frames,
              const Reporter *reporter, size_t column)
{
    ExprError error;
    if (time_code_read(s, n, rate, frames, &error))
        return 1;
    reporter->report(reporter->context, column + error.column - 1, error.message);
    return 0;
}

int each_range_fault(const Reporter *reporter, size_t column)
{
    reporter->report(reporter->context, column, "result out of range for the output");
    return -1;
}

int each_write(int64_t count, const Options *o, char *out, const Reporter *reporter,
               size_t column)
{
    const int length = render_count(count, o, out);
    return length < 0 ? each_range_fault(reporter, column) : length;
}

/* The time code of n bytes at s converted into out, or kept there as it was; the length. */
static size_t convert(const char *s, size_t n, const Options *o, char *out,
                      const Reporter *reporter, size_t column)
{
    int64_t frames;
    if (each_read(s, n, &o->rate, &frames, reporter, column)) {
        const int length = output_count(frames, &o->rate, o, &frames)
                               ? each_write(frames, o, out, reporter, column)
                               : each_range_fault(reporter, column);
        if (length >= 0)
            return (size_t)length;
    }
    memcpy(out, s, n);
    return n;
}

size_t each_rewrite(const char *s, size_t n, const Options *o, char *out,
                    const Reporter *reporter)
{
    const char *p = s, *end = s + n;
    char *w = out;
    while (p < end) {
        const char *from = p;
        while (p < end && (is_digit(*p) || is_mark(*p)))
            p++;
        const size_t length = p > from ? time_code_length(from, p, o->rate.labels) : 0;
        if (length) {
            w += convert(from, length, o, w, reporter, (size_t)(from - s) + 1);
            from += length; /* a mark after it is text */
        }
        while (p < end && !is_digit(*p) && !is_mark(*p))
            p++;
        memcpy(w, from, (size_t)(p - from));
        w += p - from;
    }
    return (size_t)(w - out);
}
