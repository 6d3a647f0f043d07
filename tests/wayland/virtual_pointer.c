// A pointer (and Escape) for a headless wlroots compositor or KWin, which have none: reads
// commands from stdin,
//   move X Y W H      to (X,Y) in a layout of W x H logical pixels
//   click left|right
//   escape            (KWin only: sway has wtype)
// and prints "ok" once the compositor has taken each one. It stays connected so that the seat
// keeps its pointer: a client started later sees one from the start.
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

#include "fake-input-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

static struct zwlr_virtual_pointer_manager_v1* manager;
static struct org_kde_kwin_fake_input* fake;
static struct wl_seat* seat;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
  (void)data;
  if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
    manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
  else if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
    fake = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
  else if (strcmp(interface, wl_seat_interface.name) == 0 && seat == NULL)
    seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
  (void)data;
  (void)registry;
  (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

static uint32_t now_ms(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (uint32_t)(ts.tv_sec * 1000 + ts.tv_nsec / 1000000);
}

int main(void) {
  struct wl_display* display = wl_display_connect(NULL);
  if (display == NULL) {
    fprintf(stderr, "virtual_pointer: no Wayland display\n");
    return 1;
  }
  struct wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &registry_listener, NULL);
  wl_display_roundtrip(display);
  if (manager == NULL && fake == NULL) {
    fprintf(stderr, "virtual_pointer: the compositor offers no virtual pointer\n");
    return 1;
  }
  struct zwlr_virtual_pointer_v1* pointer =
      manager ? zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat) : NULL;
  if (fake) org_kde_kwin_fake_input_authenticate(fake, "kivoret test", "e2e");
  wl_display_roundtrip(display);
  setvbuf(stdout, NULL, _IOLBF, 0);
  printf("ready\n");

  char line[256];
  while (fgets(line, sizeof line, stdin) != NULL) {
    unsigned x, y, w, h;
    char button[16];
    if (sscanf(line, "move %u %u %u %u", &x, &y, &w, &h) == 4 && x < w && y < h) {
      if (fake)
        org_kde_kwin_fake_input_pointer_motion_absolute(fake, wl_fixed_from_int(x),
                                                        wl_fixed_from_int(y));
      if (pointer) zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), x, y, w, h);
      if (pointer) zwlr_virtual_pointer_v1_frame(pointer);
    } else if (sscanf(line, "click %15s", button) == 1 &&
               (strcmp(button, "left") == 0 || strcmp(button, "right") == 0)) {
      const uint32_t code = strcmp(button, "left") == 0 ? BTN_LEFT : BTN_RIGHT;
      for (uint32_t state = 1; state <= 2; ++state) {  // pressed, then released (0)
        if (fake) org_kde_kwin_fake_input_button(fake, code, state % 2);
        if (pointer) zwlr_virtual_pointer_v1_button(pointer, now_ms(), code, state % 2);
        if (pointer) zwlr_virtual_pointer_v1_frame(pointer);
      }
    } else if (strncmp(line, "escape", 6) == 0 && fake) {
      org_kde_kwin_fake_input_keyboard_key(fake, KEY_ESC, 1);
      org_kde_kwin_fake_input_keyboard_key(fake, KEY_ESC, 0);
    } else {
      fprintf(stderr, "virtual_pointer: bad command: %s", line);
      printf("error\n");
      continue;
    }
    if (wl_display_roundtrip(display) < 0) {
      fprintf(stderr, "virtual_pointer: the compositor closed the connection\n");
      return 1;
    }
    printf("ok\n");
  }
  wl_display_roundtrip(display);
  wl_display_disconnect(display);
  return 0;
}
