/* Rounding is decided by exact integers only: no decimal is ever cut short. */
#include "decimal.h"

int decimal_times_ratio(int64_t whole, const char *digits, size_t count, int64_t num,
                        int64_t den, int64_t limit, int64_t *out)
{
    /* 2 * num * 0.digits from the last digit to the first: only its whole part and whether
     * anything is left over matter once the sum is divided by den. */
    const uint64_t c = 2 * (uint64_t)num;
    uint64_t z = 0;
    int exact = 1;
    for (size_t i = count; i-- > 0;) {
        const uint64_t t = (uint64_t)(digits[i] - '0') * c + z;
        z = t / 10;
        exact &= t % 10 == 0;
    }
    if ((uint64_t)whole > (UINT64_MAX - z) / c)
        return 0;
    /* twice is floor(2 * value); it is exact when nothing was left over. */
    const uint64_t sum = (uint64_t)whole * c + z, twice = sum / (uint64_t)den;
    exact &= sum % (uint64_t)den == 0;
    uint64_t v = twice / 2;
    if (twice & 1)
        v += !exact || (v & 1); /* past the half, or on it with an odd frame below */
    if (v > (uint64_t)limit)
        return 0;
    *out = (int64_t)v;
    return 1;
}

__int128 nearest_quotient(__int128 n, __int128 d)
{
    if (d < 0) {
        n = -n;
        d = -d;
    }
    const int negative = n < 0;
    const __int128 m = negative ? -n : n;
    __int128 q = m / d;
    const __int128 twice = 2 * (m % d);
    if (twice > d || (twice == d && (q & 1)))
        q++;
    return negative ? -q : q;
}

int factor_apply(int64_t frames, const Factor *f, int divide, int64_t limit, int64_t *out,
                 int *zero)
{
    const __int128 units = (__int128)f->whole * 1000000000 + f->billionths;
    *zero = divide && units == 0;
    if (*zero)
        return 0;
    const __int128 signed_frames = f->negative ? -(__int128)frames : frames;
    const __int128 v = divide ? nearest_quotient(signed_frames * 1000000000, units)
                              : nearest_quotient(signed_frames * units, 1000000000);
    if (v > limit || v < -limit)
        return 0;
    *out = (int64_t)v;
    return 1;
}
