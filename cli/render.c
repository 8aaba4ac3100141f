/* Results at the output rate, in the output kind. */
#include "render.h"
#include "pellund_engine.h"

#include <stdio.h>
#include <string.h>

static int put_count(int64_t v, char *text)
{
    return snprintf(text, PELLUND_TEXT_SIZE, "%lld", (long long)v);
}

int render_result(int64_t frames, const Options *o, char *text)
{
    const PellundRate *rate = o->has_to_rate ? &o->to_rate : &o->rate;
    if (o->has_to_rate && !o->keep_frames
        && pellund_rate_convert(frames, &o->rate, &o->to_rate, &frames) != PELLUND_OK)
        return -1;
    int status = PELLUND_OK;
    switch (o->to) {
    case KIND_TC: {
        const int length = pellund_tc_text(frames, rate, o->tc_options, text);
        return length < 0 ? -1 : length;
    }
    case KIND_FRAMES:
        return frames <= PELLUND_RATE_MAX_FRAMES && frames >= -PELLUND_RATE_MAX_FRAMES
                   ? put_count(frames, text)
                   : -1;
    case KIND_SECONDS: status = pellund_seconds_string(frames, rate, text); break;
    case KIND_FEET35: status = pellund_feet_string(frames, PELLUND_FEET_35MM, text); break;
    case KIND_FEET16: status = pellund_feet_string(frames, PELLUND_FEET_16MM, text); break;
    }
    return status == PELLUND_OK ? (int)strlen(text) : -1;
}
