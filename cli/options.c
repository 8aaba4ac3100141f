/* Options and expression words may mix; after "--" every word is the expression's. */
#include "options.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char *const kinds[] = {"tc", "frames", "seconds", "feet35", "feet16"};

static int is_expression_start(const char *arg)
{
    /* "-5" and "-(...)" are expressions, not options. */
    return arg[0] != '-' || arg[1] == '\0' || (arg[1] >= '0' && arg[1] <= '9') || arg[1] == '('
           || arg[1] == ':' || arg[1] == '.';
}

static int kind_value(const char *value, Options *o)
{
    for (size_t i = 0; i < sizeof kinds / sizeof kinds[0]; i++)
        if (strcmp(value, kinds[i]) == 0) {
            o->to = (OutputKind)i;
            return 1;
        }
    return 0;
}

static int keep_value(const char *value, Options *o)
{
    o->keep_frames = strcmp(value, "frames") == 0;
    return o->keep_frames || strcmp(value, "duration") == 0;
}

static void rate_list(char *out, size_t size)
{
    size_t used = 0;
    out[0] = '\0';
    for (int i = 0; pellund_rate_at(i) && used < size; i++)
        used += (size_t)snprintf(out + used, size - used, "%s%s", i ? " " : "",
                                 pellund_rate_at(i)->name);
}

/* An option that takes a value; returns 1 when set, 0 with a message. */
static int valued(const char *name, const char *value, int at, Options *o, char *m, size_t size)
{
    if (strcmp(name, "--to") == 0) {
        if (kind_value(value, o))
            return 1;
        snprintf(m, size, "argument %d: unknown output '%s' for --to (tc, frames, seconds, feet35, feet16)", at, value);
        return 0;
    }
    if (strcmp(name, "--keep") == 0) {
        if (keep_value(value, o))
            return 1;
        snprintf(m, size, "argument %d: --keep takes frames or duration, not '%s'", at, value);
        return 0;
    }
    const PellundRate **rate = strcmp(name, "--rate") == 0 ? &o->rate : &o->to_rate;
    if ((*rate = pellund_rate_find(value)) != NULL)
        return 1;
    char rates[160];
    rate_list(rates, sizeof rates);
    snprintf(m, size, "argument %d: unknown rate '%s' for %s (rates: %s)", at, value, name, rates);
    return 0;
}

static int takes_value(const char *name)
{
    return strcmp(name, "--rate") == 0 || strcmp(name, "--to") == 0
           || strcmp(name, "--to-rate") == 0 || strcmp(name, "--keep") == 0;
}

/* One option word at argv[*i]; may take the next word as its value. */
static int option(int argc, char **argv, int *i, Options *o, char *m, size_t size, int *keep)
{
    const char *arg = argv[*i];
    char name[32];
    const char *eq = strchr(arg, '=');
    const size_t n = eq ? (size_t)(eq - arg) : strlen(arg);
    snprintf(name, sizeof name, "%.*s", (int)(n < sizeof name - 1 ? n : sizeof name - 1), arg);
    if (takes_value(name) && n < sizeof name) {
        const int at = *i;
        if (!eq && *i + 1 >= argc) {
            snprintf(m, size, "argument %d: %s needs a value", at, name);
            return 0;
        }
        *keep |= strcmp(name, "--keep") == 0;
        /* A bad value is named where it stands. */
        return valued(name, eq ? eq + 1 : argv[++*i], eq ? at : at + 1, o, m, size);
    }
    if (!eq && strcmp(arg, "--no-marks") == 0)
        o->tc_options &= ~PELLUND_MARKS;
    else if (!eq && strcmp(arg, "--no-leading") == 0)
        o->tc_options &= ~PELLUND_LEADING;
    else if (!eq && (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0))
        o->help = 1;
    else if (!eq && strcmp(arg, "--version") == 0)
        o->version = 1;
    else {
        snprintf(m, size, "argument %d: unknown option '%s'", *i, arg);
        return 0;
    }
    return 1;
}

int options_parse(int argc, char **argv, Options *o, char *message, size_t size)
{
    memset(o, 0, sizeof *o);
    o->rate = pellund_rate_find("29.97df");
    o->tc_options = PELLUND_MARKS | PELLUND_LEADING;
    int keep = 0, options_end = 0;
    o->words = malloc(sizeof *o->words * (size_t)(argc > 0 ? argc : 1));
    if (!o->words) {
        snprintf(message, size, "out of memory");
        return 0;
    }
    for (int i = 1; i < argc; i++) {
        if (options_end || is_expression_start(argv[i]))
            o->words[o->word_count++] = argv[i];
        else if (strcmp(argv[i], "--") == 0)
            options_end = 1;
        else if (!option(argc, argv, &i, o, message, size, &keep))
            return 0;
    }
    if (keep && !o->to_rate) {
        snprintf(message, size, "--keep needs --to-rate");
        return 0;
    }
    return 1;
}

int32_t options_per_foot(const Options *o)
{
    return o->to == OUTPUT_FEET16 ? PELLUND_FEET_16MM : PELLUND_FEET_35MM;
}

static int put_count(int64_t v, char *text)
{
    return snprintf(text, PELLUND_TEXT_SIZE, "%lld", (long long)v);
}

int options_render(int64_t frames, const Options *o, char *text)
{
    const PellundRate *rate = o->to_rate ? o->to_rate : o->rate;
    if (o->to_rate && !o->keep_frames
        && pellund_rate_convert(frames, o->rate, o->to_rate, &frames) != PELLUND_OK)
        return -1;
    int status = PELLUND_OK;
    switch (o->to) {
    case OUTPUT_TC: status = pellund_tc_string(frames, rate, o->tc_options, text); break;
    case OUTPUT_FRAMES: return put_count(frames, text);
    case OUTPUT_SECONDS: status = pellund_seconds_string(frames, rate, text); break;
    case OUTPUT_FEET35: status = pellund_feet_string(frames, PELLUND_FEET_35MM, text); break;
    case OUTPUT_FEET16: status = pellund_feet_string(frames, PELLUND_FEET_16MM, text); break;
    }
    return status == PELLUND_OK ? (int)strlen(text) : -1;
}
