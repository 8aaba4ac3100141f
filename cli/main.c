/* ostrel-tc: time code arithmetic for scripts, on the calculator's own conversion library. */
#include "binary_stdio.h"
#include "each.h"
#include "expr.h"
#include "options.h"
#include "stream.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char usage[] =
    "Usage: ostrel-tc [OPTION]... [EXPR...]\n"
    "   or: ostrel-tc --edl --rate R [OPTION]... < LIST.edl\n"
    "Evaluate a time code expression in whole frames and print the result.\n"
    "With no EXPR, read one expression a line from standard input.\n"
    "\n"
    "  --rate R              rate of the expression (default 29.97df)\n"
    "  --to KIND             write tc (default), frames, seconds, feet35 or feet16\n"
    "  --from KIND           read unmarked values as KIND, as --to writes them\n"
    "  --to-rate R           write the result at rate R\n"
    "  --keep frames|duration  what --to-rate keeps (default duration)\n"
    "  --no-marks            time codes without separators\n"
    "  --no-leading          time codes without leading zeros\n"
    "  --align               one output line per input line, empty where in error\n"
    "  --each                convert every time code within each line, keep the rest\n"
    "  --edl                 convert a CMX 3600 list at --rate, drop frame as its FCM\n"
    "                        lines say; out points are in points plus lengths\n"
    "  --wrap                time codes on a 24-hour clock\n"
    "  --help                show this help and exit\n"
    "  --version             show the version and exit\n"
    "\n"
    "Rates: 23.976 (or 23.98) 24 25 29.97 29.97df 30 47.952 48 50 59.94 59.94df 60\n"
    "119.88df 120, also 119.88, any whole number 1 to 999, any N/D such as 24000/1001\n"
    "and 30000/1001df. Only the names ending in df are drop frame; 29.97ndf and\n"
    "59.94ndf are 29.97 and 59.94. ';' marks drop frame, and a label drop frame\n"
    "skips is an error.\n"
    "Values: time codes 01:00:00;00, frame counts 123, feet+frames 112+08 or 1+2\n"
    "(a + between digits; write 5 + 3 to add), real times 12.5s or 1:02:03.5s;\n"
    "operators + - * / and ( ). Products and quotients need a plain number or a\n"
    "factor on one side; beside * x / a decimal is a factor (250 * 1.5 is 375),\n"
    "elsewhere seconds and frames. They round to the nearest frame. Lines end at\n"
    "CR LF, LF or CR; lines starting with # are comments; a line may hold 1 MiB.\n"
    "Errors go to standard error with their position; the exit status is then 2.\n"
    "--each and --edl keep what they cannot read as it was.\n"
    "\n"
    "Examples:\n"
    "  $ ostrel-tc '01:00:00;00' + 10\n"
    "  01:00:00;10\n"
    "  $ ostrel-tc --rate 23.98 --to frames 01:00:00:00\n"
    "  86400\n"
    "  $ ostrel-tc --rate 25 --from tc --to-rate 50 01000012\n"
    "  01:00:00:24\n"
    "  $ printf '00:00:01;00\\nq\\n' | ostrel-tc --align --to frames | paste -s -d,\n"
    "  30,\n"
    "  $ ostrel-tc --rate 25 01:00:00:00 '*' 1.5\n"
    "  01:30:00:00\n";

/* The words of the expression, joined by blanks as the shell split them. */
static char *joined(char **words, int count, size_t *length)
{
    size_t n = 0;
    for (int i = 0; i < count; i++)
        n += strlen(words[i]) + 1;
    char *text = malloc(n + 1 + EACH_ROOM(n)); /* the rewriting of --each goes after it */
    if (!text)
        return NULL;
    char *p = text;
    for (int i = 0; i < count; i++) {
        const size_t k = strlen(words[i]);
        memcpy(p, words[i], k);
        p += k;
        *p++ = ' ';
    }
    *length = n ? n - 1 : 0;
    text[*length] = '\0';
    return text;
}

/* A problem of the words under --each: its message, and the exit status it leaves. */
static void report_word(void *status, size_t column, const char *message)
{
    const ExprError error = {message, column, ""};
    fflush(stdout);
    report_error(stderr, "", &error);
    *(int *)status = 2;
}

/* The result of the words, or with --each the words rewritten, on standard output. */
static int evaluate_words(const Options *o, const ExprContext *c)
{
    size_t length;
    char *text = joined(o->words, o->word_count, &length);
    if (!text) {
        fprintf(stderr, "ostrel-tc: out of memory\n");
        return 2;
    }
    int status = 0;
    if (o->each) {
        const Reporter reporter = {report_word, &status};
        char *rewritten = text + length + 1;
        const size_t n = each_rewrite(text, length, o, rewritten, &reporter);
        printf("%.*s\n", (int)n, rewritten);
    } else {
        ExprError error;
        char result[PELLUND_TEXT_SIZE];
        const int n = evaluate_to_text(text, length, c, o, result, &error);
        if (n >= 0)
            printf("%.*s\n", n, result);
        else
            report_error(stderr, "", &error);
        status = n >= 0 ? 0 : 2;
    }
    free(text);
    return status;
}

static int run(const Options *o)
{
    if (o->help) {
        fputs(usage, stdout);
        return 0;
    }
    if (o->version) {
        puts("ostrel-tc " OSTREL_VERSION);
        return 0;
    }
    const ExprContext context = {&o->rate, options_per_foot(o), o->from};
    return o->word_count > 0 ? evaluate_words(o, &context)
                             : stream_run(stdin, stdout, stderr, o, &context);
}

int main(int argc, char **argv)
{
    Options o;
    char message[512];
    int status = 2;
    binary_stdio();
    if (options_parse(argc, argv, &o, message, sizeof message))
        status = run(&o);
    else
        fprintf(stderr, "ostrel-tc: %s\n", message);
    free(o.words);
    if (fflush(stdout) != 0 || ferror(stdout)) {
        fprintf(stderr, "ostrel-tc: cannot write the results\n");
        return 2;
    }
    return status;
}
