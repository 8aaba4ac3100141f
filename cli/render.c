/* Results at the output rate, in the output kind. */
#include "render.h"
#include "pellund_engine.h"

#include <stdio.h>
#include <string.h>

static int put_count(int64_t v, char *text)
{
    return snprintf(text, PELLUND_TEXT_SIZE, "%lld", (long long)v);
}

const PellundRate *output_rate(const Options *o)
{
    return o->has_to_rate ? &o->to_rate : &o->rate;
}

int output_count(int64_t frames, const PellundRate *from, const Options *o, int64_t *out)
{
    if (!o->has_to_rate || o->keep_frames) {
        *out = frames;
        return 1;
    }
    return pellund_rate_convert(frames, from, &o->to_rate, out) == PELLUND_OK;
}

int64_t day_frames(const PellundRate *r)
{
    return (int64_t)r->labels * 86400 - (int64_t)r->drop * 9 * 144;
}

/* frames on a 24-hour clock. */
static int64_t time_of_day(int64_t frames, const PellundRate *r)
{
    const int64_t day = day_frames(r);
    const int64_t t = frames % day;
    return t < 0 ? t + day : t;
}

int render_count(int64_t frames, const Options *o, char *text)
{
    const PellundRate *rate = output_rate(o);
    int status = PELLUND_OK;
    switch (o->to) {
    case KIND_TC: {
        if (o->wrap && frames <= PELLUND_RATE_MAX_FRAMES && frames >= -PELLUND_RATE_MAX_FRAMES)
            frames = time_of_day(frames, rate);
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

int render_result(int64_t frames, const Options *o, char *text)
{
    return output_count(frames, &o->rate, o, &frames) ? render_count(frames, o, text) : -1;
}
