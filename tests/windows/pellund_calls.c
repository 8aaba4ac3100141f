/* Makes the window's three calls to the conversion library on every frame of a day, and a
 * few hundred frames either side, at each standard and display option, and prints one hash
 * of all they give per standard and option: two builds of the library agree when their
 * lines do.
 *   pellund_calls LIBRARY_PATH      prints "standard options frames hash" lines */
#include "pellund.h"

#include <inttypes.h>
#include <stdio.h>
#include <string.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

typedef void (*AnyFn)(void);
typedef int32_t (*MaximumFn)(int32_t);
typedef int32_t (*StringFn)(int32_t, int32_t, char *);
typedef int32_t (*FrameFn)(char *, int32_t, int32_t *);

/* The library at exactly this path, as the program loads it: never one a search path finds. */
#ifdef _WIN32
static HMODULE library;
static int open_library(const char *path)
{
    wchar_t wide[MAX_PATH], full[MAX_PATH];
    return MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH)
           && GetFullPathNameW(wide, MAX_PATH, full, NULL) < MAX_PATH
           && (library = LoadLibraryW(full)) != NULL;
}
static AnyFn symbol(const char *name) { return (AnyFn)GetProcAddress(library, name); }
#else
static void *library;
static int open_library(const char *path)
{
    return strchr(path, '/') && (library = dlopen(path, RTLD_NOW | RTLD_LOCAL)) != NULL;
}
static AnyFn symbol(const char *name) { return (AnyFn)dlsym(library, name); }
#endif

static uint64_t hash;

static void fold(const void *p, size_t n)
{
    for (const unsigned char *b = p; n--; b++)
        hash = (hash ^ *b) * UINT64_C(0x100000001b3);
}

static void fold_int(int32_t v)
{
    fold(&v, sizeof v);
}

static StringFn to_text;
static FrameFn to_frames;

/* Reads text back; a refusal must leave the count as it was, so it starts as something else. */
static void read_back(char *text, int32_t flags, int32_t n)
{
    int32_t frames = ~n;
    fold_int(to_frames(text, flags, &frames));
    fold_int(frames);
}

static void calls(int32_t n, int32_t flags)
{
    char text[PELLUND_TEXT_SIZE] = {0}; /* the window's buffer: 32 NULs */
    char typed[PELLUND_TEXT_SIZE] = {0}, joined[2 * PELLUND_TEXT_SIZE] = {0};
    fold_int(to_text(n, flags, text));
    /* The text; the digits typed into the entry; both run together after a blank, which
     * reaches the counts past 32 bits that saturate, and texts cut short at a '-'. */
    snprintf(typed, sizeof typed, "%" PRId32, n);
    snprintf(joined, sizeof joined, " %" PRId32 "%s", n, text);
    read_back(text, flags, n);
    read_back(typed, flags, n);
    read_back(joined, flags, n);
    /* After the reading, which must not have written it; the window shows all 32 bytes. */
    fold(text, sizeof text);
}

int main(int argc, char **argv)
{
    if (argc != 2 || !open_library(argv[1])) {
        fprintf(stderr, "usage: pellund_calls LIBRARY_PATH (a library that loads)\n");
        return 2;
    }
    const MaximumFn maximum = (MaximumFn)symbol("tc2Maximum");
    to_text = (StringFn)symbol("tc2String");
    to_frames = (FrameFn)symbol("tc2Frame");
    if (!maximum || !to_text || !to_frames) {
        fprintf(stderr, "pellund_calls: %s lacks one of the three functions\n", argv[1]);
        return 2;
    }
    /* Each standard's frames in 24 hours; raw frame count (type 0) has the window's own. */
    static const struct { int32_t type, day; } standards[] = {
        {PELLUND_TYPE_FILM, 2073600}, {PELLUND_TYPE_23_98, 2073600}, {PELLUND_TYPE_NDF, 2592000},
        {PELLUND_TYPE_DF, 2589408},   {PELLUND_TYPE_PAL, 2160000},   {0, 2592000}};
    static const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, INT32_MAX - 1, INT32_MAX};
    for (size_t s = 0; s < sizeof standards / sizeof standards[0]; s++)
        /* The two option bits are adjacent: these steps give each of their combinations. */
        for (int32_t options = 0; options <= (PELLUND_MARKS | PELLUND_LEADING);
             options += PELLUND_MARKS) {
            const int32_t flags = standards[s].type | options;
            long count = 0;
            hash = UINT64_C(0xcbf29ce484222325);
            fold_int(maximum(flags));
            for (int32_t n = -300; n <= standards[s].day + 300; n++, count++)
                calls(n, flags);
            for (size_t e = 0; e < sizeof extremes / sizeof extremes[0]; e++, count++)
                calls(extremes[e], flags);
            printf("%d 0x%05x %ld %016" PRIx64 "\n", (int)standards[s].type, (unsigned)options,
                   count, hash);
        }
    return fflush(stdout) == 0 ? 0 : 1;
}
