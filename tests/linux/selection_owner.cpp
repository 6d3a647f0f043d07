// Prints the X window that owns a selection (0: none), e.g. CLIPBOARD_MANAGER: the end-to-end
// scripts wait for the clipboard manager with it.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) return 1;
  auto* atom =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(argv[1]), argv[1]), nullptr);
  if (atom == nullptr) return 1;
  auto* owner = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
  if (owner == nullptr) return 1;
  std::printf("%u\n", owner->owner);
  std::free(owner);
  std::free(atom);
  xcb_disconnect(c);
  return 0;
}
