/* Writing a result as the options ask. */
#pragma once

#include "options.h"

/* The count at the output rate of frames at rate from: kept, or by duration to the
 * nearest frame, as o asks. Returns 0 when out of range. */
int output_count(int64_t frames, const PellundRate *from, const Options *o, int64_t *out);

/* Writes frames, a count already at the output rate, as o asks, NUL-terminated, into text
 * (PELLUND_TEXT_SIZE bytes); returns its length, or -1 when it is out of range. */
int render_count(int64_t frames, const Options *o, char *text);

/* Writes the result frames at o's rate as o asks; returns as render_count. */
int render_result(int64_t frames, const Options *o, char *text);

/* The frames of a 24-hour day at r: its labels, less those drop frame skips. */
int64_t day_frames(const PellundRate *r);

/* The rate results are written at. */
const PellundRate *output_rate(const Options *o);
