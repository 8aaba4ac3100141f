/* An event's out points are its in points plus its lengths, each converted on its own, so
 * lengths that were equal stay equal whatever the rounding. */
#include "edl.h"
#include "byte_kind.h"
#include "decimal.h"
#include "render.h"

#include <stdio.h>
#include <string.h>

#define MAX_TOKENS 16

typedef struct Token {
    const char *s;
    size_t n;
} Token;

/* The line's output: bytes of the line copied up to each replaced token. */
typedef struct Writer {
    const char *line, *copied;
    char *w;
    const Reporter *reporter;
} Writer;

static void replace(Writer *out, Token t, const char *text, size_t n)
{
    memcpy(out->w, out->copied, (size_t)(t.s - out->copied));
    out->w += t.s - out->copied;
    memcpy(out->w, text, n);
    out->w += n;
    out->copied = t.s + t.n;
}

static size_t column(const Writer *out, Token t)
{
    return (size_t)(t.s - out->line) + 1;
}

static int is_blank(char c)
{
    return byte_kind(c) == BYTE_BLANK;
}

static int all_digits(Token t)
{
    for (size_t i = 0; i < t.n; i++)
        if (byte_kind(t.s[i]) != BYTE_DIGIT)
            return 0;
    return t.n > 0;
}

/* The blank-separated tokens of the line; 0 when there are more than MAX_TOKENS. */
static int tokens(const char *s, size_t n, Token t[MAX_TOKENS])
{
    int k = 0;
    for (const char *p = s, *end = s + n; p < end;) {
        while (p < end && is_blank(*p))
            p++;
        if (p == end)
            break;
        if (k == MAX_TOKENS)
            return 0;
        t[k].s = p;
        while (p < end && !is_blank(*p))
            p++;
        t[k].n = (size_t)(p - t[k].s);
        k++;
    }
    return k;
}

static int is_time_code(const Edl *e, Token t)
{
    return time_code_length(t.s, t.s + t.n, e->line.rate.labels) == t.n;
}

static int same_text(const char *s, size_t n, const char *word)
{
    if (strlen(word) != n)
        return 0;
    for (size_t i = 0; i < n; i++)
        if ((s[i] >= 'a' && s[i] <= 'z' ? s[i] - 'a' + 'A' : s[i]) != word[i])
            return 0;
    return 1;
}

void edl_start(Edl *e, const Options *o)
{
    e->o = o;
    e->line = *o;
    e->as_written = 0;
}

/* --rate's rate with or without drop frame, as an FCM line says; 0 when it has none. */
static int family_rate(const PellundRate *r, int drop, PellundRate *out)
{
    if (!drop) {
        char ratio[32];
        snprintf(ratio, sizeof ratio, "%d/%d", (int)r->num, (int)r->den);
        return pellund_rate_parse(ratio, out) == PELLUND_OK;
    }
    for (int i = 0; pellund_rate_at(i); i++)
        if (pellund_rate_at(i)->drop && pellund_rate_at(i)->num == r->num
            && pellund_rate_at(i)->den == r->den) {
            *out = *pellund_rate_at(i);
            return 1;
        }
    return 0;
}

/* FCM: DROP FRAME or NON-DROP FRAME: the rate of the lines under it, and what the
 * written line says of the written time codes. */
static void frame_code_mode(Edl *e, Token value, Writer *out)
{
    const int drop = same_text(value.s, value.n, "DROP FRAME");
    const int known = drop || same_text(value.s, value.n, "NON-DROP FRAME")
                      || same_text(value.s, value.n, "NON DROP FRAME");
    char label[24], message[120];
    e->as_written = !known || !family_rate(&e->o->rate, drop, &e->line.rate);
    if (e->as_written) {
        if (known)
            snprintf(message, sizeof message, "FCM: DROP FRAME, but %s has no drop frame; the lines under it are kept as they were",
                     rate_label(&e->o->rate, label));
        else
            snprintf(message, sizeof message, "FCM: takes DROP FRAME or NON-DROP FRAME; the lines under it are kept as they were");
        out->reporter->report(out->reporter->context, column(out, value), message);
        return;
    }
    const int written_drop = e->o->to_rate.drop != 0;
    if (written_drop != drop) {
        const char *text = written_drop ? "DROP FRAME" : "NON-DROP FRAME";
        replace(out, value, text, strlen(text));
    }
}

/* An FCM line's value, from its first to its last byte that is not blank. */
static int fcm_value(const char *s, size_t n, Token *value)
{
    const char *p = s, *end = s + n;
    while (p < end && is_blank(*p))
        p++;
    if (end - p < 4 || !same_text(p, 4, "FCM:"))
        return 0;
    p += 4;
    while (p < end && is_blank(*p))
        p++;
    while (end > p && is_blank(end[-1]))
        end--;
    *value = (Token){p, (size_t)(end - p)};
    return 1;
}

static int read_at(const Edl *e, Token t, const Writer *out, int64_t *frames)
{
    return each_read(t.s, t.n, &e->line.rate, frames, out->reporter, column(out, t));
}

/* Writes count, at the output rate, in place of t; the token stays when it cannot be. */
static void write_count(const Edl *e, Token t, int64_t count, int converted, Writer *out)
{
    char text[PELLUND_TEXT_SIZE];
    const int n = converted ? each_write(count, e->o, text, out->reporter, column(out, t))
                            : each_range_fault(out->reporter, column(out, t));
    if (n >= 0)
        replace(out, t, text, (size_t)n);
}

/* A count of frames at the list's rate, as the output keeps it. */
static int converted(const Edl *e, int64_t frames, int64_t *out)
{
    return output_count(frames, &e->line.rate, e->o, out);
}

