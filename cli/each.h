/* --each: the time codes within a line converted, every other byte kept. */
#pragma once

#include "expr.h"
#include "options.h"

/* Room for the rewriting of n bytes: a time code takes at least ten bytes and gives at most
 * PELLUND_TEXT_SIZE - 1. */
#define EACH_ROOM(n) (4 * (n) + PELLUND_TEXT_SIZE)

/* Rewrites the n bytes at s into out (EACH_ROOM(n) bytes); returns the length written, or
 * -1 with what went wrong in error. */
long each_rewrite(const char *s, size_t n, const Options *o, const ExprContext *context,
                  char *out, ExprError *error);
