/*
 * Bare libavutil peer for stream_bench.sh: reads lines "A + B" (29.97 drop
 * frame labels) on stdin and writes A + B as a label on stdout, one per line.
 * It does only what the benchmark compares, with as little overhead as plain
 * C allows, so it sets the bar for ostrel-tc's stream mode.
 */
#include <libavutil/rational.h>
#include <libavutil/timecode.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum {
    IN_SIZE = 1 << 20,
    OUT_SIZE = 1 << 20,
    /* Room one result needs: the label plus the newline. */
    OUT_SLACK = AV_TIMECODE_STR_SIZE + 1,
};

/* Static so the large buffers stay off the stack. */
static char in_buf[IN_SIZE + 1];
static char out_buf[OUT_SIZE];
static size_t out_len;
static int write_failed;

static void flush_out(void)
{
    if (out_len > 0 && fwrite(out_buf, 1, out_len, stdout) != out_len)
        write_failed = 1;
    out_len = 0;
}

static void put_text(const char *text)
{
    size_t n = strlen(text);
    if (OUT_SIZE - out_len < n + 1)
        flush_out();
    memcpy(out_buf + out_len, text, n);
    out_len += n;
    out_buf[out_len++] = '\n';
}

/*
 * line is NUL-terminated. Returns 0 on success, -1 when either side does not
 * parse; the caller still writes a line then so outputs stay aligned.
 */
static int do_line(char *line)
{
    const AVRational rate = {30000, 1001};
    AVTimecode a, b;
    char *plus = strchr(line, '+');

    if (!plus) {
        put_text("error");
        return -1;
    }
    /* Cut the line so sscanf inside libavutil never scans past A. */
    *plus = '\0';
    if (av_timecode_init_from_string(&a, rate, line, NULL) < 0
        || av_timecode_init_from_string(&b, rate, plus + 1, NULL) < 0) {
        put_text("error");
        return -1;
    }

    if (OUT_SIZE - out_len < OUT_SLACK)
        flush_out();
    /* make_string adds a.start itself, so passing b.start yields the sum. */
    av_timecode_make_string(&a, out_buf + out_len, b.start);
    out_len += strlen(out_buf + out_len);
    out_buf[out_len++] = '\n';
    return 0;
}

int main(void)
{
    size_t have = 0; /* bytes of an unfinished line kept at the buffer start */
    long errors = 0;

    for (;;) {
        size_t got = fread(in_buf + have, 1, IN_SIZE - have, stdin);
        size_t end = have + got;
        size_t start = 0;
        char *nl;

        if (got == 0) {
            /* A last line without a newline still counts. */
            if (have > 0) {
                in_buf[have] = '\0';
                errors += do_line(in_buf) < 0;
            }
            break;
        }
        while ((nl = memchr(in_buf + start, '\n', end - start)) != NULL) {
            *nl = '\0';
            if (nl > in_buf + start)
                errors += do_line(in_buf + start) < 0;
            start = (size_t)(nl - in_buf) + 1;
        }
        have = end - start;
        if (have == IN_SIZE) {
            fputs("bench_avutil_tc: line longer than the input buffer\n", stderr);
            return 1;
        }
        memmove(in_buf, in_buf + start, have);
    }
    if (ferror(stdin)) {
        perror("bench_avutil_tc: read");
        return 1;
    }

    flush_out();
    if (write_failed || fflush(stdout) != 0) {
        perror("bench_avutil_tc: write");
        return 1;
    }
    if (errors > 0) {
        fprintf(stderr, "bench_avutil_tc: %ld lines did not parse\n", errors);
        return 1;
    }
    return 0;
}
