// LinuxOsServices' desktop calls on Qt: the foreground, the cursor, the list under it, the
// folder picker. A NativeHandle is a QWidget* here.
#include <QCursor>
#include <QFileDialog>
#include <QListWidget>
#include <QScrollBar>

#include "os_linux.h"

namespace kv::lnx {

void LinuxOsServices::SetForegroundWindow(NativeHandle window) {
  // A hidden window stays hidden: the launcher's form must never appear.
  auto* w = reinterpret_cast<QWidget*>(window);
  if (w != nullptr && w->isVisible()) {
    w->raise();
    w->activateWindow();
  }
}

Point LinuxOsServices::GetCursorPos() {
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

int LinuxOsServices::LBItemFromPt(NativeHandle list, Point screen, bool autoScroll) {
  auto* lw = qobject_cast<QListWidget*>(reinterpret_cast<QWidget*>(list));
  if (lw == nullptr) return -1;
  QWidget* vp = lw->viewport();
  const QPoint p = vp->mapFromGlobal(QPoint(screen.x, screen.y));
  if (vp->rect().contains(p)) {
    const QModelIndex index = lw->indexAt(p);
    return index.isValid() ? index.row() : -1;
  }
  if (autoScroll && p.x() >= 0 && p.x() < vp->width()) {
    const int line = lw->count() > 0 ? lw->sizeHintForRow(0) : 16;
    QScrollBar* bar = lw->verticalScrollBar();
    if (p.y() < 0 && p.y() >= -line) bar->setValue(bar->value() - bar->singleStep());
    if (p.y() >= vp->height() && p.y() < vp->height() + line)
      bar->setValue(bar->value() + bar->singleStep());
  }
  return -1;
}

std::wstring LinuxOsServices::BrowseForFolder(NativeHandle owner, const std::wstring& title) {
  QString dir = QFileDialog::getExistingDirectory(reinterpret_cast<QWidget*>(owner),
                                                  QString::fromStdWString(title));
  while (dir.size() > 1 && dir.endsWith(u'/')) dir.chop(1);
  return dir.toStdWString();
}

}  // namespace kv::lnx
