// Control operations on Qt: text, check state, list lines and tool tips by Control.
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <memory>

#include "qt_text.h"
#include "toolkit_qt.h"

namespace kv::lnx {

std::wstring QtToolkit::GetText(Control c) {
  QWidget* w = Widget(c);
  if (auto* e = qobject_cast<QLineEdit*>(w)) return W(e->text());
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return W(b->text());
  if (auto* l = qobject_cast<QLabel*>(w)) return W(l->text());
  if (auto* list = qobject_cast<QListWidget*>(w)) {
    const int i = ListIndex(c);
    return i < 0 ? L"" : W(list->item(i)->text());
  }
  return L"";
}

void QtToolkit::SetText(Control c, const std::wstring& text) {
  QWidget* w = Widget(c);
  if (auto* e = qobject_cast<QLineEdit*>(w))
    e->setText(Q(text));
  else if (auto* b = qobject_cast<QAbstractButton*>(w))
    b->setText(Q(text));
  else if (auto* l = qobject_cast<QLabel*>(w))
    l->setText(Q(text));
}

int QtToolkit::GetValue(Control c) {
  auto* box = qobject_cast<QCheckBox*>(Widget(c));
  return box != nullptr && box->isChecked() ? 1 : 0;
}

void QtToolkit::SetValue(Control c, int value) {
  if (auto* box = qobject_cast<QCheckBox*>(Widget(c))) box->setChecked(value != 0);
}

void QtToolkit::AddItem(Control list, const std::wstring& item) {
  if (auto* lw = List(list)) lw->addItem(Q(item));
}

void QtToolkit::RemoveItem(Control list, int index) {
  auto* lw = List(list);
  if (lw == nullptr || index < 0 || index >= lw->count()) return;
  ++programmaticSelection_;
  const bool wasSelected = ListIndex(list) == index;
  const std::unique_ptr<QListWidgetItem> removed(lw->takeItem(index));
  // As in a list box, removing the selected line leaves nothing selected.
  if (wasSelected) {
    lw->clearSelection();
    lw->setCurrentRow(-1);
  }
  --programmaticSelection_;
}

std::wstring QtToolkit::GetListItem(Control list, int index) {
  auto* lw = List(list);
  if (lw == nullptr || index < 0 || index >= lw->count()) return L"";
  return W(lw->item(index)->text());
}

void QtToolkit::SetListItem(Control list, int index, const std::wstring& item) {
  auto* lw = List(list);
  if (lw != nullptr && index >= 0 && index < lw->count()) lw->item(index)->setText(Q(item));
}

int QtToolkit::ListIndex(Control list) {
  auto* lw = List(list);
  if (lw == nullptr) return -1;
  const QList<QListWidgetItem*> selected = lw->selectedItems();
  return selected.isEmpty() ? -1 : lw->row(selected.first());
}

int QtToolkit::ListCount(Control list) {
  auto* lw = List(list);
  return lw == nullptr ? 0 : lw->count();
}

void QtToolkit::SetToolTipText(Control c, const std::wstring& text) {
  if (QWidget* w = Widget(c)) w->setToolTip(Q(text));
}

}  // namespace kv::lnx
