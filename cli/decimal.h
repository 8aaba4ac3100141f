/* Exact arithmetic on decimals as editors type them: real times and factors. */
#pragma once

#include <stddef.h>
#include <stdint.h>

/* The whole number nearest to (whole + 0.digits) * num / den, an exact half to the even
 * one, for any count of decimal digits; whole >= 0, 0 < num < 2^30, den > 0. Returns 0
 * when it is past limit. */
int decimal_times_ratio(int64_t whole, const char *digits, size_t count, int64_t num,
                        int64_t den, int64_t limit, int64_t *out);

/* n / d to the nearest whole number, an exact half to the even one; d != 0. */
__int128 nearest_quotient(__int128 n, __int128 d);

/* A plain number with up to nine decimals, as billionths. */
typedef struct Factor {
    int64_t whole;    /* below FACTOR_WHOLE_MAX */
    int64_t billionths;
    int negative;
} Factor;

#define FACTOR_WHOLE_MAX 10000000000000LL

/* frames * f (or frames / f when divide) to the nearest whole number, half to even;
 * 0 when past limit, and for a division by zero (*zero is then set). */
int factor_apply(int64_t frames, const Factor *f, int divide, int64_t limit, int64_t *out,
                 int *zero);
