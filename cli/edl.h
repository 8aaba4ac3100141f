/* --edl: a CMX 3600 edit decision list converted line by line, every other byte kept. */
#pragma once

#include "each.h"
#include "options.h"

typedef struct Edl {
    const Options *o;
    Options line;   /* o at the rate of the lines under the last FCM line */
    int as_written; /* under an FCM line that cannot be followed: lines kept as they were */
} Edl;

void edl_start(Edl *e, const Options *o);

/* Rewrites the line of n bytes at s into out (EACH_ROOM(n) bytes); returns the length
 * written. What cannot be read is kept as it was, and reported. */
size_t edl_rewrite(Edl *e, const char *s, size_t n, char *out, const Reporter *reporter);
