// The Wayland popup's window on the offscreen platform: the keys, buttons and modifiers that
// end it (the end-to-end runs on real compositors cover where it stands).
#include "popup_wayland.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

namespace kv::lnx {
namespace {

TEST(PlaceMenu, OpensRightAndDownFlipsAtTheEdgesAndStaysInside) {
  const QRect screen(0, 0, 800, 600);
  const QSize menu(200, 150);
  struct Case {
    QPoint pointer;
    QRect bounds;
    QPoint expected;
  } cases[] = {
      {{100, 80}, screen, {100, 80}},
      {{600, 450}, screen, {600, 450}},                   // ends exactly on the edges: stays
      {{700, 80}, screen, {500, 80}},                     // right edge: left of the pointer
      {{100, 500}, screen, {100, 350}},                   // bottom edge: above the pointer
      {{799, 599}, screen, {599, 449}},                   // corner: ends at the pointer
      {{100, 80}, QRect(0, 0, 250, 200), {50, 50}},       // fits on neither side: pushed inside
      {{1000, 50}, QRect(800, 0, 800, 600), {1000, 50}},  // a second output's coordinates
      {{1500, 50}, QRect(800, 0, 800, 600), {1300, 50}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlaceMenu(c.pointer, menu, c.bounds), c.expected)
        << c.pointer.x() << "," << c.pointer.y();
  }
}

// Runs the popup; `drive` gets the overlay and its menu once the overlay is up.
PopupChoice RunPopup(const std::function<void(QWidget* overlay, QWidget* menu)>& drive) {
  static int argc = 1;
  static char* argv[] = {const_cast<char*>("kv_linux_tests"), nullptr};
  if (QApplication::instance() == nullptr) new QApplication(argc, argv);
  qunsetenv("SWAYSOCK");
  // Off the window: Qt would send an enter at the cursor when the window shows, which on Wayland
  // only the compositor does.
  QCursor::setPos(-1000, -1000);
  const std::vector<PopupItem> items = {{{MenuKind::ProgramName, 0}, L"キヴォレット Ver.1.0"},
                                        {{MenuKind::Line, 0}, L"-"},
                                        {{MenuKind::Folder, 1}, L"写真"},
                                        {{MenuKind::Folder, 2}, L"書類 & メモ"}};
  QTimer::singleShot(0, [&] {
    QWidget* overlay = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible() && (w->windowFlags() & Qt::FramelessWindowHint)) overlay = w;
    }
    ASSERT_NE(overlay, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(overlay));
    auto* menu = overlay->findChild<QWidget*>();
    ASSERT_NE(menu, nullptr);
    drive(overlay, menu);
  });
  QTimer guard;  // no hang when a case leaves the popup open
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible()) w->close();
    }
  });
  guard.start(5000);
  return PopupItemsWayland(items);
}

void Enter(QWidget* w, QPoint at) {
  QEnterEvent e(at, w->mapToGlobal(at), w->mapToGlobal(at));
  QApplication::sendEvent(w, &e);
}

using Steps = std::function<void(QWidget* overlay, QWidget* menu)>;
Steps Keys(std::initializer_list<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys) {
  return [keys = std::vector(keys)](QWidget* o, QWidget*) {
    for (const auto& [key, held] : keys) QTest::keyClick(o, key, held);
  };
}
// A click on the menu's first (row 0) or last (row -1) row; on the overlay at 10,10 (no row).
Steps Click(Qt::MouseButton button, std::optional<int> row, Qt::KeyboardModifiers held = {}) {
  return [=](QWidget* o, QWidget* m) {
    if (!row) return QTest::mouseClick(o, button, held, {10, 10});
    QTest::mouseClick(m, button, held, {20, *row == 0 ? 6 : m->height() - 6});
  };
}

TEST(WaylandPopup, KeysClicksAndClosingEndIt) {
  using K = std::pair<Qt::Key, Qt::KeyboardModifiers>;
  const K kDown{Qt::Key_Down, {}}, kUp{Qt::Key_Up, {}}, kReturn{Qt::Key_Return, {}},
      kEscape{Qt::Key_Escape, {}}, kShiftReturn{Qt::Key_Return, Qt::ShiftModifier},
      kCtrlEnter{Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier};
  struct Case {
    const char* name;
    std::vector<Steps> steps;
    int item;
    unsigned modifiers;
  } cases[] = {
      {"Escape", {Keys({kEscape})}, -1, 0},
      {"click outside the menu", {Click(Qt::LeftButton, std::nullopt)}, -1, 0},
      {"right button on the last row", {Click(Qt::RightButton, -1)}, 3, 0},
      {"Shift + left, first row", {Click(Qt::LeftButton, 0, Qt::ShiftModifier)}, 0, kPopupShift},
      {"middle button does nothing", {Click(Qt::MiddleButton, -1), Keys({kDown, kReturn})}, 0, 0},
      {"window closed", {[](QWidget* o, QWidget*) { o->close(); }}, -1, 0},
      {"Down Return", {Keys({kDown, kReturn})}, 0, 0},
      {"the line is skipped; Shift", {Keys({kDown, kDown, kShiftReturn})}, 2, kPopupShift},
      {"Up from nothing is the last; Ctrl", {Keys({kUp, kCtrlEnter})}, 3, kPopupCtrl},
      {"Return with nothing selected chooses nothing", {Keys({kReturn, kEscape})}, -1, 0},
  };
  for (const Case& c : cases) {
    const PopupChoice got = RunPopup([&](QWidget* overlay, QWidget* menu) {
      Enter(overlay, {100, 100});
      for (const Steps& step : c.steps) step(overlay, menu);
    });
    EXPECT_EQ(got.item, c.item) << c.name;
    EXPECT_EQ(got.modifiers, c.modifiers) << c.name;
  }
}

}  // namespace
}  // namespace kv::lnx
