/* One value of an expression, read exactly or refused with its position. */
#pragma once

#include "decimal.h"
#include "expr.h"

typedef struct Value {
    int64_t frames;
    int64_t count;
    const char *unread; /* a decimal that is no time: where it starts, for its message */
    int plain;  /* a bare count, so it may multiply or divide */
    int bare;   /* unmarked digits read by --from; count is them as a count */
    int factor; /* written as a plain decimal, 1.5: f is it as a factor */
    Factor f;
} Value;

typedef struct Reader {
    const char *text, *at, *end;
    const ExprContext *context;
    ExprError *error;
    int depth;
} Reader;

/* Records the first problem; returns 0. */
int reader_fail(Reader *r, const char *where, const char *message);

/* Reads the value at r->at and moves past it. A plain decimal that cannot be a time is
 * still read, as a factor only: value_time says why it is no time. */
int literal(Reader *r, Value *v);

/* 0, with why a decimal read as a factor only is no time. */
int value_unread(Reader *r, const Value *v);

/* 1 when v is a time or a count, else 0 with why. */
static inline int value_time(Reader *r, const Value *v)
{
    return !v->unread || value_unread(r, v);
}

/* Reads the n bytes at s as one time code at rate, strictly: every field within its
 * labels, no label drop frame skips, and ';' only at a drop-frame rate. Returns 1, or 0
 * with the problem's column counted from s. */
int time_code_read(const char *s, size_t n, const PellundRate *rate, int64_t *frames,
                   ExprError *error);
