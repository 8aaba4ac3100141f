/* libFuzzer target for ostrel-tc's expression reader, its stream and the rates API behind it.
 *
 * Input: a rate byte (index into the rate table, then a few ratios; bit 7 for 16 mm feet),
 * a mode byte (bits 0-2 --from, bit 3 --align, bit 4 --each, bits 5-7 --to), a list byte
 * (bit 0 --edl, bit 1 --wrap, bit 2 --keep frames, bits 3-6 --to-rate's index from 1), then
 * the text: evaluated whole as one expression, and streamed as lines. */
#define _GNU_SOURCE
#include "each.h"
#include "expr.h"
#include "options.h"
#include "stream.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "fuzz_check.h"

static int rate_count(void)
{
    int n = 0;
    while (pellund_rate_at(n))
        n++;
    return n;
}

/* Every writer fits its text in an exactly PELLUND_TEXT_SIZE heap buffer. */
static void write_all(int64_t frames, const PellundRate *r)
{
    char *text = malloc(PELLUND_TEXT_SIZE);
    CHECK(text != NULL);
    for (int32_t options = 0; options < 4; options++) {
        const int32_t o = (options & 1 ? PELLUND_MARKS : 0) | (options & 2 ? PELLUND_LEADING : 0);
        CHECK(pellund_tc_string(frames, r, o, text) == PELLUND_OK);
        CHECK(strnlen(text, PELLUND_TEXT_SIZE) < PELLUND_TEXT_SIZE);
        if (o & PELLUND_LEADING) {
            int64_t back = ~frames;
            CHECK(pellund_tc_read(text, strlen(text), r, PELLUND_STRICT, &back, NULL) == PELLUND_OK);
            CHECK(back == frames);
        }
    }
    CHECK(pellund_seconds_string(frames, r, text) == PELLUND_OK);
    CHECK(pellund_feet_string(frames, PELLUND_FEET_16MM, text) == PELLUND_OK);
    for (int i = 0; pellund_rate_at(i); i++) {
        int64_t out = 0;
        const int status = pellund_rate_convert(frames, r, pellund_rate_at(i), &out);
        CHECK(status == PELLUND_OK || status == PELLUND_ERANGE);
        CHECK(status != PELLUND_OK || (out <= PELLUND_RATE_MAX_FRAMES && out >= -PELLUND_RATE_MAX_FRAMES));
    }
    free(text);
}

/* Ratios at the edges: non-NTSC, the fastest and the slowest allowed. */
static const char *const ratios[] = {"2997/100", "999999/1001", "1/1"};
#define RATIOS ((int)(sizeof ratios / sizeof ratios[0]))

static void options_of(const uint8_t *data, Options *o)
{
    memset(o, 0, sizeof *o);
    const int pick = data[0] % (rate_count() + RATIOS);
    CHECK(pellund_rate_parse(pick < rate_count() ? pellund_rate_at(pick)->name
                                                 : ratios[pick - rate_count()],
                             &o->rate) == PELLUND_OK);
    const int from = data[1] & 7;
    o->from = from >= 5 ? FROM_MIXED : from;
    o->align = (data[1] >> 3) & 1;
    o->each = (data[1] >> 4) & 1 && (o->from == FROM_MIXED || o->from == KIND_TC);
    o->to = (ValueKind)((data[1] >> 5) % 5);
    o->tc_options = PELLUND_MARKS | PELLUND_LEADING;
    if (data[0] & 0x80)
        o->to = KIND_FEET16;
    const int to_rate = (data[2] >> 3) & 15;
    o->has_to_rate = to_rate > 0 && to_rate <= rate_count();
    if (o->has_to_rate)
        o->to_rate = *pellund_rate_at(to_rate - 1);
    o->keep_frames = (data[2] >> 2) & 1;
    o->edl = data[2] & 1;
    if (o->edl) {
        /* As the options allow it: time codes out, at --rate unless --to-rate says. */
        o->each = 0;
        o->to = KIND_TC;
        o->from = FROM_MIXED;
        o->has_rate = 1;
        if (!o->has_to_rate)
            o->to_rate = o->rate;
        o->has_to_rate = 1;
    }
    o->wrap = (data[2] >> 1) & 1 && o->to == KIND_TC;
}

