/*
 * Pellund: time code conversion between frame counts and time code text.
 *
 * The flags word carries the time code type in its low byte and two display
 * options above it. Text buffers belong to the caller.
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#  if defined(PELLUND_BUILD)
#    define PELLUND_API __declspec(dllexport)
#  elif defined(PELLUND_STATIC)
#    define PELLUND_API
#  else
#    define PELLUND_API __declspec(dllimport)
#  endif
#else
#  define PELLUND_API __attribute__((visibility("default")))
#endif

/** Bytes of the largest time code text, terminating NUL included. */
#define PELLUND_TEXT_SIZE 32

/* Time code types (bits 0-7 of the flags word). */
#define PELLUND_TYPE_MASK   0xFF
#define PELLUND_TYPE_FILM   1   /**< 24 frames a second */
#define PELLUND_TYPE_NDF    2   /**< NTSC non-drop frame, 30 frame labels */
#define PELLUND_TYPE_DF     4   /**< NTSC drop frame, 29.97 */
#define PELLUND_TYPE_PAL    8   /**< 25 frames a second */
#define PELLUND_TYPE_23_98  128 /**< 23.98, labelled with film's 24 frames */

/* Display options, for tc2String only. */
#define PELLUND_MARKS    0x10000 /**< separators between the fields */
#define PELLUND_LEADING  0x20000 /**< keep the leading zeros */

/* Result codes. */
#define PELLUND_OK            0
#define PELLUND_EUNSUPPORTED (-1) /**< the type byte names no known type */
#define PELLUND_EUNREADABLE  (-2) /**< the text is not a time code */

/**
 * Number of frames in 24 hours of the type in flags; the option bits do not
 * matter. 0 for an unsupported type.
 */
PELLUND_API int32_t tc2Maximum(int32_t flags);

/**
 * Write the time code text of frames into text, NUL-terminated, never more
 * than PELLUND_TEXT_SIZE bytes. A negative count is written as '-' and the
 * text of its magnitude.
 *
 * @param text caller's buffer of at least PELLUND_TEXT_SIZE bytes
 * @return PELLUND_OK, or PELLUND_EUNSUPPORTED (text is then empty)
 */
PELLUND_API int32_t tc2String(int32_t frames, int32_t flags, char *text);

/**
 * Read the NUL-terminated time code text and store its frame count in
 * *frames. Leading blanks are skipped; reading stops at the first character
 * that is neither a digit nor a mark (: ; . ,). Text without digits reads as
 * frame 0; counts beyond 32 bits saturate. text is never written.
 *
 * @return PELLUND_OK, or a negative code (*frames is then left as it was)
 */
PELLUND_API int32_t tc2Frame(char *text, int32_t flags, int32_t *frames);

#ifdef __cplusplus
}
#endif
