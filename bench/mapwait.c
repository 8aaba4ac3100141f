/* Times a program from exec to its first top-level window being mapped, and reads its
 * resident size once the window is up. Uses X events (MapNotify on the root window), not
 * polling. Usage: mapwait RUNS TITLE -- PROGRAM [ARGS...]; TITLE "-" takes any window.
 * Prints one line per run: "<milliseconds> <resident KiB>". */
#define _POSIX_C_SOURCE 200809L
#include <xcb/xcb.h>

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static int title_matches(xcb_connection_t *c, xcb_window_t w, const char *title)
{
    if (strcmp(title, "-") == 0)
        return 1;
    xcb_get_property_reply_t *r = xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), NULL);
    int match = 0;
    if (r) {
        int len = xcb_get_property_value_length(r);
        char name[1025] = {0};
        memcpy(name, xcb_get_property_value(r), len > 1024 ? 1024 : len);
        match = strstr(name, title) != NULL;
        free(r);
    }
    return match;
}

static long rss_kib(pid_t pid)
{
    char path[64], line[256];
    long kib = -1;
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *f = fopen(path, "r");
    if (!f)
        return -1;
    while (fgets(line, sizeof line, f))
        if (sscanf(line, "VmRSS: %ld", &kib) == 1)
            break;
    fclose(f);
    return kib;
}

static int one_run(xcb_connection_t *c, const char *title, char **argv)
{
    xcb_flush(c);
    double start = now_ms();
    pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        _exit(127);
    }
    double mapped = -1;
    xcb_generic_event_t *e;
    while (mapped < 0 && now_ms() - start < 20000 && (e = xcb_wait_for_event(c))) {
        if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            xcb_map_notify_event_t *m = (xcb_map_notify_event_t *)e;
            if (!m->override_redirect && title_matches(c, m->window, title))
                mapped = now_ms() - start;
        }
        free(e);
    }
    struct timespec settle = {1, 0}; /* let it settle before reading its size */
    nanosleep(&settle, NULL);
    long kib = rss_kib(pid);
    kill(pid, SIGTERM);
    waitpid(pid, NULL, 0);
    printf("%.1f %ld\n", mapped, kib);
    fflush(stdout);
    return mapped >= 0;
}

int main(int argc, char **argv)
{
    if (argc < 5 || strcmp(argv[3], "--") != 0) {
        fprintf(stderr, "usage: %s RUNS TITLE -- PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    int runs = atoi(argv[1]);
    xcb_connection_t *c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c)) {
        fprintf(stderr, "no X display\n");
        return 2;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    int ok = 1;
    for (int i = 0; i < runs; i++)
        ok &= one_run(c, argv[2], argv + 4);
    xcb_disconnect(c);
    return ok ? 0 : 1;
}
