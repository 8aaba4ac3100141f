/* Lines are read and results written in large blocks: a million lines is one process
 * and a few hundred system calls. */
#include "stream.h"
#include "each.h"
#include "edl.h"
#include "render.h"

#include <stdlib.h>
#include <string.h>

#ifndef STREAM_BLOCK
#define STREAM_BLOCK (1 << 20)
#endif
#define BLOCK STREAM_BLOCK

typedef struct Stream {
    FILE *file, *err;
    const Options *o;
    const ExprContext *context;
    char *rewritten; /* --each and --edl: room for one rewritten line */
    Edl edl;
    Reporter reporter; /* a rewritten line's problems, with its number */
    unsigned long number;
    int status;
    size_t used;
    char data[BLOCK];
} Stream;

static void flush(Stream *st)
{
    fwrite(st->data, 1, st->used, st->file);
    st->used = 0;
}

static void emit(Stream *st, const char *s, size_t n)
{
    if (st->used + n > BLOCK)
        flush(st);
    if (n > BLOCK) {
        fwrite(s, 1, n, st->file);
        return;
    }
    memcpy(st->data + st->used, s, n);
    st->used += n;
}

void report_error(FILE *err, const char *where, const ExprError *error)
{
    fprintf(err, "ostrel-tc: %scolumn %zu: %s\n", where, error->column, error->message);
}

int evaluate_to_text(const char *s, size_t n, const ExprContext *context, const Options *o,
                     char *text, ExprError *error)
{
    int64_t frames;
    if (!expr_evaluate(s, n, context, &frames, error))
        return -1;
    const int length = render_result(frames, o, text);
    if (length < 0) {
        error->message = "result out of range for the output";
        error->column = 1;
    }
    return length;
}

/* Errors stay in order with the results before them. */
static void report_line(Stream *st, const ExprError *error)
{
    char where[40];
    flush(st);
    fflush(st->file);
    snprintf(where, sizeof where, "line %lu, ", st->number);
    report_error(st->err, where, error);
    st->status = 2;
}

static void report_in_line(void *context, size_t column, const char *message)
{
    const ExprError error = {message, column, ""};
    report_line(context, &error);
}

/* A line in error: its message, and under --align its empty line. */
static void bad_line(Stream *st, const ExprError *error)
{
    report_line(st, error);
    if (st->o->align)
        emit(st, "\n", 1);
}

/* --each and --edl write every line, its problems kept as they were, and its own end. */
static void rewrite_line(Stream *st, const char *s, size_t n, const char *ending, size_t size)
{
    if (st->o->edl) {
        emit(st, st->rewritten, edl_rewrite(&st->edl, s, n, ending, size, st->rewritten, &st->reporter));
        return;
    }
    size_t length = n;
    if (n > 0 && s[0] == '#')
        memcpy(st->rewritten, s, n);
    else
        length = each_rewrite(s, n, st->o, st->rewritten, &st->reporter);
    emit(st, st->rewritten, length);
    emit(st, ending, size);
}

static int rewrites(const Stream *st)
{
    return st->o->each || st->o->edl;
}

/* The n bytes at s, then their line end: size bytes at ending. */
static void line(Stream *st, const char *s, size_t n, const char *ending, size_t size)
{
    st->number++;
    if (rewrites(st)) {
        rewrite_line(st, s, n, ending, size);
        return;
    }
    if (n > 0 && s[0] == '#') {
        if (st->o->align)
            emit(st, "\n", 1);
        return;
    }
    ExprError error;
    if (st->used + PELLUND_TEXT_SIZE + 1 > BLOCK)
        flush(st);
    const int length = evaluate_to_text(s, n, st->context, st->o, st->data + st->used, &error);
    if (length < 0) {
        bad_line(st, &error);
        return;
    }
    st->used += (size_t)length;
    st->data[st->used++] = '\n';
}

/* A line held back by --edl is written before what passes it. */
static void release(Stream *st)
{
    if (st->o->edl)
        emit(st, st->rewritten, edl_release(&st->edl, st->rewritten));
}

/* A line too long to read: reported once; --each and --edl write it out as it was, part by
 * part as it passes, since no line of the user's is lost. */
static void too_long(Stream *st)
{
    const ExprError error = {"line too long", STREAM_MAX_LINE + 1, ""};
    st->number++;
    if (rewrites(st)) {
        release(st);
        report_line(st, &error);
    } else {
        bad_line(st, &error);
    }
}

