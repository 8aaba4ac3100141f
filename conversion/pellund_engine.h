/* Inside the rates engine and the programs that link it in, not in the library's interface:
 * the known rates' labels and drops as compile-time constants, so that the writer and the
 * reader, inlined at each of them, turn their divisions into multiplications (any other
 * rate takes the same code with its own values); and the calls that spare their callers a
 * scan of the text. */
#pragma once

#include "pellund_rates.h"

#include <stdint.h>

#if defined(__GNUC__)
#  define ENGINE_INLINE static inline __attribute__((always_inline))
#  define ENGINE_NOINLINE static __attribute__((noinline))
#elif defined(_MSC_VER)
#  define ENGINE_INLINE static __forceinline
#  define ENGINE_NOINLINE static __declspec(noinline)
#else
#  define ENGINE_INLINE static inline
#  define ENGINE_NOINLINE static
#endif

/* Frames take two digits, three at rates labelled past 100. */
ENGINE_INLINE int label_digits(int64_t labels)
{
    return labels > 100 ? 3 : 2;
}

#define RATE_KEY(labels, drop) ((uint64_t)(uint32_t)(labels) << 32 | (uint32_t)(drop))

/* X(labels) for every count of labels a second of the 14 rates, and X(labels, drop) for
 * every labelling. */
#define KNOWN_LABELS(X) X(24) X(25) X(30) X(48) X(50) X(60) X(120)
#define KNOWN_LABELLINGS(X) \
    X(24, 0) X(25, 0) X(30, 0) X(30, 2) X(48, 0) X(50, 0) X(60, 0) X(60, 4) X(120, 0) X(120, 8)

/* pellund_tc_frames of the NUL-terminated text's leading '-', digits and marks, up to its
 * first other byte. */
int pellund_tc_read_terminated(const char *text, const PellundRate *r, int64_t *frames);

/* pellund_tc_string, returning the text's length, or PELLUND_ERANGE. */
int pellund_tc_text(int64_t frames, const PellundRate *r, int32_t options, char *text);
