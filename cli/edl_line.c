/* Tokens and the writer a list's lines are rewritten with. */
#include "edl_line.h"
#include "byte_kind.h"
#include "render.h"

#include <stdio.h>
#include <string.h>

static int is_blank(char c)
{
    return byte_kind(c) == BYTE_BLANK;
}

int edl_tokens(const char *s, size_t n, Token t[MAX_TOKENS])
{
    int k = 0;
    for (const char *p = s, *end = s + n; p < end;) {
        while (p < end && is_blank(*p))
            p++;
        if (p == end)
            break;
        if (k == MAX_TOKENS)
            return 0;
        t[k].s = p;
        while (p < end && !is_blank(*p))
            p++;
        t[k].n = (size_t)(p - t[k].s);
        k++;
    }
    return k;
}

int token_like_time_code(Token t)
{
    int marks = 0;
    for (size_t i = 0; i < t.n; i++) {
        const unsigned k = byte_kind(t.s[i]);
        if (!(k & (BYTE_DIGIT | BYTE_MARK)))
            return 0;
        marks += (k & BYTE_MARK) != 0;
    }
    return marks == 3;
}

void writer_replace(Writer *out, Token t, const char *text, size_t n)
{
    memcpy(out->w, out->copied, (size_t)(t.s - out->copied));
    out->w += t.s - out->copied;
    memcpy(out->w, text, n);
    out->w += n;
    out->copied = t.s + t.n;
}

void writer_undo(Writer *out)
{
    out->copied = out->line;
    out->w = out->start;
}

size_t writer_finish(Writer *out, size_t n)
{
    const size_t rest = (size_t)(out->line + n - out->copied);
    memcpy(out->w, out->copied, rest);
    out->w += rest;
    out->copied = out->line + n;
    return (size_t)(out->w - out->start);
}

int writer_report(const Writer *out, Token t, const char *message)
{
    out->reporter->report(out->reporter->context, writer_column(out, t), message);
    return 0;
}

int edl_write(const Edl *e, Token t, char prefix, int64_t count, Writer *out)
{
    char text[PELLUND_TEXT_SIZE + 1];
    const size_t p = prefix != 0;
    text[0] = prefix;
    const int n = each_write(count, e->o, text + p, out->reporter, writer_column(out, t));
    if (n < 0)
        return 0;
    writer_replace(out, t, text, p + (size_t)n);
    return 1;
}
