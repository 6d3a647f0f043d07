// The pointer and keys for headless sway (wlroots' virtual pointer; keys come from wtype) and
// KWin (its fake input). Reads commands from stdin,
//   move X Y W H      to (X,Y) in a layout of W x H logical pixels
//   button CODE 1|0   an evdev button code pressed (1) or released (0)
//   key CODE 1|0      the same for a key (KWin only)
// and prints "ok" once the compositor has taken each one. It stays connected so that the seat
// keeps its pointer: a client started later sees one from the start.
#include <stdio.h>
#include <string.h>
#include <wayland-client.h>

#include "fake-input-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

static struct zwlr_virtual_pointer_manager_v1* manager;
static struct org_kde_kwin_fake_input* fake;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
  (void)data;
  if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
    manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
  else if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
    fake = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
}

static void global_remove(void* d, struct wl_registry* r, uint32_t n) { (void)d, (void)r, (void)n; }
static const struct wl_registry_listener registry_listener = {global, global_remove};

int main(void) {
  struct wl_display* display = wl_display_connect(NULL);
  if (display == NULL) return fprintf(stderr, "virtual_pointer: no Wayland display\n"), 1;
  wl_registry_add_listener(wl_display_get_registry(display), &registry_listener, NULL);
  wl_display_roundtrip(display);
  if (!manager && !fake) return fprintf(stderr, "virtual_pointer: no virtual pointer offered\n"), 1;
  struct zwlr_virtual_pointer_v1* pointer =
      manager ? zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, NULL) : NULL;
  if (fake) org_kde_kwin_fake_input_authenticate(fake, "kivoret test", "e2e");
  wl_display_roundtrip(display);
  setvbuf(stdout, NULL, _IOLBF, 0);
  printf("ready\n");

  char line[256];
  unsigned x, y, w, h;
  while (fgets(line, sizeof line, stdin) != NULL) {
    if (sscanf(line, "move %u %u %u %u", &x, &y, &w, &h) == 4 && x < w && y < h) {
      if (fake) org_kde_kwin_fake_input_pointer_motion_absolute(fake, x * 256, y * 256);
      if (pointer) zwlr_virtual_pointer_v1_motion_absolute(pointer, 0, x, y, w, h);
    } else if (sscanf(line, "button %u %u", &x, &y) == 2) {
      if (fake) org_kde_kwin_fake_input_button(fake, x, y);
      if (pointer) zwlr_virtual_pointer_v1_button(pointer, 0, x, y);
    } else if (fake && sscanf(line, "key %u %u", &x, &y) == 2) {
      org_kde_kwin_fake_input_keyboard_key(fake, x, y);
    } else {
      printf("error %s", line);
      continue;
    }
    if (pointer) zwlr_virtual_pointer_v1_frame(pointer);
    if (wl_display_roundtrip(display) < 0)
      return fprintf(stderr, "virtual_pointer: the compositor closed the connection\n"), 1;
    printf("ok\n");
  }
  return 0;
}
