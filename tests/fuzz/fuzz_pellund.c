/* libFuzzer target for Pellund: arbitrary text through tc2Frame, the count it gives
 * through tc2String, and back.
 *
 * Input: four bytes of flags (little-endian), then the text. */
#include "pellund.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "fuzz_check.h"

static const int32_t supported[] = {
    PELLUND_TYPE_FILM, PELLUND_TYPE_NDF, PELLUND_TYPE_DF, PELLUND_TYPE_PAL, PELLUND_TYPE_23_98,
};

static int is_supported(int32_t flags)
{
    for (size_t i = 0; i < sizeof supported / sizeof supported[0]; i++)
        if ((flags & PELLUND_TYPE_MASK) == supported[i])
            return 1;
    return 0;
}

/* Writes frames into an exactly PELLUND_TEXT_SIZE heap buffer, so ASan stops a 33rd
 * byte, and checks that the text reads back. */
static void write_and_read(int32_t frames, int32_t flags, int must_round_trip)
{
    char *text = malloc(PELLUND_TEXT_SIZE);
    CHECK(text != NULL);
    memset(text, 'x', PELLUND_TEXT_SIZE);
    const int32_t wrote = tc2String(frames, flags, text);
    const size_t length = strnlen(text, PELLUND_TEXT_SIZE);
    CHECK(length < PELLUND_TEXT_SIZE);
    if (!is_supported(flags)) {
        CHECK(wrote < 0);
        CHECK(length == 0);
        free(text);
        return;
    }
    CHECK(wrote == PELLUND_OK);
    CHECK(length > 0);
    if (must_round_trip) {
        /* Reading ignores the option bits: both the full flags and the type alone. */
        int32_t back = ~frames;
        CHECK(tc2Frame(text, flags, &back) == PELLUND_OK);
        CHECK(back == frames);
        back = ~frames;
        CHECK(tc2Frame(text, flags & PELLUND_TYPE_MASK, &back) == PELLUND_OK);
        CHECK(back == frames);
    }
    free(text);
}

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const int32_t flags = (int32_t)((uint32_t)data[0] | (uint32_t)data[1] << 8
                                    | (uint32_t)data[2] << 16 | (uint32_t)data[3] << 24);
    data += 4;
    size -= 4;

    char *text = malloc(size + 1);
    CHECK(text != NULL);
    memcpy(text, data, size);
    text[size] = '\0';

    const int32_t untouched = 0x2A2A2A2A;
    int32_t frames = untouched;
    const int32_t read = tc2Frame(text, flags, &frames);
    /* The library promises never to write the text. */
    CHECK(memcmp(text, data, size) == 0 && text[size] == '\0');
    free(text);

    const int32_t max = tc2Maximum(flags);
    if (!is_supported(flags)) {
        CHECK(read < 0);
        CHECK(frames == untouched);
        CHECK(max == 0);
        write_and_read(frames, flags, 0);
        return 0;
    }
    CHECK(max > 0);
    if (read < 0) {
        CHECK(frames == untouched);
        return 0;
    }
    CHECK(read == PELLUND_OK);

    /* Any count must fit; the round trip is promised within 24 hours either side. */
    write_and_read(frames, flags, frames > -max && frames < max);
    write_and_read(frames % max, flags, 1);
    /* The same count in every other type, with the input's options. */
    for (size_t i = 0; i < sizeof supported / sizeof supported[0]; i++) {
        const int32_t other = (flags & ~PELLUND_TYPE_MASK) | supported[i];
        write_and_read(frames, other, 0);
        write_and_read(frames % tc2Maximum(other), other, 1);
    }
    return 0;
}