static void evaluate_whole(const char *text, size_t n, const ExprContext *context)
{
    int64_t frames = 0;
    ExprError error;
    /* An exactly sized copy, so ASan stops any read past the expression. */
    char *copy = malloc(n ? n : 1);
    CHECK(copy != NULL);
    memcpy(copy, text, n);
    const int ok = expr_evaluate(copy, n, context, &frames, &error);
    free(copy);
    if (!ok) {
        CHECK(error.message != NULL);
        CHECK(error.column >= 1 && error.column <= n + 1);
        return;
    }
    CHECK(frames <= PELLUND_RATE_MAX_FRAMES && frames >= -PELLUND_RATE_MAX_FRAMES);
    write_all(frames, context->rate);
}

/* The numbers of the lines reported on err, as a bitmap of up to 256 lines. */
static void reported_lines(const char *err, unsigned char bad[257])
{
    memset(bad, 0, 257);
    for (const char *p = err; (p = strstr(p, "ostrel-tc: line ")) != NULL; p++) {
        const unsigned long n = strtoul(p + 16, NULL, 10);
        CHECK(n >= 1 && n <= 256);
        bad[n] = 1;
    }
}

/* --each and --edl write every line they are given, whatever it holds, with its own end. */
static void check_every_line(const char *in, size_t n, const char *out, size_t out_size)
{
    size_t lf_in = 0, lf_out = 0, cr_in = 0, cr_out = 0;
    for (size_t i = 0; i < n; i++) {
        lf_in += in[i] == '\n';
        cr_in += in[i] == '\r';
    }
    for (size_t i = 0; i < out_size; i++) {
        lf_out += out[i] == '\n';
        cr_out += out[i] == '\r';
    }
    CHECK(lf_in == lf_out && cr_in == cr_out);
    CHECK((n > 0 && in[n - 1] != '\n') == (out_size > 0 && out[out_size - 1] != '\n'));
}

/* The end of the line at s: CR LF, LF or a CR alone; end when it has none. *size is the
 * length of its line end. */
static const char *line_end(const char *s, const char *end, size_t *size)
{
    for (; s < end; s++)
        if (*s == '\n' || *s == '\r') {
            *size = *s == '\r' && s + 1 < end && s[1] == '\n' ? 2 : 1;
            return s;
        }
    *size = 0;
    return end;
}

/* Each input line, as the stream splits it: mark skipped, the last needs no newline. */
static void check_stream(const char *in, size_t n, const Options *o, const char *out,
                         size_t out_size, const char *err)
{
    unsigned char bad[257];
    reported_lines(err, bad);
    const int rewrites = o->each || o->edl;
    if (n >= 3 && memcmp(in, "\xEF\xBB\xBF", 3) == 0) {
        in += 3;
        n -= 3;
        if (rewrites) {
            CHECK(out_size >= 3 && memcmp(out, "\xEF\xBB\xBF", 3) == 0);
            out += 3;
            out_size -= 3;
        }
    }
    if (rewrites) {
        check_every_line(in, n, out, out_size);
        return;
    }
    const char *out_end = out + out_size, *end = in + n;
    for (unsigned long number = 1; in < end; number++) {
        size_t ending;
        const size_t length = (size_t)(line_end(in, end, &ending) - in);
        const int comment = length > 0 && in[0] == '#' && length <= STREAM_MAX_LINE;
        if (bad[number] ? o->align : (comment ? o->align : 1)) {
            const char *out_nl = memchr(out, '\n', (size_t)(out_end - out));
            const size_t got = (size_t)((out_nl ? out_nl : out_end) - out);
            /* No result for a bad line; a result for every good one. */
            CHECK(bad[number] || comment ? got == 0 : got > 0);
            out += got + (out_nl != NULL);
        }
        in += length + ending;
    }
    CHECK(out == out_end);
}

static void stream_lines(const char *text, size_t n, const Options *o, const ExprContext *context)
{
    if (n == 0)
        return;
    FILE *in = fmemopen((void *)text, n, "r");
    char *out = NULL, *err = NULL;
    size_t out_size = 0, err_size = 0;
    FILE *out_file = open_memstream(&out, &out_size), *err_file = open_memstream(&err, &err_size);
    CHECK(in && out_file && err_file);
    const int status = stream_run(in, out_file, err_file, o, context);
    fclose(in);
    fclose(out_file);
    fclose(err_file);
    CHECK(status == (err_size > 0 ? 2 : 0));
    check_stream(text, n, o, out, out_size, err);
    free(out);
    free(err);
}

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    Options o;
    options_of(data, &o);
    const ExprContext context = {&o.rate, options_per_foot(&o), o.from};
    const char *text = (const char *)data + 3;
    evaluate_whole(text, size - 3, &context);
    stream_lines(text, size - 3, &o, &context);
    return 0;
}
