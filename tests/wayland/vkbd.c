/* A keyboard as the compositor sees a real one: uploads the standard evdev/pc105/us keymap
 * and sends evdev key codes, with the modifier state a real keyboard's would give.
 *   vkbd WORD...   WORD: a key name ("5", "kp+", "end"), "shift+8" with Shift held,
 *                  "hold:5:1200" a key held down for 1200 ms, "wait:300" a pause. */
#define _GNU_SOURCE
#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

struct names { const char *name; unsigned code; };

static const struct names keys[] = {
    {"1", 2}, {"2", 3}, {"3", 4}, {"4", 5}, {"5", 6}, {"6", 7}, {"7", 8}, {"8", 9},
    {"9", 10}, {"0", 11}, {"esc", 1}, {"bksp", 14}, {"end", 107}, {"del", 111},
    {"kp+", 78}, {"kp-", 74}, {"kp*", 55}, {"kp/", 98}, {"kp1", 79}, {"o", 24},
    {"shift", 42}, {"alt", 56}, {"ctrl", 29}, {NULL, 0},
};

static struct wl_seat *seat;
static struct zwp_virtual_keyboard_manager_v1 *manager;
static struct zwp_virtual_keyboard_v1 *keyboard;
static struct wl_display *display;
static struct xkb_state *state;

static void global(void *data, struct wl_registry *registry, uint32_t name,
                   const char *interface, uint32_t version)
{
    (void)data; (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0 && !seat)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
}

static void global_remove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data; (void)registry; (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

static unsigned code_of(const char *name)
{
    for (const struct names *k = keys; k->name; ++k)
        if (strcmp(k->name, name) == 0)
            return k->code;
    fprintf(stderr, "vkbd: unknown key \"%s\"\n", name);
    exit(2);
}

static uint32_t now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint32_t)(ts.tv_sec * 1000 + ts.tv_nsec / 1000000);
}

static void pause_ms(unsigned ms)
{
    struct timespec ts = {ms / 1000, (long)(ms % 1000) * 1000000L};
    nanosleep(&ts, NULL);
}

/* XKB key codes are evdev codes + 8. */
static void send_key(unsigned code, int down)
{
    xkb_state_update_key(state, code + 8, down ? XKB_KEY_DOWN : XKB_KEY_UP);
    zwp_virtual_keyboard_v1_key(keyboard, now_ms(), code, down ? 1 : 0);
    zwp_virtual_keyboard_v1_modifiers(keyboard,
        xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED),
        xkb_state_serialize_mods(state, XKB_STATE_MODS_LATCHED),
        xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED),
        xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE));
    wl_display_roundtrip(display);
    pause_ms(20);
}

static void upload_keymap(void)
{
    struct xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    struct xkb_rule_names rules = {"evdev", "pc105", "us", "", ""};
    struct xkb_keymap *keymap = xkb_keymap_new_from_names(context, &rules, 0);
    if (!keymap) {
        fprintf(stderr, "vkbd: cannot compile the evdev/pc105/us keymap\n");
        exit(1);
    }
    char *text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    size_t size = strlen(text) + 1;
    int fd = memfd_create("keymap", MFD_CLOEXEC);
    if (fd < 0 || write(fd, text, size) != (ssize_t)size) {
        perror("vkbd: keymap");
        exit(1);
    }
    zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, (uint32_t)size);
    close(fd);
    free(text);
    state = xkb_state_new(keymap);
}

static void play(const char *word)
{
    char copy[64];
    snprintf(copy, sizeof copy, "%s", word);
    if (strncmp(copy, "wait:", 5) == 0) {
        pause_ms((unsigned)atoi(copy + 5));
    } else if (strncmp(copy, "hold:", 5) == 0) {
        char *ms = strchr(copy + 5, ':');
        if (!ms) { fprintf(stderr, "vkbd: hold:KEY:MS\n"); exit(2); }
        *ms++ = '\0';
        unsigned code = code_of(copy + 5);
        send_key(code, 1);
        pause_ms((unsigned)atoi(ms));
        send_key(code, 0);
    } else if (strchr(copy, '+') && strcmp(copy, "kp+") != 0) {
        char *key = strchr(copy, '+');
        *key++ = '\0';
        unsigned modifier = code_of(copy), code = code_of(key);
        send_key(modifier, 1);
        send_key(code, 1);
        send_key(code, 0);
        send_key(modifier, 0);
    } else {
        unsigned code = code_of(copy);
        send_key(code, 1);
        send_key(code, 0);
    }
}

int main(int argc, char **argv)
{
    display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "vkbd: no Wayland display\n");
        return 1;
    }
    wl_registry_add_listener(wl_display_get_registry(display), &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!seat || !manager) {
        fprintf(stderr, "vkbd: the compositor offers no virtual keyboard\n");
        return 1;
    }
    keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, seat);
    upload_keymap();
    wl_display_roundtrip(display);
    for (int i = 1; i < argc; ++i)
        play(argv[i]);
    zwp_virtual_keyboard_v1_destroy(keyboard);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
