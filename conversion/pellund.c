/* Pellund time code conversion for the window: its type bytes map onto the rates. */
#include "pellund.h"
#include "pellund_engine.h"
#include "pellund_rates.h"

#include <stdatomic.h>

#define SECONDS_PER_DAY 86400

/* Each type's rate is looked up by name on its first use only: the window calls
 * these for every frame it shows. */
static const PellundRate *rate_of(int32_t flags)
{
    static const char *const names[] = {"24", "23.976", "29.97", "29.97df", "25"};
    static _Atomic(const PellundRate *) found[sizeof names / sizeof names[0]];
    int k;
    switch (flags & PELLUND_TYPE_MASK) {
    case PELLUND_TYPE_FILM:  k = 0; break;
    case PELLUND_TYPE_23_98: k = 1; break;
    case PELLUND_TYPE_NDF:   k = 2; break;
    case PELLUND_TYPE_DF:    k = 3; break;
    case PELLUND_TYPE_PAL:   k = 4; break;
    default: return NULL;
    }
    const PellundRate *r = atomic_load_explicit(&found[k], memory_order_acquire);
    if (!r) {
        r = pellund_rate_find(names[k]);
        atomic_store_explicit(&found[k], r, memory_order_release);
    }
    return r;
}

int32_t tc2Maximum(int32_t flags)
{
    const PellundRate *r = rate_of(flags);
    if (!r)
        return 0;
    /* Drop frame skips its labels in 9 of every 10 minutes. */
    return (int32_t)(r->labels * SECONDS_PER_DAY - r->drop * 9 * 144);
}

int32_t tc2String(int32_t frames, int32_t flags, char *text)
{
    const PellundRate *r = rate_of(flags);
    if (!r) {
        text[0] = '\0';
        return PELLUND_EUNSUPPORTED;
    }
    /* Any 32-bit count is within the rates' range, so this cannot fail. */
    pellund_tc_string(frames, r, flags & (PELLUND_MARKS | PELLUND_LEADING), text);
    return PELLUND_OK;
}

int32_t tc2Frame(char *text, int32_t flags, int32_t *frames)
{
    const PellundRate *r = rate_of(flags);
    if (!r)
        return PELLUND_EUNSUPPORTED;
    const char *s = text;
    while (*s == ' ' || *s == '\t')
        s++;
    int64_t v = 0;
    /* Too large a count comes back as the nearest allowed, which saturates below. */
    if (pellund_tc_read_terminated(s, r, &v) == PELLUND_EUNREADABLE)
        return PELLUND_EUNREADABLE;
    if (v > INT32_MAX) v = INT32_MAX;
    if (v < INT32_MIN) v = INT32_MIN;
    *frames = (int32_t)v;
    return PELLUND_OK;
}
