/* Lines are read and results written in large blocks: a million lines is one process
 * and a few hundred system calls. */
#include "stream.h"

#include <stdlib.h>
#include <string.h>

#define BLOCK (1 << 20)
/* A longer line is reported, not buffered without end. */
#define MAX_LINE BLOCK

typedef struct Output {
    FILE *file;
    char data[BLOCK];
    size_t used;
} Output;

static void flush(Output *o)
{
    fwrite(o->data, 1, o->used, o->file);
    o->used = 0;
}

void report_error(const char *where, const ExprError *error)
{
    fprintf(stderr, "ostrel-tc: %scolumn %zu: %s\n", where, error->column, error->message);
}

int evaluate_to_text(const char *s, size_t n, const Options *o, const ExprContext *context,
                     char *text, ExprError *error)
{
    int64_t frames;
    if (!expr_evaluate(s, n, context, &frames, error))
        return -1;
    const int length = options_render(frames, o, text);
    if (length < 0)
        *error = (ExprError){"result out of range for the output", 1};
    return length;
}

static void report_line(unsigned long number, const ExprError *error, Output *out)
{
    char where[40];
    flush(out); /* errors stay in order with the results before them */
    fflush(out->file);
    snprintf(where, sizeof where, "line %lu, ", number);
    report_error(where, error);
}

/* Evaluates one line; returns 0 when it was in error. */
static int line(const char *s, size_t n, unsigned long number, Output *out, const Options *o,
                const ExprContext *context)
{
    ExprError error = {NULL, 0};
    if (out->used + PELLUND_TEXT_SIZE + 1 > BLOCK)
        flush(out);
    const int length = evaluate_to_text(s, n, o, context, out->data + out->used, &error);
    if (length < 0) {
        report_line(number, &error, out);
        return 0;
    }
    out->used += (size_t)length;
    out->data[out->used++] = '\n';
    return 1;
}

int stream_run(FILE *in, FILE *out, const Options *o, const ExprContext *context)
{
    char *buffer = malloc(BLOCK + MAX_LINE);
    Output *output = malloc(sizeof *output);
    if (!buffer || !output) {
        fprintf(stderr, "ostrel-tc: out of memory\n");
        free(buffer);
        free(output);
        return 2;
    }
    output->file = out;
    output->used = 0;
    size_t kept = 0;
    unsigned long number = 0;
    int status = 0, skipping = 0;
    for (;;) {
        const size_t got = fread(buffer + kept, 1, BLOCK, in);
        const size_t end = kept + got;
        size_t start = 0;
        for (char *nl; (nl = memchr(buffer + start, '\n', end - start)) != NULL;) {
            const size_t n = (size_t)(nl - buffer) - start;
            if (skipping)
                skipping = 0; /* the end of the line already reported */
            else if (!line(buffer + start, n, ++number, output, o, context))
                status = 2;
            start += n + 1;
        }
        kept = end - start;
        if (got == 0) {
            /* The last line needs no newline. */
            if (kept > 0 && !skipping && !line(buffer + start, kept, ++number, output, o, context))
                status = 2;
            break;
        }
        if (kept >= MAX_LINE) {
            if (!skipping) {
                const ExprError error = {"line too long", MAX_LINE + 1};
                report_line(++number, &error, output);
                status = 2;
            }
            skipping = 1;
            kept = 0;
            continue;
        }
        memmove(buffer, buffer + start, kept);
    }
    flush(output);
    free(buffer);
    free(output);
    return status;
}
