/* One expression a line from a file, one result a line to another. */
#pragma once

#include "expr.h"
#include "options.h"

#include <stdio.h>

/* Evaluates every line of in; returns 0, or 2 when any line was in error. */
int stream_run(FILE *in, FILE *out, const Options *o, const ExprContext *context);

/* Evaluates the n bytes at s and writes the result as o asks into text (PELLUND_TEXT_SIZE
 * bytes); returns its length, or -1 with what went wrong in error. */
int evaluate_to_text(const char *s, size_t n, const Options *o, const ExprContext *context,
                     char *text, ExprError *error);

/* Prints "ostrel-tc: <where>column C: <message>" on standard error. */
void report_error(const char *where, const ExprError *error);
