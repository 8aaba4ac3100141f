/* M2 lines: a clip's speed and where it starts. The speed is a number of frames a second,
 * so under --keep frames it follows the frames around it: scaled by the new rate over the
 * old. Otherwise it is kept as it was written, byte for byte. */
#include "edl_line.h"
#include "byte_kind.h"
#include "decimal.h"

#include <stdio.h>
#include <string.h>

/* Digits of a speed: far past any clip's, within exact arithmetic. */
#define SPEED_DIGITS 12

/* A speed as written: [-|+]digits[.digits]. */
typedef struct Speed {
    char sign;      /* '-', '+' or 0 */
    __int128 units; /* in units of the last decimal */
    int decimals;
} Speed;

static int speed_read(Token t, Speed *v)
{
    const char *p = t.s, *end = t.s + t.n;
    v->sign = p < end && (*p == '-' || *p == '+') ? *p++ : 0;
    v->units = 0;
    v->decimals = -1;
    int digits = 0;
    for (; p < end; p++) {
        if (*p == '.' && v->decimals < 0) {
            v->decimals = 0;
            continue;
        }
        if (byte_kind(*p) != BYTE_DIGIT || ++digits > SPEED_DIGITS)
            return 0;
        v->units = v->units * 10 + (*p - '0');
        v->decimals += v->decimals >= 0;
    }
    if (v->decimals == 0)
        return 0; /* a '.' with no digit after it */
    v->decimals = v->decimals < 0 ? 0 : v->decimals;
    return digits > 0;
}

/* The speed at the output rate, with as many decimals as it had (at least one), an exact
 * half to the even last digit, and as wide as it was where it fits. */
static size_t speed_scaled(const Edl *e, Token t, const Speed *v, char *text, size_t size)
{
    const PellundRate *from = &e->line.rate, *to = &e->o->to_rate;
    const int decimals = v->decimals > 0 ? v->decimals : 1;
    const __int128 units = nearest_quotient(v->units * (decimals > v->decimals ? 10 : 1) * to->num * from->den,
                                            (__int128)to->den * from->num);
    __int128 scale = 1;
    for (int i = 0; i < decimals; i++)
        scale *= 10;
    const int sign = v->sign != 0, fixed = sign + 1 + decimals;
    const int width = (int)t.n - fixed > 1 ? (int)t.n - fixed : 1;
    const int n = snprintf(text, size, "%.*s%0*lld.%0*lld", sign, &v->sign, width,
                           (long long)(units / scale), decimals, (long long)(units % scale));
    return (size_t)n;
}

/* Scaled under --keep frames between rates that differ; else as it was. */
static void write_speed(const Edl *e, Token t, const Speed *v, Writer *out)
{
    const PellundRate *from = &e->line.rate, *to = &e->o->to_rate;
    if (!e->o->keep_frames || v->units == 0
        || (int64_t)from->num * to->den == (int64_t)to->num * from->den)
        return;
    char text[64];
    writer_replace(out, t, text, speed_scaled(e, t, v, text, sizeof text));
}

/* M2, reel, speed and the time code where the clip starts; or, for a freeze frame, reel,
 * speed, other fields and '+' with the time code of its length. */
int edl_motion(const Edl *e, const Token *t, int k, Writer *out)
{
    if (k < 1 || t[0].n != 2 || memcmp(t[0].s, "M2", 2) != 0)
        return 0;
    const int length = k >= 4 && t[k - 1].n > 1 && t[k - 1].s[0] == '+';
    const Token speed = length ? t[2] : t[k - 2 > 0 ? k - 2 : 0];
    const Token tc = length ? (Token){t[k - 1].s + 1, t[k - 1].n - 1} : t[k - 1];
    Speed v;
    int64_t frames, count;
    if (k < 4 || !speed_read(speed, &v) || !token_time_code(e, tc))
        return writer_report(out, k < 4 ? t[0] : speed, length
                                 ? "unreadable M2 line: expected reel, speed, and + with a length"
                                 : "unreadable M2 line: expected reel, speed and time code") + 1;
    if (!edl_read(e, tc, out, &frames))
        return 1;
    if (!edl_converted(e, frames, &count))
        return writer_report(out, tc, "result out of range for the output") + 1;
    write_speed(e, speed, &v, out);
    /* A length converts as an event's lengths do, and keeps its '+'. */
    if (!edl_write(e, length ? t[k - 1] : tc, length ? '+' : 0, count, out))
        writer_undo(out);
    return 1;
}
