// The window the user came from (X11's active window) and a clipboard that outlives the program.
#include <xcb/xcb.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "codepage.h"
#include "os_linux.h"

namespace kv::lnx {
namespace {

// How long the clipboard manager gets to take the text over before the program ends.
constexpr int kHandOverMs = 1000;
// How long a manager that did not answer gets to take the text back after we let go.
constexpr int kTakeBackMs = 600;

bool OnX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

struct XcbDeleter {
  void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};
using Connection = std::unique_ptr<xcb_connection_t, XcbDeleter>;
template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  Reply<xcb_intern_atom_reply_t> r(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr),
      &std::free);
  return r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t SelectionOwner(xcb_connection_t* c, xcb_atom_t selection) {
  Reply<xcb_get_selection_owner_reply_t> r(
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr), &std::free);
  return r ? r->owner : xcb_window_t{XCB_WINDOW_NONE};
}

// Our own connection: the requests and answers here must not mix with the toolkit's queue.
Connection Connect(xcb_screen_t** screen) {
  int preferred = 0;
  Connection c(xcb_connect(nullptr, &preferred));
  if (!c || xcb_connection_has_error(c.get())) return nullptr;
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c.get()));
  for (int i = 0; it.rem && i < preferred; ++i) xcb_screen_next(&it);
  if (!it.rem) return nullptr;
  *screen = it.data;
  return c;
}

// The clipboard-manager protocol: ask the manager to save the clipboard's targets, and serve
// its requests (the toolkit does, from its event loop) until it says it has them.
bool HandOverToManager() {
  xcb_screen_t* screen = nullptr;
  Connection c = Connect(&screen);
  if (!c) return false;
  const xcb_atom_t manager = Atom(c.get(), "CLIPBOARD_MANAGER");
  const xcb_atom_t saveTargets = Atom(c.get(), "SAVE_TARGETS");
  const xcb_atom_t property = Atom(c.get(), "KIVORET_SAVE_TARGETS");
  const xcb_atom_t clipboard = Atom(c.get(), "CLIPBOARD");
  const xcb_window_t ours = SelectionOwner(c.get(), clipboard);
  QElapsedTimer timer;
  timer.start();
  const auto takenOver = [&] {
    const xcb_window_t owner = SelectionOwner(c.get(), clipboard);
    return owner != XCB_WINDOW_NONE && owner != ours;
  };
  if (manager == XCB_ATOM_NONE || SelectionOwner(c.get(), manager) == XCB_WINDOW_NONE) {
    // No manager to hand it to: history keepers that poll the clipboard still get a moment to
    // read it, and give it back once we are gone. With none at all it ends with the program.
    while (timer.elapsed() < kHandOverMs && !takenOver())
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return true;
  }
  const xcb_window_t requestor = xcb_generate_id(c.get());
  xcb_create_window(c.get(), XCB_COPY_FROM_PARENT, requestor, screen->root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
  xcb_convert_selection(c.get(), requestor, manager, saveTargets, property, XCB_CURRENT_TIME);
  xcb_flush(c.get());
  bool answered = false, saved = false;
  while (!answered && timer.elapsed() < kHandOverMs && !xcb_connection_has_error(c.get())) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    while (xcb_generic_event_t* e = xcb_poll_for_event(c.get())) {
      if ((e->response_type & 0x7f) == XCB_SELECTION_NOTIFY) {
        const auto* n = reinterpret_cast<xcb_selection_notify_event_t*>(e);
        if (n->requestor == requestor && n->selection == manager) {
          answered = true;
          saved = n->property != XCB_ATOM_NONE;  // a manager that refused names no property
        }
      }
      std::free(e);
    }
  }
  xcb_destroy_window(c.get(), requestor);
  xcb_flush(c.get());
  if (saved) return true;
  // A manager that holds the selection but never answers (some keep a history of their own and
  // take the text back once its owner is gone) would hold the toolkit's exit for seconds:
  // let go now and see whether someone takes it.
  QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
  for (timer.restart(); timer.elapsed() < kTakeBackMs;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (takenOver()) return true;
  }
  return false;
}

}  // namespace

NativeHandle LinuxOsServices::GetForegroundWindow() {
  if (!OnX11()) return 0;
  xcb_screen_t* screen = nullptr;
  Connection c = Connect(&screen);
  if (!c) return 0;
  const xcb_atom_t active = Atom(c.get(), "_NET_ACTIVE_WINDOW");
  if (active == XCB_ATOM_NONE) return 0;
  Reply<xcb_get_property_reply_t> r(
      xcb_get_property_reply(
          c.get(), xcb_get_property(c.get(), 0, screen->root, active, XCB_ATOM_WINDOW, 0, 1),
          nullptr),
      &std::free);
  if (!r || r->format != 32 || xcb_get_property_value_length(r.get()) < 4) return 0;
  return *static_cast<const xcb_window_t*>(xcb_get_property_value(r.get()));
}

bool LinuxOsServices::NavigateWindow(NativeHandle, const std::wstring&) {
  // GTK's and Qt's file dialogs offer no way in from another program: the caller opens instead.
  return false;
}

bool LinuxOsServices::SetClipboardText(const std::wstring& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  clipboard->setText(QString::fromStdWString(text), QClipboard::Clipboard);
  if (clipboard->text(QClipboard::Clipboard) != QString::fromStdWString(text)) return false;
  return OnX11() ? HandOverToManager() : true;
}

}  // namespace kv::lnx
