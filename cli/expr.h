/* Reads and evaluates one time code expression in whole frames. */
#pragma once

#include "pellund_rates.h"

#include <stddef.h>
#include <stdint.h>

typedef struct ExprContext {
    const PellundRate *rate; /* rate of time codes and real times */
    int32_t per_foot;        /* frames a foot of feet+frames */
    int from;                /* how unmarked values are read: a ValueKind, or FROM_MIXED */
} ExprContext;

typedef struct ExprError {
    const char *message; /* static, or text */
    size_t column;       /* 1-based byte position of the problem */
    char text[160];
} ExprError;

/*
 * Evaluates the length bytes at text: time codes (01:00:00;00), frame
 * counts (123), feet+frames (112+08, 1+2), real times (12.5s), + - * / and
 * parentheses. Products and quotients need a plain number on one side; beside
 * their operator a decimal (1.5) is a factor, elsewhere seconds and frames.
 * Returns 1 and the frame count, or 0 and what went wrong where.
 */
int expr_evaluate(const char *text, size_t length, const ExprContext *context, int64_t *frames,
                  ExprError *error);
