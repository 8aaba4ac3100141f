/* libFuzzer target for ostrel-tc's expression reader and the rates API behind it.
 *
 * Input: one byte choosing the rate, then the expression. */
#include "expr.h"

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
            CHECK(pellund_tc_frames(text, strlen(text), r, &back) == PELLUND_OK);
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

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const PellundRate *r = pellund_rate_at(data[0] % rate_count());
    const ExprContext context = {r, data[0] & 0x80 ? PELLUND_FEET_16MM : PELLUND_FEET_35MM};
    /* An exactly sized copy, so ASan stops any read past the expression. */
    char *text = malloc(size - 1 ? size - 1 : 1);
    CHECK(text != NULL);
    memcpy(text, data + 1, size - 1);
    int64_t frames = 0;
    ExprError error;
    const int ok = expr_evaluate(text, size - 1, &context, &frames, &error);
    free(text);
    if (!ok) {
        CHECK(error.message != NULL);
        CHECK(error.column >= 1 && error.column <= size);
        return 0;
    }
    CHECK(frames <= PELLUND_RATE_MAX_FRAMES && frames >= -PELLUND_RATE_MAX_FRAMES);
    write_all(frames, r);
    return 0;
}
