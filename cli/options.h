/* The command line of ostrel-tc. */
#pragma once

#include "pellund_rates.h"

#include <stddef.h>
#include <stdint.h>

typedef enum OutputKind { OUTPUT_TC, OUTPUT_FRAMES, OUTPUT_SECONDS, OUTPUT_FEET35, OUTPUT_FEET16 } OutputKind;

typedef struct Options {
    const PellundRate *rate;    /* what the expression is read in */
    const PellundRate *to_rate; /* what the result is written in; NULL: rate */
    OutputKind to;
    int keep_frames; /* to_rate keeps the frame count, not the duration */
    int32_t tc_options;
    int help, version;
    char **words; /* the words of the expression, in order; free() it */
    int word_count;
} Options;

/* Fills o from argv; 0 and one line in message when an option is wrong. */
int options_parse(int argc, char **argv, Options *o, char *message, size_t size);

/* Writes the result frames as o asks, NUL-terminated; -1 when it is out of range. */
int options_render(int64_t frames, const Options *o, char *text);

/* Frames a foot of feet+frames in the expression: 16 mm when that is the output, else 35 mm. */
int32_t options_per_foot(const Options *o);
