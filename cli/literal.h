/* One value of an expression, read exactly or refused with its position. */
#pragma once

#include "expr.h"

typedef struct Value {
    int64_t frames;
    int plain;     /* a bare count, so it may multiply or divide */
    int bare;      /* unmarked digits read by --from; count is them as a count */
    int64_t count;
} Value;

typedef struct Reader {
    const char *text, *at, *end;
    const ExprContext *context;
    ExprError *error;
    int depth;
} Reader;

/* Records the first problem; returns 0. */
int reader_fail(Reader *r, const char *where, const char *message);

/* Reads the value at r->at and moves past it. */
int literal(Reader *r, Value *v);
