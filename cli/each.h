/* --each: the time codes within a line converted, every other byte kept. */
#pragma once

#include "expr.h"
#include "options.h"

/* Room for the rewriting of n bytes: a time code takes at least ten bytes and gives at most
 * PELLUND_TEXT_SIZE - 1. */
#define EACH_ROOM(n) (4 * (n) + PELLUND_TEXT_SIZE)

/* Where a line's problems go: each with its 1-based column. */
typedef struct Reporter {
    void (*report)(void *context, size_t column, const char *message);
    void *context;
} Reporter;

/* The length of the time code that the run of digits and marks [s, end) is, at labels
 * frame labels a second, or 0 when it is text. The run may end in one mark after it. */
size_t time_code_length(const char *s, const char *end, int32_t labels);

/* Reads the time code of n bytes at s, which stands at column, at rate; 1, or 0 after
 * reporting why. */
int each_read(const char *s, size_t n, const PellundRate *rate, int64_t *frames,
              const Reporter *reporter, size_t column);

/* Reports a result out of range for the output at column; returns -1. */
int each_range_fault(const Reporter *reporter, size_t column);

/* Writes count, at the output rate, as o asks into out; its length, or -1 after reporting
 * that it is out of range at column. */
int each_write(int64_t count, const Options *o, char *out, const Reporter *reporter,
               size_t column);

/* Rewrites the n bytes at s, read at o's rate, into out (EACH_ROOM(n) bytes); returns the
 * length written. A time code that cannot be read or written is kept as it was, and
 * reported. */
size_t each_rewrite(const char *s, size_t n, const Options *o, char *out,
                    const Reporter *reporter);
