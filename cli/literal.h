/* One value of an expression, read exactly or refused with its position. */
#pragma once

#include "decimal.h"
#include "expr.h"

/* How a value written alone reads beside *, x or /. */
typedef enum Shape {
    SHAPE_OTHER,       /* as it reads anywhere */
    SHAPE_FACTOR,      /* digits with one '.', 1.5: a factor, f */
    SHAPE_LONG_FACTOR, /* such digits too long for a factor */
    SHAPE_COMMA        /* digits with one ',': a time, or a factor to a reader used to 1,5 */
} Shape;

typedef struct Value {
    int64_t frames;
    int64_t count;
    const char *start;  /* where its text starts */
    const char *unread; /* a decimal that is no time: where it starts, for its message */
    int plain;   /* a bare count, so it may multiply or divide */
    int bare;    /* unmarked digits read by --from; count is them as a count */
    Shape shape; /* kept while the value stands alone, else SHAPE_OTHER */
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
