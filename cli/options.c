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

static int kind_value(const char *value, int *kind)
{
    for (size_t i = 0; i < sizeof kinds / sizeof kinds[0]; i++)
        if (strcmp(value, kinds[i]) == 0) {
            *kind = (int)i;
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

static int rate_value(const char *name, const char *value, int at, Options *o, char *m,
                      size_t size)
{
    const int to = strcmp(name, "--to-rate") == 0;
    if (pellund_rate_parse(value, to ? &o->to_rate : &o->rate) == PELLUND_OK) {
        o->has_to_rate |= to;
        o->has_rate |= !to;
        return 1;
    }
    char rates[160];
    rate_list(rates, sizeof rates);
    snprintf(m, size, "argument %d: unknown rate '%s' for %s (rates: %s, 1 to 999, N/D or N/Ddf)", at, value,
             name, rates);
    return 0;
}

/* An option that takes a value; returns 1 when set, 0 with a message. */
static int valued(const char *name, const char *value, int at, Options *o, char *m, size_t size)
{
    int kind;
    if (strcmp(name, "--to") == 0 || strcmp(name, "--from") == 0) {
        if (kind_value(value, &kind)) {
            if (name[2] == 'f')
                o->from = kind;
            else
                o->to = (ValueKind)kind;
            return 1;
        }
        snprintf(m, size, "argument %d: unknown kind '%s' for %s (tc, frames, seconds, feet35, feet16)", at, value, name);
        return 0;
    }
    if (strcmp(name, "--keep") == 0) {
        if (keep_value(value, o))
            return 1;
        snprintf(m, size, "argument %d: --keep takes frames or duration, not '%s'", at, value);
        return 0;
    }
    return rate_value(name, value, at, o, m, size);
}

static int takes_value(const char *name)
{
    static const char *const names[] = {"--rate", "--to", "--to-rate", "--keep", "--from"};
    for (size_t i = 0; i < sizeof names / sizeof names[0]; i++)
        if (strcmp(name, names[i]) == 0)
            return 1;
    return 0;
}

/* A flag option; 0 when arg is none. */
static int flag(const char *arg, Options *o)
{
    if (strcmp(arg, "--no-marks") == 0)
        o->tc_options &= ~PELLUND_MARKS;
    else if (strcmp(arg, "--no-leading") == 0)
        o->tc_options &= ~PELLUND_LEADING;
    else if (strcmp(arg, "--align") == 0)
        o->align = 1;
    else if (strcmp(arg, "--each") == 0)
        o->each = 1;
    else if (strcmp(arg, "--edl") == 0)
        o->edl = 1;
    else if (strcmp(arg, "--wrap") == 0)
        o->wrap = 1;
    else if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0)
        o->help = 1;
    else if (strcmp(arg, "--version") == 0)
        o->version = 1;
    else
        return 0;
    return 1;
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
    if (!eq && flag(arg, o))
        return 1;
    snprintf(m, size, "argument %d: unknown option '%s'", *i, arg);
    return 0;
}

/* What --edl writes is a list: time codes as lists write them, at one rate. */
static int edl_consistent(Options *o, char *message, size_t size)
{
    const char *other = o->each                          ? "--each"
                        : o->word_count > 0               ? "an expression"
                        : o->to != KIND_TC                ? "--to"
                        : o->from != FROM_MIXED           ? "--from"
                        : !(o->tc_options & PELLUND_MARKS)   ? "--no-marks"
                        : !(o->tc_options & PELLUND_LEADING) ? "--no-leading"
                                                          : NULL;
    if (other)
        snprintf(message, size, "--edl converts a list from standard input; %s does not go with it",
                 other);
    else if (!o->has_rate)
        snprintf(message, size, "--edl needs --rate, the rate of the list");
    else {
        if (!o->has_to_rate)
            o->to_rate = o->rate;
        o->has_to_rate = 1;
        return 1;
    }
    return 0;
}

/* Options that cannot go together. */
static int consistent(Options *o, int keep, char *message, size_t size)
{
    if (keep && !o->has_to_rate && !o->edl)
        snprintf(message, size, "--keep needs --to-rate");
    else if (o->each && o->from != FROM_MIXED && o->from != KIND_TC)
        snprintf(message, size, "--each converts time codes; --from %s does not go with it",
                 kinds[o->from]);
    else if (o->wrap && o->to != KIND_TC)
        snprintf(message, size, "--wrap writes time codes on a 24-hour clock; --to %s does not go with it",
                 kinds[o->to]);
    else
        return !o->edl || edl_consistent(o, message, size);
    return 0;
}

int options_parse(int argc, char **argv, Options *o, char *message, size_t size)
{
    memset(o, 0, sizeof *o);
    pellund_rate_parse("29.97df", &o->rate);
    o->from = FROM_MIXED;
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
    return consistent(o, keep, message, size);
}

int32_t options_per_foot(const Options *o)
{
    if (o->from == KIND_FEET35 || o->from == KIND_FEET16)
        return o->from == KIND_FEET16 ? PELLUND_FEET_16MM : PELLUND_FEET_35MM;
    return o->to == KIND_FEET16 ? PELLUND_FEET_16MM : PELLUND_FEET_35MM;
}

const char *rate_label(const PellundRate *r, char *text)
{
    if (r->name)
        return r->name;
    if (r->den == 1)
        snprintf(text, 24, "%d", (int)r->num);
    else
        snprintf(text, 24, "%d/%d", (int)r->num, (int)r->den);
    return text;
}
