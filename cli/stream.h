/* One expression a line from a file, one result a line to another. */
#pragma once

#include "expr.h"
#include "options.h"

#include <stdio.h>

/* The longest line read, in bytes before its newline; a longer one is an error.
 * The fuzzer makes it and the block small, to reach their edges with short inputs. */
#ifndef STREAM_MAX_LINE
#define STREAM_MAX_LINE (1 << 20)
#endif

/* Evaluates (or with --each rewrites) every line of in, with problems on err; returns 0,
 * or 2 when any line was in error. */
int stream_run(FILE *in, FILE *out, FILE *err, const Options *o, const ExprContext *context);

/* Evaluates the n bytes at s and writes the result as o asks into text (PELLUND_TEXT_SIZE
 * bytes); returns its length, or -1 with what went wrong in error. */
int evaluate_to_text(const char *s, size_t n, const ExprContext *context, const Options *o,
                     char *text, ExprError *error);

/* Prints "ostrel-tc: <where>column C: <message>" on err. */
void report_error(FILE *err, const char *where, const ExprError *error);
