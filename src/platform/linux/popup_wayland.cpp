// The launcher popup on a native Wayland session: an overlay layer surface of our own where the
// compositor offers one, else a transparent window of the work area's size; the menu is drawn
// inside either at the pointer.
#include "popup_wayland.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <wayland-cursor.h>
#include <xkbcommon/xkbcommon.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QEventLoop>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSocketNotifier>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "wlr-layer-shell-unstable-v1-client-protocol.h"

// The layer shell's protocol code names xdg_popup for a request never made here. Hidden, so that
// it never stands in for the real one inside Qt's Wayland plugin.
extern "C" __attribute__((visibility("hidden")))
const wl_interface xdg_popup_interface{"xdg_popup", 1, 0, nullptr, 0, nullptr};

namespace kv::lnx {

namespace {

// Where a menu of `size` opening at `pointer` goes within `bounds`: on the other side of the
// pointer where it would cross the right or bottom edge, pushed inside where neither side fits.
QPoint PlaceMenu(QPoint pointer, QSize size, QRect bounds) {
  auto axis = [](int at, int length, int low, int high) {
    if (at + length <= high) return at;
    if (at - length >= low) return at - length;  // flipped: it ends at the pointer
    return std::max(low, high - length);
  };
  // +1: QRect's right() and bottom() are the last pixels inside.
  return {axis(pointer.x(), size.width(), bounds.left(), bounds.right() + 1),
          axis(pointer.y(), size.height(), bounds.top(), bounds.bottom() + 1)};
}

// Without a pointer event by then the pointer is not over this surface (on a panel, another
// output) or, on GNOME, at rest. Measured headless: sway sends the enter 10 ms after the first
// configure; mutter sent none in 8 of 8 starts until the pointer moved, so waiting longer there
// only delays the menu. 300 ms is as long as a menu may keep the user waiting for nothing.
constexpr int kEnterTimeoutMs = 300;
// A busy compositor can be later than that; the menu still moves to the pointer when the enter
// comes this soon after and the menu has not been used yet.
constexpr int kLateEnterMs = 1000;
// A popup the compositor has not shown and given the keyboard by then never will be (sway keeps
// a window hidden behind a full-screen one): the program ends rather than run on unseen.
constexpr int kShowDeadlineMs = 2000;

unsigned ModifierBits(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? kPopupShift : 0u) | (m & Qt::ControlModifier ? kPopupCtrl : 0u);
}

// The menu, drawn by the style as QMenu draws its rows, and what pointer and keys do to it. It
// sits inside the Qt window, or is rendered into the layer surface's buffer.
class MenuPanel final : public QWidget {
 public:
  std::function<void(PopupChoice)> done;
  std::function<void()> changed;  // the look changed: the layer surface draws again

  explicit MenuPanel(std::span<const PopupItem> items) {
    setFont(QApplication::font("QMenu"));
    setPalette(QApplication::palette("QMenu"));
    setMouseTracking(true);
    QStyleOptionMenuItem opt;
    const int fw = style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this);
    const int hmargin = style()->pixelMetric(QStyle::PM_MenuHMargin, nullptr, this) + fw;
    const int vmargin = style()->pixelMetric(QStyle::PM_MenuVMargin, nullptr, this) + fw;
    int width = 0;
    int y = vmargin;
    for (std::size_t i = 0; i < items.size(); ++i) {
      Row row;
      row.item = static_cast<int>(i);
      row.separator = items[i].ref.kind == MenuKind::Line;
      // "&" would mark an access key.
      if (!row.separator)
        row.text = QString::fromStdWString(items[i].caption).replace(u'&', QStringLiteral("&&"));
      InitOption(opt, row, false);
      const QSize text = row.separator
                             ? QSize(2, 2)
                             : QSize(opt.fontMetrics.horizontalAdvance(QString(row.text).replace(
                                         QStringLiteral("&&"), QStringLiteral("&"))),
                                     opt.fontMetrics.height());
      const QSize size = style()->sizeFromContents(QStyle::CT_MenuItem, &opt, text, this);
      row.rect = QRect(hmargin, y, 0, size.height());
      width = std::max(width, size.width());
      y += size.height();
      rows_.push_back(row);
    }
    for (Row& row : rows_) row.rect.setWidth(width);
    resize(width + 2 * hmargin, y + vmargin);
  }