static void pass(Stream *st, const char *s, size_t n, const char *ending, size_t size)
{
    if (!rewrites(st))
        return;
    release(st);
    emit(st, s, n);
    emit(st, ending, size);
}

static Stream *stream_open(FILE *out, FILE *err, const Options *o, const ExprContext *context)
{
    Stream *st = malloc(sizeof *st);
    if (!st)
        return NULL;
    st->file = out;
    st->err = err;
    st->o = o;
    st->context = context;
    st->rewritten = NULL;
    st->number = 0;
    st->status = 0;
    st->used = 0;
    st->reporter = (Reporter){report_in_line, st};
    edl_start(&st->edl, o);
    if (rewrites(st) && !(st->rewritten = malloc(EDL_ROOM(STREAM_MAX_LINE)))) {
        free(st);
        return NULL;
    }
    return st;
}

/* Every complete line of [start, end) in buffer; returns where the rest begins. CR LF, LF
 * and a CR alone each end a line; a CR that ends the data waits for what follows it, unless
 * the input ends there. Lists without a CR pay one search a block for it. */
static size_t lines(Stream *st, const char *buffer, size_t start, size_t end, int last,
                    int *skipping)
{
    const char *p = buffer + start, *stop = buffer + end;
    const char *cr = memchr(p, '\r', (size_t)(stop - p));
    for (;;) {
        const char *at = memchr(p, '\n', (size_t)(stop - p));
        size_t size = 1;
        if (cr && (!at || cr < at)) {
            if (cr + 1 == stop && !last)
                break;
            at = cr;
            size = cr + 1 < stop && cr[1] == '\n' ? 2 : 1;
        } else if (!at) {
            break;
        }
        const size_t n = (size_t)(at - p);
        if (*skipping) {
            *skipping = 0; /* the end of the line already reported */
            pass(st, p, n, at, size);
        } else if (n > STREAM_MAX_LINE) {
            too_long(st);
            pass(st, p, n, at, size);
        } else {
            line(st, p, n, at, size);
        }
        p = at + size;
        if (cr && cr < p)
            cr = memchr(p, '\r', (size_t)(stop - p));
    }
    return (size_t)(p - buffer);
}

/* A byte order mark opens the input, not its first line; --each and --edl write it back. */
static size_t skip_mark(Stream *st, const char *buffer, size_t end)
{
    if (end < 3 || memcmp(buffer, "\xEF\xBB\xBF", 3) != 0)
        return 0;
    if (rewrites(st))
        emit(st, buffer, 3);
    return 3;
}

static void read_all(Stream *st, FILE *in, char *buffer)
{
    size_t kept = 0;
    int skipping = 0, first = 1;
    for (;;) {
        const size_t got = fread(buffer + kept, 1, BLOCK, in), end = kept + got;
        const size_t start = lines(st, buffer, first ? skip_mark(st, buffer, end) : 0, end,
                                   got == 0, &skipping);
        first = 0;
        kept = end - start;
        if (got == 0) {
            /* The last line needs no line end. */
            if (kept > 0 && skipping)
                pass(st, buffer + start, kept, "", 0);
            else if (kept > 0)
                line(st, buffer + start, kept, "", 0);
            return;
        }
        if (kept > STREAM_MAX_LINE) {
            if (!skipping)
                too_long(st);
            /* Only its last byte can be a CR, which may begin a CR LF: it waits. */
            const size_t held = buffer[end - 1] == '\r';
            pass(st, buffer + start, kept - held, "", 0);
            skipping = 1;
            memmove(buffer, buffer + end - held, held);
            kept = held;
            continue;
        }
        memmove(buffer, buffer + start, kept);
    }
}

int stream_run(FILE *in, FILE *out, FILE *err, const Options *o, const ExprContext *context)
{
    char *buffer = malloc(BLOCK + STREAM_MAX_LINE);
    Stream *st = stream_open(out, err, o, context);
    if (!buffer || !st) {
        fprintf(err, "ostrel-tc: out of memory\n");
        free(buffer);
        free(st);
        return 2;
    }
    read_all(st, in, buffer);
    if (st->rewritten)
        release(st);
    flush(st);
    const int status = st->status;
    free(st->rewritten);
    free(buffer);
    free(st);
    return status;
}
