/* What the kinds of lines of a list share: their tokens, and a rewriting that is done whole
 * or not at all. */
#pragma once

#include "byte_kind.h"
#include "edl.h"
#include "render.h"

#include <stdint.h>

#define MAX_TOKENS 16

typedef struct Token {
    const char *s;
    size_t n;
} Token;

/* The line's output: bytes of the line copied up to each replaced token. */
typedef struct Writer {
    const char *line, *copied;
    char *start, *w;
    const Reporter *reporter;
} Writer;

/* The blank-separated tokens of the n bytes at s; 0 when there are more than MAX_TOKENS. */
int edl_tokens(const char *s, size_t n, Token t[MAX_TOKENS]);

/* Small and called for every token: inline. */
static inline int token_digits(Token t)
{
    for (size_t i = 0; i < t.n; i++)
        if (byte_kind(t.s[i]) != BYTE_DIGIT)
            return 0;
    return t.n > 0;
}

/* A time code at the list's rate, as lists write them. */
static inline int token_time_code(const Edl *e, Token t)
{
    return time_code_length(t.s, t.s + t.n, e->line.rate.labels) == t.n;
}

/* Digits and marks, with three marks: written as a time code, whether it reads or not. */
int token_like_time_code(Token t);

static inline void writer_start(Writer *out, const char *line, char *to,
                                const Reporter *reporter)
{
    *out = (Writer){line, line, to, to, reporter};
}

static inline size_t writer_column(const Writer *out, Token t)
{
    return (size_t)(t.s - out->line) + 1;
}

void writer_replace(Writer *out, Token t, const char *text, size_t n);
/* The line as it was: what was replaced is put back. */
void writer_undo(Writer *out);
/* The rest of the line copied; returns the length written. */
size_t writer_finish(Writer *out, size_t n);
/* Reports message at t's column; returns 0. */
int writer_report(const Writer *out, Token t, const char *message);

/* Reads t at the list's rate; 1, or 0 after reporting why. */
static inline int edl_read(const Edl *e, Token t, const Writer *out, int64_t *frames)
{
    return each_read(t.s, t.n, &e->line.rate, frames, out->reporter, writer_column(out, t));
}

/* A count of frames at the list's rate, as the output keeps it; 0 when out of range. */
static inline int edl_converted(const Edl *e, int64_t frames, int64_t *out)
{
    return output_count(frames, &e->line.rate, e->o, out);
}
/* Writes count in place of t as a time code at the output rate, after prefix (a '+', or 0
 * for none); 1, or 0 after reporting that it is out of range. */
int edl_write(const Edl *e, Token t, char prefix, int64_t count, Writer *out);

/* Each 1 when the line is of its kind: rewritten whole, or kept whole after its messages. */
int edl_event(const Edl *e, const Token *t, int k, Writer *out);
int edl_motion(const Edl *e, const Token *t, int k, Writer *out);
/* An event whose four time codes stand alone on the next line: 1 when t is its first line. */
int edl_event_head(const Edl *e, const Token *t, int k);
/* The event's two lines: head's tokens (kh of them) and the time codes' line. */
int edl_event_split(const Edl *e, const Token *head, int kh, Writer *head_out, const Token *t,
                    int k, Writer *out);