  // The menu stands at the first pointer position; at the centre of `area` when none came in
  // time, moving to a late one while it is untouched.
  bool Place(QPoint pointer, QRect area) {
    const bool late = atCentre_.isValid() && !atCentre_.hasExpired(kLateEnterMs) && !used_;
    if (placed_ && !late) return false;
    placed_ = true;
    atCentre_.invalidate();
    move(PlaceMenu(pointer, size(), area));
    if (changed) changed();
    return true;
  }
  void PlaceAtCentre(QRect area) {
    if (placed_) return;
    Place(area.center() - QPoint(width(), height()) / 2, area);
    atCentre_.start();
  }
  bool Placed() const { return placed_; }

  // Pointer positions in the coordinates of the surface the menu stands in.
  void Hover(QPoint at) { SetHover(RowAt(at - pos())); }
  void Press(QPoint at) {
    if (!geometry().contains(at)) Finish({});
  }
  // As a menu: the release of either button over a row chooses it.
  void Release(Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers held) {
    const int i = RowAt(at - pos());
    if ((button == Qt::LeftButton || button == Qt::RightButton) && i >= 0)
      Finish({rows_[i].item, ModifierBits(held)});
  }
  bool Key(int key, Qt::KeyboardModifiers held) {
    switch (key) {
      case Qt::Key_Escape:
        Finish({});
        return true;
      case Qt::Key_Up:
      case Qt::Key_Down:
        Step(key == Qt::Key_Up ? -1 : 1);
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (hover_ >= 0) Finish({rows_[hover_].item, ModifierBits(held)});
        return true;
    }
    return false;
  }
  void Finish(PopupChoice choice) {
    if (finished_) return;
    finished_ = true;
    if (done) done(choice);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    QStyleOptionMenuItem panel;
    panel.initFrom(this);
    panel.state = QStyle::State_None;
    panel.checkType = QStyleOptionMenuItem::NotCheckable;
    panel.maxIconWidth = 0;
    panel.reservedShortcutWidth = 0;
    style()->drawPrimitive(QStyle::PE_PanelMenu, &panel, &p, this);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      QStyleOptionMenuItem opt;
      InitOption(opt, rows_[i], static_cast<int>(i) == hover_);
      p.save();
      p.setClipRect(opt.rect);
      style()->drawControl(QStyle::CE_MenuItem, &opt, &p, this);
      p.restore();
    }
    QStyleOptionFrame frame;
    frame.rect = rect();
    frame.palette = palette();
    frame.state = QStyle::State_None;
    frame.lineWidth = style()->pixelMetric(QStyle::PM_MenuPanelWidth, &frame, this);
    frame.midLineWidth = 0;
    style()->drawPrimitive(QStyle::PE_FrameMenu, &frame, &p, this);
  }
  void mouseMoveEvent(QMouseEvent* e) override { SetHover(RowAt(e->position().toPoint())); }
  void leaveEvent(QEvent*) override { SetHover(-1); }
  void mousePressEvent(QMouseEvent* e) override { e->accept(); }  // not the transparent area
  void mouseReleaseEvent(QMouseEvent* e) override {
    Release(e->button(), e->position().toPoint() + pos(), e->modifiers());
  }

 private:
  struct Row {
    int item = 0;
    bool separator = false;
    QString text;
    QRect rect;
  };

  void InitOption(QStyleOptionMenuItem& opt, const Row& row, bool selected) const {
    opt.initFrom(this);
    opt.palette = palette();
    opt.state = QStyle::State_Enabled | QStyle::State_Active;
    if (selected) opt.state |= QStyle::State_Selected;
    opt.font = font();
    opt.fontMetrics = QFontMetrics(font());
    opt.checkType = QStyleOptionMenuItem::NotCheckable;
    opt.menuHasCheckableItems = false;
    opt.maxIconWidth = 0;
    opt.reservedShortcutWidth = 0;
    opt.menuRect = rect();
    opt.menuItemType =
        row.separator ? QStyleOptionMenuItem::Separator : QStyleOptionMenuItem::Normal;
    opt.text = row.text;
    opt.rect = row.rect;
  }

  int RowAt(QPoint at) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (!rows_[i].separator && rows_[i].rect.contains(at)) return static_cast<int>(i);
    }
    return -1;
  }

  void Step(int delta) {
    used_ = true;
    const int n = static_cast<int>(rows_.size());
    for (int k = 1; k <= n; ++k) {
      const int i = ((hover_ < 0 ? (delta > 0 ? -1 : n) : hover_) + delta * k % n + 2 * n) % n;
      if (!rows_[i].separator) {
        SetHover(i);
        return;
      }
    }
  }

  void SetHover(int i) {
    if (i == hover_) return;
    hover_ = i;
    used_ = used_ || i >= 0;
    update();
    if (changed) changed();
  }

  std::vector<Row> rows_;
  int hover_ = -1;
  bool used_ = false;
  bool placed_ = false;
  QElapsedTimer atCentre_;  // running while the menu stands at the centre for want of an enter
  bool finished_ = false;
};

