/* --edl: a CMX 3600 edit decision list converted line by line, every other byte kept. */
#pragma once

#include "each.h"
#include "options.h"

/* The longest first line of an event whose time codes stand on the next line. */
#define EDL_HEAD_MAX 256

/* Room for what rewriting a line of n bytes writes: the line, its end, and a first line
 * held back with its end. */
#define EDL_ROOM(n) (EACH_ROOM(n) + 2 * (EDL_HEAD_MAX + 2))

typedef struct Edl {
    const Options *o;
    Options line;   /* o at the rate of the lines under the last FCM line */
    int as_written; /* under an FCM line that cannot be followed: lines kept as they were */
    /* An event's first line, held until the next line says whether its time codes follow. */
    size_t held, held_end;
    char head[EDL_HEAD_MAX + 2];
} Edl;

void edl_start(Edl *e, const Options *o);

/* Rewrites the line of n bytes at s, and its end of size bytes, into out (EDL_ROOM(n)
 * bytes); returns the length written. What cannot be read is kept as it was, and reported.
 * An event's first line may be held back and written with the next line. */
size_t edl_rewrite(Edl *e, const char *s, size_t n, const char *end, size_t size, char *out,
                   const Reporter *reporter);

/* Writes a line held back as it was into out (EDL_HEAD_MAX + 2 bytes): before a line passed
 * through unread, and at the end of the list. Returns the length written. */
size_t edl_release(Edl *e, char *out);
