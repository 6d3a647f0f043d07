// The launcher popup on a native Wayland session: a transparent window over the output with the
// menu drawn inside it at the pointer.
#include "popup_wayland.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

namespace kv::lnx {

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

namespace {

// Without an enter event by then the pointer is not over this output (on a panel, another
// output, or no pointer at all); the centre keeps the menu in sight.
constexpr int kEnterTimeoutMs = 300;
// A busy compositor can be later than that; the menu still moves to the pointer when the enter
// comes this soon after and the menu has not been used yet.
constexpr int kLateEnterMs = 1000;

unsigned ModifierBits(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? kPopupShift : 0u) | (m & Qt::ControlModifier ? kPopupCtrl : 0u);
}

// sway paints the output black behind a full-screen window, which would hide the desktop behind
// the transparent area; a window of the output's size is floated there instead (fixed size).
bool FullScreenHidesDesktop() {
  if (qEnvironmentVariableIsSet("SWAYSOCK")) return true;
  const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
  return desktop.split(u':').contains(QStringLiteral("sway"), Qt::CaseInsensitive);
}

// The menu itself, drawn by the style as QMenu draws its rows.
class MenuPanel final : public QWidget {
 public:
  std::function<void(int item, Qt::KeyboardModifiers)> chosen;

  MenuPanel(std::span<const PopupItem> items, QWidget* parent) : QWidget(parent) {
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

  // Keyboard steps, for the overlay that holds the focus.
  bool Used() const { return used_; }

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
  void ChooseHovered(Qt::KeyboardModifiers m) {
    if (hover_ >= 0 && chosen) chosen(rows_[hover_].item, m);
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
  // As a menu: the release of either button over a row chooses it.
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return;
    const int i = RowAt(e->position().toPoint());
    if (i >= 0 && chosen) chosen(rows_[i].item, e->modifiers());
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

  void SetHover(int i) {
    if (i == hover_) return;
    hover_ = i;
    used_ = used_ || i >= 0;
    update();
  }

  std::vector<Row> rows_;
  int hover_ = -1;
  bool used_ = false;
};

// The transparent window over the output; the panel waits hidden until the pointer is known.
class Overlay final : public QWidget {
 public:
  std::function<void(PopupChoice)> done;

  explicit Overlay(std::span<const PopupItem> items)
      : QWidget(nullptr, Qt::FramelessWindowHint), panel_(new MenuPanel(items, this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QApplication::applicationName());
    panel_->hide();
    panel_->chosen = [this](int item, Qt::KeyboardModifiers m) { Finish({item, ModifierBits(m)}); };
  }

  void Place(QPoint pointer) {
    const bool late = atCentre_.isValid() && !atCentre_.hasExpired(kLateEnterMs) && !panel_->Used();
    if (placed_ && !late) return;
    placed_ = true;
    atCentre_.invalidate();
    panel_->move(PlaceMenu(pointer, panel_->size(), rect()));
    panel_->show();
  }
  void PlaceAtCentre() {
    if (placed_) return;
    Place(rect().center() - QPoint(panel_->width(), panel_->height()) / 2);
    atCentre_.start();
  }

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::Enter) Place(static_cast<QEnterEvent*>(e)->position().toPoint());
    return QWidget::event(e);
  }
  // Counted from the first frame: a busy machine may take longer than the wait to show it.
  void paintEvent(QPaintEvent*) override {
    if (timerStarted_) return;
    timerStarted_ = true;
    QTimer::singleShot(kEnterTimeoutMs, this, [this] { PlaceAtCentre(); });
  }
  void mouseMoveEvent(QMouseEvent* e) override { Place(e->position().toPoint()); }
  void mousePressEvent(QMouseEvent*) override { Finish({}); }  // outside the menu
  void keyPressEvent(QKeyEvent* e) override {
    switch (e->key()) {
      case Qt::Key_Escape:
        Finish({});
        break;
      case Qt::Key_Up:
        panel_->Step(-1);
        break;
      case Qt::Key_Down:
        panel_->Step(1);
        break;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        panel_->ChooseHovered(e->modifiers());
        break;
      default:
        QWidget::keyPressEvent(e);
    }
  }
  void closeEvent(QCloseEvent*) override { Finish({}); }

 private:
  void Finish(PopupChoice choice) {
    if (finished_) return;
    finished_ = true;
    if (done) done(choice);
  }

  MenuPanel* panel_;
  bool placed_ = false;
  QElapsedTimer atCentre_;  // running while the menu stands at the centre for want of an enter
  bool timerStarted_ = false;
  bool finished_ = false;
};

}  // namespace

PopupChoice PopupItemsWayland(std::span<const PopupItem> items) {
  Overlay overlay(items);
  QEventLoop loop;
  PopupChoice choice;
  bool ended = false;
  overlay.done = [&](PopupChoice c) {
    choice = c;
    ended = true;
    loop.quit();
  };
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen != nullptr && FullScreenHidesDesktop()) {
    overlay.setFixedSize(screen->size());
    overlay.show();
  } else {
    overlay.showFullScreen();
  }
  // Qt 6.4 hands the compositor the activation token only here, and without the keyboard focus
  // Escape would not reach the window.
  overlay.activateWindow();
  if (!ended) loop.exec();  // a compositor may have closed it already
  overlay.hide();
  return choice;
}

}  // namespace kv::lnx
