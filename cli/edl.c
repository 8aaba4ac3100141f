/* --edl line by line: FCM lines set the rate of the lines under them; events, M2 lines and
 * the rest are each rewritten as their kind says. */
#include "edl.h"
#include "byte_kind.h"
#include "edl_line.h"

#include <stdio.h>
#include <string.h>

static int is_blank(char c)
{
    return byte_kind(c) == BYTE_BLANK;
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
    e->held = e->held_end = 0;
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
        writer_report(out, value, message);
        return;
    }
    const int written_drop = e->o->to_rate.drop != 0;
    if (written_drop != drop) {
        const char *text = written_drop ? "DROP FRAME" : "NON-DROP FRAME";
        writer_replace(out, value, text, strlen(text));
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


static size_t copy(char *out, const char *s, size_t n)
{
    memcpy(out, s, n);
    return n;
}

size_t edl_release(Edl *e, char *out)
{
    const size_t n = copy(out, e->head, e->held + e->held_end);
    e->held = e->held_end = 0;
    return n;
}

/* Events and their time codes start with a digit, M2 lines with M: other lines, comments
 * and titles, need no tokens. */
static int worded(const char *s, size_t n)
{
    const char *p = s, *end = s + n;
    while (p < end && is_blank(*p))
        p++;
    return p < end && (byte_kind(*p) == BYTE_DIGIT || *p == 'M');
}

/* Holds the line back when it is an event's first line: 1, or 0 when it is not one. */
static int hold(Edl *e, const Token *t, int k, const char *s, size_t n, const char *end,
                size_t size)
{
    if (n > EDL_HEAD_MAX || !edl_event_head(e, t, k))
        return 0;
    memcpy(e->head, s, n);
    memcpy(e->head + n, end, size);
    e->held = n;
    e->held_end = size;
    return 1;
}

/* The held first line and this one, when this one holds its time codes: both rewritten
 * into out, or both as they were; returns the length written, or 0 when it is not so. */
static size_t split_event(Edl *e, const Token *t, int k, const char *s, size_t n, char *out,
                          const Reporter *reporter)
{
    Token head[MAX_TOKENS];
    const int kh = edl_tokens(e->head, e->held, head);
    /* The first line grows by a few digits at most: its transition's length. */
    char first_text[EDL_HEAD_MAX + 8];
    char *second_text = out + EDL_HEAD_MAX + 10;
    Writer first, second;
    writer_start(&first, e->head, first_text, reporter);
    writer_start(&second, s, second_text, reporter);
    if (!edl_event_split(e, head, kh, &first, t, k, &second))
        return 0;
    const size_t a = writer_finish(&first, e->held), b = writer_finish(&second, n);
    memcpy(out, first_text, a);
    memcpy(out + a, e->head + e->held, e->held_end);
    memmove(out + a + e->held_end, second_text, b);
    const size_t length = a + e->held_end + b;
    e->held = e->held_end = 0;
    return length;
}

size_t edl_rewrite(Edl *e, const char *s, size_t n, const char *end, size_t size, char *out,
                   const Reporter *reporter)
{
    Token value = {s, 0}, t[MAX_TOKENS];
    const int fcm = fcm_value(s, n, &value);
    const int k = fcm || e->as_written || !worded(s, n) ? 0 : edl_tokens(s, n, t);
    size_t length = e->held && !fcm ? split_event(e, t, k, s, n, out, reporter) : 0;
    if (length == 0) {
        const size_t before = e->held ? edl_release(e, out) : 0;
        Writer writer;
        writer_start(&writer, s, out + before, reporter);
        if (fcm) {
            frame_code_mode(e, value, &writer);
        } else if (!e->as_written) {
            const int event = edl_event(e, t, k, &writer);
            if (!event && hold(e, t, k, s, n, end, size))
                return before;
            if (!event && !edl_motion(e, t, k, &writer)) {
                writer.w += each_rewrite(s, n, &e->line, writer.w, reporter);
                writer.copied = s + n;
            }
        }
        length = before + writer_finish(&writer, n);
    }
    /* One or two bytes: a call to memcpy would cost more. */
    for (size_t i = 0; i < size; i++)
        out[length + i] = end[i];
    return length + size;
}
