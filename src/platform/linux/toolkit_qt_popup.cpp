// The launcher's popup menu on Qt (X11 and others; Wayland has its own in popup_wayland.cpp).
#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>

#include "popup_wayland.h"
#include "qt_text.h"
#include "toolkit_qt.h"

namespace kv::lnx {
namespace {

// A caption shows literally: "&" would otherwise mark an access key.
QString MenuText(const std::wstring& caption) {
  return Q(caption).replace(u'&', QStringLiteral("&&"));
}

}  // namespace

PopupChoice QtToolkit::PopupItems(std::span<const PopupItem> items) {
  if (QGuiApplication::platformName() == QLatin1String("wayland")) return PopupItemsWayland(items);
  QMenu menu;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].ref.kind == MenuKind::Line) {
      menu.addSeparator();
      continue;
    }
    QAction* a = menu.addAction(MenuText(items[i].caption));
    a->setData(static_cast<qulonglong>(i));
  }
  // QMenu takes the release of either mouse button as the choice.
  QAction* chosen = menu.exec(QCursor::pos());
  PopupChoice choice;
  if (chosen == nullptr) return choice;
  choice.item = static_cast<int>(chosen->data().toULongLong());
  const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
  if (held & Qt::ShiftModifier) choice.modifiers |= kPopupShift;
  if (held & Qt::ControlModifier) choice.modifiers |= kPopupCtrl;
  return choice;
}

}  // namespace kv::lnx