// Where no layer shell is offered: a transparent frameless window holding the menu. Never full
// screen: mutter and sway paint the output black behind a full-screen window.
class Overlay final : public QWidget {
 public:
  explicit Overlay(MenuPanel* panel) : QWidget(nullptr, Qt::FramelessWindowHint), panel_(panel) {
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QApplication::applicationName());
    panel_->setParent(this);
    panel_->hide();
  }

  bool Ready() const { return isVisible() && isActiveWindow(); }

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::Enter) Place(static_cast<QEnterEvent*>(e)->position().toPoint());
    return QWidget::event(e);
  }
  // Counted from the first frame: a busy machine may take longer than the wait to show it.
  void paintEvent(QPaintEvent*) override {
    if (timerStarted_) return;
    timerStarted_ = true;
    QTimer::singleShot(kEnterTimeoutMs, this, [this] {
      panel_->PlaceAtCentre(rect());
      panel_->show();
    });
  }
  void mouseMoveEvent(QMouseEvent* e) override { Place(e->position().toPoint()); }
  void mousePressEvent(QMouseEvent* e) override { panel_->Press(e->position().toPoint()); }
  void keyPressEvent(QKeyEvent* e) override {
    if (!panel_->Key(e->key(), e->modifiers())) QWidget::keyPressEvent(e);
  }
  void closeEvent(QCloseEvent*) override { panel_->Finish({}); }

 private:
  void Place(QPoint at) {
    if (panel_->Place(at, rect())) panel_->show();
  }

  MenuPanel* panel_;
  bool timerStarted_ = false;
};

// The overlay-layer surface, on a connection of our own: Qt 6.4 has no layer-shell integration
// and no public way to its own. Anchored to every edge it covers the output, full-screen windows
// included, without the compositor blacking out what lies below.
class LayerPopup {
 public:
  explicit LayerPopup(MenuPanel* panel) : panel_(panel) {}
  LayerPopup(const LayerPopup&) = delete;
  LayerPopup& operator=(const LayerPopup&) = delete;
  ~LayerPopup() {
    notifier_.reset();
    if (cursorTheme_ != nullptr) wl_cursor_theme_destroy(cursorTheme_);
    for (Buffer& b : buffers_) {
      if (b.buffer != nullptr) wl_buffer_destroy(b.buffer);
      if (b.data != nullptr) munmap(b.data, b.bytes);
    }
    // Our side of each object; the server frees its side when the connection ends.
    for (auto it = proxies_.rbegin(); it != proxies_.rend(); ++it) wl_proxy_destroy(*it);
    if (display_ != nullptr) wl_display_disconnect(display_);
    if (state_ != nullptr) xkb_state_unref(state_);
    if (keymap_ != nullptr) xkb_keymap_unref(keymap_);
    if (xkb_ != nullptr) xkb_context_unref(xkb_);
  }

