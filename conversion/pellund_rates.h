/*
 * Pellund rates: exact frame rates, time code text, feet+frames, real time
 * and rate conversion, for any count within PELLUND_RATE_MAX_FRAMES of zero.
 *
 * Counts are signed: a negative count is written as '-' and the text of its
 * magnitude, and hours grow past 24. Text buffers belong to the caller.
 * The display options and result codes are those of pellund.h.
 */
#pragma once

#include "pellund.h"

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/** Largest magnitude of a frame count; about 263 years at 120 frames a second. */
#define PELLUND_RATE_MAX_FRAMES 1000000000000LL

/** The count is beyond PELLUND_RATE_MAX_FRAMES. */
#define PELLUND_ERANGE (-3)

/** A frame rate: num/den frames a second, labelled with labels frames a second. */
typedef struct PellundRate {
    const char *name; /**< "29.97df" */
    int32_t num;      /**< 30000 */
    int32_t den;      /**< 1001 */
    int32_t labels;   /**< frame labels a second: 30 */
    int32_t drop;     /**< labels skipped each minute but every tenth: 0, 2, 4 or 8 */
} PellundRate;

/** Frames a foot of film. */
#define PELLUND_FEET_35MM 16 /**< 35 mm 4-perf */
#define PELLUND_FEET_16MM 40

/**
 * The rate called name ("23.976", "24", "25", "29.97", "29.97df", "30",
 * "47.952", "48", "50", "59.94", "59.94df", "60", "119.88df", "120"),
 * or NULL when there is none.
 */
PELLUND_API const PellundRate *pellund_rate_find(const char *name);

/** The index-th known rate, from 0; NULL past the last. */
PELLUND_API const PellundRate *pellund_rate_at(int index);

/**
 * Write the time code text of frames at rate r into text, NUL-terminated.
 * options: PELLUND_MARKS, PELLUND_LEADING. Frames take two digits, three at
 * rates labelled past 100.
 *
 * @param text caller's buffer of at least PELLUND_TEXT_SIZE bytes
 * @return PELLUND_OK, or PELLUND_ERANGE (text is then empty)
 */
PELLUND_API int pellund_tc_string(int64_t frames, const PellundRate *r, int32_t options,
                                  char *text);

/**
 * Read the length bytes at text, an optional '-' then digits and marks
 * (: ; . ,), as a time code at rate r. Marked text splits into fields at the
 * marks; unmarked digits split into pairs from the right (frames take three
 * at rates labelled past 100). Fields may overflow into the next: 90 seconds
 * is a minute and a half. A label drop frame skips reads as that minute's
 * first real frame.
 *
 * @return PELLUND_OK; PELLUND_EUNREADABLE for any other byte or more than
 *         four fields (*frames is then left as it was); PELLUND_ERANGE when
 *         the count is too large (*frames then holds the nearest count allowed)
 */
PELLUND_API int pellund_tc_frames(const char *text, size_t length, const PellundRate *r,
                                  int64_t *frames);

/**
 * Write frames as feet+frames, "112+08", with per_foot frames a foot
 * (PELLUND_FEET_35MM or PELLUND_FEET_16MM).
 *
 * @return PELLUND_OK, or PELLUND_ERANGE (text is then empty)
 */
PELLUND_API int pellund_feet_string(int64_t frames, int32_t per_foot, char *text);

/**
 * Write the real time of frames at rate r as HH:MM:SS.mmm, rounded to the
 * nearest millisecond, half to even.
 *
 * @return PELLUND_OK, or PELLUND_ERANGE (text is then empty)
 */
PELLUND_API int pellund_seconds_string(int64_t frames, const PellundRate *r, char *text);

/**
 * The frame nearest to the real time units/scale seconds at rate r, half to
 * even; scale is a positive power of ten up to 10^9.
 *
 * @return PELLUND_OK, or PELLUND_ERANGE (*frames is then left as it was)
 */
PELLUND_API int pellund_frames_of_time(int64_t units, int64_t scale, const PellundRate *r,
                                       int64_t *frames);

/**
 * The frame at rate to nearest in time to frame frames at rate from, half
 * to even.
 *
 * @return PELLUND_OK, or PELLUND_ERANGE (*out is then left as it was)
 */
PELLUND_API int pellund_rate_convert(int64_t frames, const PellundRate *from,
                                     const PellundRate *to, int64_t *out);

#ifdef __cplusplus
}
#endif
