/* An event's out points are its in points plus its lengths, each converted on its own, so
 * lengths that were equal stay equal whatever the rounding. An event is converted whole or
 * kept whole: never an in point converted and its out point not. */
#include "edl_line.h"
#include "byte_kind.h"
#include "render.h"

#include <stdio.h>
#include <string.h>

/* Digits of a transition's length that any conversion keeps in range. */
#define SHORT_LENGTH 6

/* What an event becomes: its four time codes, and its transition's length when it has one. */
typedef struct Converted {
    int64_t points[4];
    int64_t length;
} Converted;

/* A length on a 24-hour clock runs forward from the in point, past midnight if need be,
 * and is less than a day, as 25:00 is 01:00 there. */
static int64_t length_of(const Edl *e, int64_t in, int64_t out)
{
    const int64_t day = day_frames(&e->line.rate), n = out - in;
    if (!e->o->wrap)
        return n;
    return n % day < 0 ? n % day + day : n % day;
}

static int64_t digits_value(Token t)
{
    int64_t n = 0;
    for (size_t i = 0; i < t.n && n <= PELLUND_RATE_MAX_FRAMES; i++)
        n = n * 10 + (t.s[i] - '0');
    return n;
}

/* The transition's length, kept under --keep frames; 0 when out of range. */
static int length_converted(const Edl *e, Token t, int64_t *out)
{
    const int64_t n = digits_value(t);
    return n <= PELLUND_RATE_MAX_FRAMES && edl_converted(e, n, out);
}

/* Four tokens written as time codes: 1, with in *odd those not in the shape lists write;
 * 0 when any is not written as one. */
static int four_time_codes(const Edl *e, const Token tc[4], unsigned *odd)
{
    *odd = 0;
    for (int i = 0; i < 4; i++)
        if (!token_time_code(e, tc[i])) {
            if (!token_like_time_code(tc[i]))
                return 0;
            *odd |= 1u << i;
        }
    return 1;
}

/* In points converted, out points those plus the lengths converted; 1, or 0 after reporting
 * every time code that cannot be read and the first that cannot be written. */
static int convert_points(const Edl *e, const Token tc[4], unsigned odd, const Writer *out,
                          Converted *c)
{
    int64_t read[4];
    int ok = 1;
    for (int i = 0; i < 4; i++) {
        if (odd >> i & 1)
            ok = writer_report(out, tc[i], "unreadable time code: an event's time codes are hours, minutes, seconds and frames");
        else
            ok &= edl_read(e, tc[i], out, &read[i]);
    }
    for (int i = 0; ok && i < 4; i += 2) {
        int64_t length;
        if (!edl_converted(e, read[i], &c->points[i])
            || !edl_converted(e, length_of(e, read[i], read[i + 1]), &length))
            return writer_report(out, tc[i], "result out of range for the output");
        c->points[i + 1] = c->points[i] + length;
    }
    return ok;
}

static int write_points(const Edl *e, const Token tc[4], const Converted *c, Writer *out)
{
    for (int i = 0; i < 4; i++)
        if (!edl_write(e, tc[i], 0, c->points[i], out))
            return 0;
    return 1;
}

/* Written at least as wide as it was. */
static void write_length(Token t, int64_t length, Writer *out)
{
    char text[PELLUND_TEXT_SIZE];
    const int n = snprintf(text, sizeof text, "%0*lld", (int)(t.n < 20 ? t.n : 20), (long long)length);
    writer_replace(out, t, text, (size_t)n);
}

/* Event, reel, track, transition and its length, then four time codes: source in and out,
 * record in and out. Avid writes the length in place of the transition. */
int edl_event(const Edl *e, const Token *t, int k, Writer *out)
{
    if (k < 8 || !token_digits(t[0]))
        return 0;
    const Token *tc = t + k - 4;
    unsigned odd;
    if (!four_time_codes(e, tc, &odd))
        return 0;
    Converted c;
    const int has_length = k - 5 >= 3 && token_digits(t[k - 5]) && !e->o->keep_frames;
    int ok = convert_points(e, tc, odd, out, &c);
    if (ok && has_length && !length_converted(e, t[k - 5], &c.length))
        ok = writer_report(out, t[k - 5], "transition length out of range");
    if (ok && has_length)
        write_length(t[k - 5], c.length, out);
    if (!ok || !write_points(e, tc, &c, out))
        writer_undo(out);
    return 1;
}

/* A transition as CMX 3600 names it: cut, dissolve, wipe or key. */
static int transition(Token t)
{
    if (t.n == 1)
        return t.s[0] == 'C' || t.s[0] == 'D' || t.s[0] == 'K';
    if (t.s[0] == 'W')
        return token_digits((Token){t.s + 1, t.n - 1});
    return t.n == 2 && t.s[0] == 'K' && (t.s[1] == 'B' || t.s[1] == 'O');
}

static int short_length(Token t)
{
    return t.n <= SHORT_LENGTH && token_digits(t);
}

/* A time code within t, as --each finds them. */
static int holds_time_code(const Edl *e, Token t)
{
    for (const char *p = t.s, *end = t.s + t.n; p < end;) {
        const char *from = p;
        while (p < end && (byte_kind(*p) & (BYTE_DIGIT | BYTE_MARK)))
            p++;
        if (p > from && time_code_length(from, p, e->line.rate.labels))
            return 1;
        p += p == from;
    }
    return 0;
}

int edl_event_head(const Edl *e, const Token *t, int k)
{
    if ((k != 4 && k != 5) || !token_digits(t[0]) || holds_time_code(e, t[1])
        || holds_time_code(e, t[2]))
        return 0;
    return k == 4 ? transition(t[3]) || short_length(t[3])
                  : transition(t[3]) && short_length(t[4]);
}

int edl_event_split(const Edl *e, const Token *head, int kh, Writer *head_out, const Token *t,
                    int k, Writer *out)
{
    unsigned odd;
    if (k != 4 || !four_time_codes(e, t, &odd))
        return 0;
    Converted c;
    const Token length = head[kh - 1];
    const int has_length = short_length(length) && !e->o->keep_frames;
    if (!convert_points(e, t, odd, out, &c))
        return 1;
    /* At most SHORT_LENGTH digits: in range at any rate. */
    if (has_length && length_converted(e, length, &c.length))
        write_length(length, c.length, head_out);
    if (!write_points(e, t, &c, out)) {
        writer_undo(head_out);
        writer_undo(out);
    }
    return 1;
}