  // False when the compositor offers no layer shell (GNOME): the caller shows a window instead.
  bool Start() {
    display_ = wl_display_connect(nullptr);
    if (display_ == nullptr) return false;
    wl_registry* registry = Own(wl_display_get_registry(display_));
    wl_registry_add_listener(registry, &kRegistry, this);
    wl_display_roundtrip(display_);
    if (layerShell_ == nullptr || compositor_ == nullptr || shm_ == nullptr || seat_ == nullptr)
      return false;
    wl_display_roundtrip(display_);  // the outputs' scales, the seat's devices
    surface_ = Own(wl_compositor_create_surface(compositor_));
    layer_ = Own(zwlr_layer_shell_v1_get_layer_surface(
        layerShell_, surface_, nullptr, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "kivoret"));
    zwlr_layer_surface_v1_add_listener(layer_, &kLayer, this);
    zwlr_layer_surface_v1_set_anchor(
        layer_, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                    ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);  // over the panels too
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer_, 1);
    wl_surface_commit(surface_);
    const char* theme = std::getenv("XCURSOR_THEME");
    const char* size = std::getenv("XCURSOR_SIZE");
    cursorTheme_ = wl_cursor_theme_load(theme, size != nullptr ? std::atoi(size) : 24, shm_);
    wl_display_flush(display_);
    notifier_ =
        std::make_unique<QSocketNotifier>(wl_display_get_fd(display_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
      if (wl_display_dispatch(display_) < 0) panel_->Finish({});  // the compositor went away
      wl_display_flush(display_);
    });
    wl_display_dispatch_pending(display_);
    wl_display_flush(display_);
    return true;
  }

  bool Ready() const { return configured_ && keyboard_; }

  // Draws the menu into a free buffer and shows it.
  void Draw() {
    if (!configured_) return;
    const int w = size_.width() * scale_, h = size_.height() * scale_;
    Buffer* free = nullptr;
    for (Buffer& b : buffers_) {
      if (!b.busy && (b.buffer == nullptr || b.size != QSize(w, h))) Allocate(b, w, h);
      if (!b.busy && b.buffer != nullptr) free = &b;
    }
    if (free == nullptr) {
      redraw_ = true;  // when the compositor gives one back
      return;
    }
    redraw_ = false;
    QImage image(static_cast<uchar*>(free->data), w, h, w * 4, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale_);
    image.fill(Qt::transparent);
    if (panel_->Placed()) {
      QPainter p(&image);
      panel_->render(&p, panel_->pos());
    }
    wl_surface_set_buffer_scale(surface_, scale_);
    wl_surface_attach(surface_, free->buffer, 0, 0);
    wl_surface_damage(surface_, 0, 0, size_.width(), size_.height());
    wl_surface_commit(surface_);
    free->busy = true;
    wl_display_flush(display_);
    if (!timerStarted_) {
      timerStarted_ = true;
      QTimer::singleShot(kEnterTimeoutMs, notifier_.get(),
                         [this] { panel_->PlaceAtCentre(QRect({}, size_)); });
    }
  }

 private:
  struct Buffer {
    wl_buffer* buffer = nullptr;
    void* data = nullptr;
    std::size_t bytes = 0;
    QSize size;
    bool busy = false;
  };

  void Allocate(Buffer& b, int w, int h) {
    if (b.buffer != nullptr) wl_buffer_destroy(b.buffer);
    if (b.data != nullptr) munmap(b.data, b.bytes);
    b = Buffer{};
    const std::size_t bytes = static_cast<std::size_t>(w) * h * 4;
    const int fd = memfd_create("kivoret", MFD_CLOEXEC);
    if (fd < 0) return;
    void* data = ftruncate(fd, static_cast<off_t>(bytes)) == 0
                     ? mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                     : MAP_FAILED;
    if (data != MAP_FAILED) {
      wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, static_cast<int32_t>(bytes));
      b.buffer = wl_shm_pool_create_buffer(pool, 0, w, h, w * 4, WL_SHM_FORMAT_ARGB8888);
      wl_shm_pool_destroy(pool);
      wl_buffer_add_listener(b.buffer, &kBuffer, this);
      b.data = data;
      b.bytes = bytes;
      b.size = QSize(w, h);
    }
    close(fd);
  }

  static void Global(void* self, wl_registry* r, uint32_t name, const char* iface, uint32_t v) {
    auto* p = static_cast<LayerPopup*>(self);
    auto bind = [&](const wl_interface* i, uint32_t want) {
      return p->Own(static_cast<wl_proxy*>(wl_registry_bind(r, name, i, std::min(v, want))));
    };
    if (std::strcmp(iface, wl_compositor_interface.name) == 0) {
      p->compositor_ = reinterpret_cast<wl_compositor*>(bind(&wl_compositor_interface, 3));
    } else if (std::strcmp(iface, wl_shm_interface.name) == 0) {
      p->shm_ = reinterpret_cast<wl_shm*>(bind(&wl_shm_interface, 1));
    } else if (std::strcmp(iface, wl_seat_interface.name) == 0 && p->seat_ == nullptr) {
      p->seat_ = reinterpret_cast<wl_seat*>(bind(&wl_seat_interface, 1));
      wl_seat_add_listener(p->seat_, &kSeat, p);
    } else if (std::strcmp(iface, wl_output_interface.name) == 0 && v >= 2) {
      wl_output_add_listener(reinterpret_cast<wl_output*>(bind(&wl_output_interface, 2)), &kOutput,
                             p);
    } else if (std::strcmp(iface, zwlr_layer_shell_v1_interface.name) == 0) {
      p->layerShell_ =
          reinterpret_cast<zwlr_layer_shell_v1*>(bind(&zwlr_layer_shell_v1_interface, 1));
    }
  }
  // The largest output scale: the menu is then sharp where it matters most.
  static void OutputScale(void* self, wl_output*, int32_t factor) {
    auto* p = static_cast<LayerPopup*>(self);
    p->scale_ = std::max(p->scale_, static_cast<int>(factor));
  }
  static void Capabilities(void* self, wl_seat* seat, uint32_t caps) {
    auto* p = static_cast<LayerPopup*>(self);
    if ((caps & WL_SEAT_CAPABILITY_POINTER) && p->pointer_ == nullptr) {
      p->pointer_ = p->Own(wl_seat_get_pointer(seat));
      wl_pointer_add_listener(p->pointer_, &kPointer, p);
    }
    if ((caps & WL_SEAT_CAPABILITY_KEYBOARD) && p->keyboardDevice_ == nullptr) {
      p->keyboardDevice_ = p->Own(wl_seat_get_keyboard(seat));
      wl_keyboard_add_listener(p->keyboardDevice_, &kKeyboard, p);
    }
  }
  static void Configure(void* self, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t w,
                        uint32_t h) {
    auto* p = static_cast<LayerPopup*>(self);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    p->size_ = QSize(static_cast<int>(w), static_cast<int>(h));
    p->configured_ = true;
    p->Draw();
  }
  static void Closed(void* self, zwlr_layer_surface_v1*) {
    static_cast<LayerPopup*>(self)->panel_->Finish({});
  }
  static void Released(void* self, wl_buffer* buffer) {
    auto* p = static_cast<LayerPopup*>(self);
    for (Buffer& b : p->buffers_) {
      if (b.buffer == buffer) b.busy = false;
    }
    if (p->redraw_) p->Draw();
  }

  // As with QMenu, only a move highlights a row: not the pointer resting on the corner.
  void PointerAt(wl_fixed_t x, wl_fixed_t y, bool moved) {
    at_ = QPoint(wl_fixed_to_int(x), wl_fixed_to_int(y));
    panel_->Place(at_, QRect({}, size_));
    if (moved) panel_->Hover(at_);
  }
  static void Enter(void* self, wl_pointer* pointer, uint32_t serial, wl_surface*, wl_fixed_t x,
                    wl_fixed_t y) {
    auto* p = static_cast<LayerPopup*>(self);
    wl_cursor* cursor = p->cursorTheme_ != nullptr
                            ? wl_cursor_theme_get_cursor(p->cursorTheme_, "left_ptr")
                            : nullptr;
    if (cursor != nullptr && cursor->image_count > 0) {
      wl_cursor_image* image = cursor->images[0];
      if (p->cursorSurface_ == nullptr)
        p->cursorSurface_ = p->Own(wl_compositor_create_surface(p->compositor_));
      wl_surface_attach(p->cursorSurface_, wl_cursor_image_get_buffer(image), 0, 0);
      wl_surface_damage(p->cursorSurface_, 0, 0, static_cast<int32_t>(image->width),
                        static_cast<int32_t>(image->height));
      wl_surface_commit(p->cursorSurface_);
      wl_pointer_set_cursor(pointer, serial, p->cursorSurface_,
                            static_cast<int32_t>(image->hotspot_x),
                            static_cast<int32_t>(image->hotspot_y));
    }
    p->PointerAt(x, y, false);
  }
  static void Motion(void* self, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    static_cast<LayerPopup*>(self)->PointerAt(x, y, true);
  }
  static void Button(void* self, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state) {
    auto* p = static_cast<LayerPopup*>(self);
    if (state == WL_POINTER_BUTTON_STATE_PRESSED) return p->panel_->Press(p->at_);
    p->panel_->Release(button == BTN_LEFT    ? Qt::LeftButton
                       : button == BTN_RIGHT ? Qt::RightButton
                                             : Qt::MiddleButton,
                       p->at_, p->held_);
  }
  static void Keymap(void* self, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
    auto* p = static_cast<LayerPopup*>(self);
    void* text = format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1
                     ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0)
                     : MAP_FAILED;
    close(fd);
    if (text == MAP_FAILED) return;
    if (p->xkb_ == nullptr) p->xkb_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (p->keymap_ != nullptr) xkb_keymap_unref(p->keymap_);
    p->keymap_ = p->xkb_ == nullptr ? nullptr
                                    : xkb_keymap_new_from_string(p->xkb_, static_cast<char*>(text),
                                                                 XKB_KEYMAP_FORMAT_TEXT_V1,
                                                                 XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    if (p->state_ != nullptr) xkb_state_unref(p->state_);
    p->state_ = p->keymap_ != nullptr ? xkb_state_new(p->keymap_) : nullptr;
  }
  static void KeyboardEnter(void* self, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {
    static_cast<LayerPopup*>(self)->keyboard_ = true;
  }
  // Through the keymap: a virtual keyboard (input tools, remote desktops) puts its keys on codes
  // of its own choosing.
  static void Key(void* self, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
    auto* p = static_cast<LayerPopup*>(self);
    if (state != WL_KEYBOARD_KEY_STATE_PRESSED || p->state_ == nullptr) return;
    switch (xkb_state_key_get_one_sym(p->state_, key + 8)) {  // + 8: evdev to XKB codes
      case XKB_KEY_Escape:
        p->panel_->Key(Qt::Key_Escape, p->held_);
        break;
      case XKB_KEY_Up:
      case XKB_KEY_KP_Up:
        p->panel_->Key(Qt::Key_Up, p->held_);
        break;
      case XKB_KEY_Down:
      case XKB_KEY_KP_Down:
        p->panel_->Key(Qt::Key_Down, p->held_);
        break;
      case XKB_KEY_Return:
      case XKB_KEY_KP_Enter:
        p->panel_->Key(Qt::Key_Return, p->held_);
        break;
    }
  }
  static void Modifiers(void* self, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched,
                        uint32_t locked, uint32_t group) {
    auto* p = static_cast<LayerPopup*>(self);
    if (p->state_ == nullptr) return;
    xkb_state_update_mask(p->state_, depressed, latched, locked, 0, 0, group);
    auto held = [&](const char* name) {
      return xkb_state_mod_name_is_active(p->state_, name, XKB_STATE_MODS_EFFECTIVE) > 0;
    };
    p->held_ = {};
    if (held(XKB_MOD_NAME_SHIFT)) p->held_ |= Qt::ShiftModifier;
    if (held(XKB_MOD_NAME_CTRL)) p->held_ |= Qt::ControlModifier;
  }

#pragma GCC diagnostic push  // events of later versions than those bound stay null
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
  static constexpr wl_registry_listener kRegistry{Global, [](void*, wl_registry*, uint32_t) {}};
  static constexpr wl_output_listener kOutput{
      .geometry = [](void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                     const char*, int32_t) {},
      .mode = [](void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {},
      .done = [](void*, wl_output*) {},
      .scale = OutputScale};
  static constexpr wl_seat_listener kSeat{Capabilities, [](void*, wl_seat*, const char*) {}};
  static constexpr zwlr_layer_surface_v1_listener kLayer{Configure, Closed};
  static constexpr wl_buffer_listener kBuffer{Released};
  static constexpr wl_pointer_listener kPointer{
      .enter = Enter,
      .leave = [](void*, wl_pointer*, uint32_t, wl_surface*) {},
      .motion = Motion,
      .button = Button,
      .axis = [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}};
  static constexpr wl_keyboard_listener kKeyboard{
      .keymap = Keymap,
      .enter = KeyboardEnter,
      .leave = [](void*, wl_keyboard*, uint32_t, wl_surface*) {},
      .key = Key,
      .modifiers = Modifiers};
#pragma GCC diagnostic pop

  template <class T>
  T* Own(T* object) {
    if (object != nullptr) proxies_.push_back(reinterpret_cast<wl_proxy*>(object));
    return object;
  }

  MenuPanel* panel_;
  std::vector<wl_proxy*> proxies_;
  wl_display* display_ = nullptr;
  wl_compositor* compositor_ = nullptr;
  wl_shm* shm_ = nullptr;
  wl_seat* seat_ = nullptr;
  zwlr_layer_shell_v1* layerShell_ = nullptr;
  wl_surface* surface_ = nullptr;
  zwlr_layer_surface_v1* layer_ = nullptr;
  wl_pointer* pointer_ = nullptr;
  wl_keyboard* keyboardDevice_ = nullptr;
  wl_cursor_theme* cursorTheme_ = nullptr;
  wl_surface* cursorSurface_ = nullptr;
  xkb_context* xkb_ = nullptr;
  xkb_keymap* keymap_ = nullptr;
  xkb_state* state_ = nullptr;
  std::unique_ptr<QSocketNotifier> notifier_;
  Buffer buffers_[2];
  QSize size_;
  int scale_ = 1;
  QPoint at_;
  Qt::KeyboardModifiers held_;
  bool configured_ = false;
  bool keyboard_ = false;
  bool redraw_ = false;
  bool timerStarted_ = false;
};

}  // namespace