/* A length on a 24-hour clock runs forward past midnight. */
static int64_t length_of(const Edl *e, int64_t in, int64_t out)
{
    const int64_t day = day_frames(&e->line.rate), n = out - in;
    return e->o->wrap && n < 0 ? n % day + day : n;
}

/* An in point and its out point: the in point converted, the out point that plus the
 * length converted. */
static void in_and_out(const Edl *e, Token in, Token out_point, Writer *out)
{
    int64_t a, b, a2 = 0, length = 0;
    const int read_in = read_at(e, in, out, &a), read_out = read_at(e, out_point, out, &b);
    if (read_in) {
        const int ok = converted(e, a, &a2);
        write_count(e, in, a2, ok, out);
        if (read_out) {
            const int whole = ok && converted(e, length_of(e, a, b), &length);
            write_count(e, out_point, a2 + length, whole, out);
        }
    } else if (read_out) {
        int64_t b2 = 0;
        write_count(e, out_point, b2, converted(e, b, &b2), out);
    }
}

/* A transition's length in frames, written at least as wide as it was. */
static void transition_length(const Edl *e, Token t, Writer *out)
{
    int64_t n = 0, m;
    for (size_t i = 0; i < t.n && n <= PELLUND_RATE_MAX_FRAMES; i++)
        n = n * 10 + (t.s[i] - '0');
    char text[PELLUND_TEXT_SIZE];
    if (n > PELLUND_RATE_MAX_FRAMES || !converted(e, n, &m)) {
        out->reporter->report(out->reporter->context, column(out, t), "transition length out of range");
        return;
    }
    replace(out, t, text, (size_t)snprintf(text, sizeof text, "%0*lld", (int)(t.n < 20 ? t.n : 20), (long long)m));
}

/* Event, reel, track, transition and its length, then four time codes: source in and out,
 * record in and out. Avid writes the length in place of the transition. */
static int event(const Edl *e, const Token *t, int k, Writer *out)
{
    if (k < 8 || !all_digits(t[0]))
        return 0;
    for (int i = k - 4; i < k; i++)
        if (!is_time_code(e, t[i]))
            return 0;
    const int between = k - 5;
    if (between >= 3 && all_digits(t[k - 5]) && !e->o->keep_frames)
        transition_length(e, t[k - 5], out);
    in_and_out(e, t[k - 4], t[k - 3], out);
    in_and_out(e, t[k - 2], t[k - 1], out);
    return 1;
}

/* A speed in frames a second, [-]digits[.digits], as tenths at the output rate: under
 * --keep frames the clip keeps its speed against the frames around it. 0 when unreadable. */
static int speed_tenths(const Edl *e, Token t, int64_t *tenths)
{
    const char *p = t.s, *end = t.s + t.n;
    const int negative = p < end && *p == '-';
    p += p < end && (*p == '-' || *p == '+');
    __int128 v = 0, scale = 1;
    int digits = 0, dot = 0;
    for (; p < end; p++) {
        if (*p == '.' && !dot) {
            dot = 1;
            continue;
        }
        if (byte_kind(*p) != BYTE_DIGIT || ++digits > 9)
            return 0;
        v = v * 10 + (*p - '0');
        scale *= dot ? 10 : 1;
    }
    if (!digits || (dot && scale == 1))
        return 0;
    const PellundRate *from = &e->line.rate, *to = &e->o->to_rate;
    const __int128 q = nearest_quotient(v * 10 * to->num * from->den, scale * to->den * from->num);
    *tenths = (int64_t)(negative ? -q : q);
    return 1;
}

/* M2, reel, speed, time code: the time code is a position; the speed, under --keep
 * frames, is scaled by the new rate over the old. */
static int motion(const Edl *e, const Token *t, int k, Writer *out)
{
    if (k < 4 || t[0].n != 2 || memcmp(t[0].s, "M2", 2) != 0)
        return 0;
    int64_t tenths, frames, count = 0;
    const Token speed = t[k - 2], tc = t[k - 1];
    if (!is_time_code(e, tc) || (e->o->keep_frames && !speed_tenths(e, speed, &tenths))) {
        out->reporter->report(out->reporter->context, column(out, speed),
                              "unreadable M2 line: expected reel, speed and time code");
        return 0;
    }
    if (e->o->keep_frames) {
        char text[48];
        const int64_t m = tenths < 0 ? -tenths : tenths;
        const int sign = tenths < 0, width = (int)(t[k - 2].n < 40 ? t[k - 2].n : 40);
        const int n = snprintf(text, sizeof text, "%s%0*lld.%d", sign ? "-" : "",
                               width - 2 - sign > 1 ? width - 2 - sign : 1, (long long)(m / 10),
                               (int)(m % 10));
        replace(out, speed, text, (size_t)n);
    }
    if (read_at(e, tc, out, &frames))
        write_count(e, tc, count, converted(e, frames, &count), out);
    return 1;
}

size_t edl_rewrite(Edl *e, const char *s, size_t n, char *out, const Reporter *reporter)
{
    Writer writer = {s, s, out, reporter};
    Token value, t[MAX_TOKENS];
    if (fcm_value(s, n, &value)) {
        frame_code_mode(e, value, &writer);
    } else if (e->as_written) {
        /* Kept as it was, below. */
    } else {
        const int k = tokens(s, n, t);
        if (!event(e, t, k, &writer) && !motion(e, t, k, &writer)) {
            writer.w += each_rewrite(s, n, &e->line, writer.w, reporter);
            writer.copied = s + n;
        }
    }
    memcpy(writer.w, writer.copied, (size_t)(s + n - writer.copied));
    writer.w += s + n - writer.copied;
    return (size_t)(writer.w - out);
}
