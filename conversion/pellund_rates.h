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

/** The count, or a field or value on the way to it, is beyond PELLUND_RATE_MAX_FRAMES. */
#define PELLUND_ERANGE (-3)

/** Strict reading: a field is empty or past its largest label. */
#define PELLUND_EFIELD (-4)

/** Strict reading with PELLUND_NO_SKIPPED: a label drop frame skips. */
#define PELLUND_ESKIPPED (-5)

/** Reading option of pellund_tc_read: every field within its labels, none empty. */
#define PELLUND_STRICT 0x40000

/** Reading option: PELLUND_STRICT, and a label drop frame skips is PELLUND_ESKIPPED. */
#define PELLUND_NO_SKIPPED 0x80000

/** A frame rate: num/den frames a second, labelled with labels frames a second. */
typedef struct PellundRate {
    const char *name; /**< "29.97df"; NULL for a ratio that names no rate */
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
 * The rate an editor writes as name, in any case: a name of pellund_rate_find,
 * "23.98" (23.976), "29.97ndf", "59.94ndf", "47.95", "119.88" (non-drop), a
 * whole number from 1 to 999, or a ratio "N/D" such as "24000/1001": non-drop,
 * from 1 up to but not including 1000 frames a second, D at most 1001 once
 * reduced, labelled with N/D rounded up; or "N/Ddf" for the drop-frame rate of
 * that ratio ("30000/1001df" is 29.97df). The name of a whole number or ratio
 * that is no named rate is NULL.
 *
 * @return PELLUND_OK and the rate in *out, or PELLUND_EUNREADABLE (*out is
 *         then left as it was)
 */
PELLUND_API int pellund_rate_parse(const char *name, PellundRate *out);

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
 * is a minute and a half, and an empty field is 0. A label drop frame skips
 * reads as that minute's first real frame.
 *
 * @return PELLUND_OK; PELLUND_EUNREADABLE for any other byte or more than
 *         four fields (*frames is then left as it was); PELLUND_ERANGE when
 *         the count or a field is too large (*frames then holds the nearest
 *         count allowed)
 */
PELLUND_API int pellund_tc_frames(const char *text, size_t length, const PellundRate *r,
                                  int64_t *frames);

/* Fields of a time code, as PellundTcFault names them. */
#define PELLUND_FIELD_FRAMES  0
#define PELLUND_FIELD_SECONDS 1
#define PELLUND_FIELD_MINUTES 2
#define PELLUND_FIELD_HOURS   3

/** Where pellund_tc_read stopped, and why. */
typedef struct PellundTcFault {
    size_t offset;  /**< byte offset in the text of the field, or 0 for the whole count */
    int32_t field;  /**< PELLUND_FIELD_*, or -1 for the whole count */
    int64_t value;  /**< the field's value; -1 when it is empty */
} PellundTcFault;

/**
 * pellund_tc_frames with reading options. With PELLUND_STRICT, seconds and
 * minutes must be below 60, frames below the rate's labels, and no field may
 * be empty (PELLUND_EFIELD); hours may be any size within range. A label drop
 * frame skips still reads as that minute's first real frame; with
 * PELLUND_NO_SKIPPED, which reads strictly too, it is PELLUND_ESKIPPED, at the
 * frames field. Any
 * field past PELLUND_RATE_MAX_FRAMES is PELLUND_ERANGE, in either reading.
 *
 * @param fault NULL, or filled in for PELLUND_EFIELD, PELLUND_ESKIPPED and PELLUND_ERANGE
 * @return as pellund_tc_frames, or PELLUND_EFIELD or PELLUND_ESKIPPED (*frames is then
 *         left as it was)
 */
PELLUND_API int pellund_tc_read(const char *text, size_t length, const PellundRate *r,
                                int32_t options, int64_t *frames, PellundTcFault *fault);

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
 * The frame nearest to the real time seconds + units/scale at rate r, half to
 * even; scale is a positive power of ten up to 10^9, |units| < scale, and
 * units has the sign of seconds (or seconds is 0). Exact for any time whose
 * frame is within range.
 *
 * @return PELLUND_OK, or PELLUND_ERANGE (*frames is then left as it was)
 */
PELLUND_API int pellund_frames_of_seconds(int64_t seconds, int64_t units, int64_t scale,
                                          const PellundRate *r, int64_t *frames);

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
