/* The command line of ostrel-tc: how values are read and how results are written. */
#pragma once

#include "pellund_rates.h"

#include <stddef.h>
#include <stdint.h>

/* What a value is written as by --to, or read as by --from. */
typedef enum ValueKind { KIND_TC, KIND_FRAMES, KIND_SECONDS, KIND_FEET35, KIND_FEET16 } ValueKind;

/* --from not given: unmarked digits are a count, marked text a time code. */
#define FROM_MIXED (-1)

typedef struct Options {
    PellundRate rate;    /* what the expression is read in */
    PellundRate to_rate; /* what the result is written in, when has_to_rate */
    int has_to_rate;
    ValueKind to;
    int from; /* a ValueKind, or FROM_MIXED */
    int keep_frames; /* to_rate keeps the frame count, not the duration */
    int align;       /* one output line for every input line */
    int each;        /* convert the time codes within each line, keep the rest */
    int edl;         /* convert an edit decision list */
    int wrap;        /* time codes on a 24-hour clock */
    int has_rate;    /* --rate was given */
    int32_t tc_options;
    int help, version;
    char **words; /* the words of the expression, in order; free() it */
    int word_count;
} Options;

/* Fills o from argv; 0 and one line in message when an option is wrong. */
int options_parse(int argc, char **argv, Options *o, char *message, size_t size);

/* Frames a foot of feet+frames in the expression: --from's gauge, else 16 mm when that is
 * the output, else 35 mm. */
int32_t options_per_foot(const Options *o);

/* The rate as the user may write it: its name, or N/D; text holds at least 24 bytes. */
const char *rate_label(const PellundRate *r, char *text);