PopupChoice PopupItemsWayland(std::span<const PopupItem> items) {
  auto* panel = new MenuPanel(items);  // owned by the window, or by the layer popup below
  std::unique_ptr<MenuPanel> unparented(panel);
  QEventLoop loop;
  PopupChoice choice;
  bool ended = false;
  panel->done = [&](PopupChoice c) {
    choice = c;
    ended = true;
    loop.quit();
  };
  LayerPopup layer(panel);
  std::unique_ptr<Overlay> overlay;
  std::function<bool()> ready;
  if (layer.Start()) {
    panel->changed = [&layer] { layer.Draw(); };
    ready = [&layer] { return layer.Ready(); };
  } else {
    overlay = std::make_unique<Overlay>(unparented.release());
    // A window's size only: Wayland leaves its place to the compositor.
    if (QScreen* screen = QGuiApplication::primaryScreen())
      overlay->setFixedSize(screen->availableGeometry().size());
    overlay->show();
    // Qt 6.4 hands the compositor the activation token only here, and without the keyboard focus
    // Escape would not reach the window.
    overlay->activateWindow();
    ready = [&overlay] { return overlay->Ready(); };
  }
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, [&] {
    if (ready()) return;
    std::fputs("kivoret: the compositor did not show the menu or give it the keyboard\n", stderr);
    std::_Exit(3);
  });
  deadline.start(kShowDeadlineMs);
  if (!ended) loop.exec();  // a compositor may have closed it already
  if (overlay) overlay->hide();
  return choice;
}

}  // namespace kv::lnx
