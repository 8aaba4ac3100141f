/* Writing a result as the options ask. */
#pragma once

#include "options.h"

/* Writes the result frames as o asks, NUL-terminated, into text (PELLUND_TEXT_SIZE bytes);
 * returns its length, or -1 when it is out of range. */
int render_result(int64_t frames, const Options *o, char *text);
