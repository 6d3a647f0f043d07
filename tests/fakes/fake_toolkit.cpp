#include "fakes/fake_toolkit.h"

#include <algorithm>
#include <stdexcept>

namespace kv::test {

bool FakeToolkit::Logged(const std::string& what) const {
  return std::find(log.begin(), log.end(), what) != log.end();
}

std::vector<std::wstring> FakeToolkit::VisibleCaptions() const {
  std::vector<std::wstring> out;
  for (const auto& m : menuAtPopup) out.push_back(m.caption);
  return out;
}

void FakeToolkit::CreateForm(const FormSpec& layout, FormEvents& e) {
  log.push_back("create");
  events = &e;
  texts.clear();
  values.clear();
  listItems.clear();
  listIndex = -1;
  menu = {{{MenuKind::ProgramName, 0}, layout.programNameCaption},
          {{MenuKind::Line, 0}, L"-"},
          {{MenuKind::Drive, 0}, L""},
          {{MenuKind::Folder, 1}, L""}};
}

NativeHandle FakeToolkit::hWnd(const ControlRef* control) {
  return control ? 0x200 + static_cast<NativeHandle>(control->name) : 0x100;
}

void FakeToolkit::RemoveItem(ControlRef, int index) {
  listItems.erase(listItems.begin() + index);
  if (listIndex == index) listIndex = -1;
}

FakeMenuItem& FakeToolkit::Item(MenuRef ref) {
  for (auto& m : menu)
    if (m.ref == ref) return m;
  throw std::out_of_range("menu element not loaded");
}

void FakeToolkit::LoadMenuElement(MenuRef ref) {
  auto last = std::find_if(menu.rbegin(), menu.rend(),
                           [&](const FakeMenuItem& m) { return m.ref.kind == ref.kind; });
  if (last == menu.rend()) throw std::logic_error("no such menu array");
  for (const auto& m : menu)
    if (m.ref == ref) throw std::logic_error("element already loaded");
  menu.insert(last.base(), {ref, L""});
}

void FakeToolkit::SetMenuCaption(MenuRef ref, const std::wstring& caption) {
  Item(ref).caption = caption;
}

void FakeToolkit::SetMenuVisible(MenuRef ref, bool visible) { Item(ref).visible = visible; }

void FakeToolkit::PopupMenu(unsigned flags) {
  log.push_back("popup");
  popupFlags = flags;
  menuAtPopup.clear();
  for (const auto& m : menu)
    if (m.visible) menuAtPopup.push_back(m);
  if (!popupChoice) return;
  const MenuRef c = *popupChoice;
  switch (c.kind) {
    case MenuKind::ProgramName: events->Menu_ProgramName_Click(); break;
    case MenuKind::Drive: events->Menu_Drive_Click(c.index); break;
    case MenuKind::Folder: events->Menu_Folder_Click(c.index); break;
    case MenuKind::Line: break;
  }
  log.push_back("popup closed");
}

int FakeToolkit::MsgBox(const std::wstring& text, int style) {
  boxes.push_back({text, style});
  if (answers.empty()) return style == vbYesNoExclamation ? vbNo : 1;
  const int a = answers.front();
  answers.pop_front();
  return a;
}

bool FakeToolkit::TruncateFile(const std::wstring& path) {
  if (!os_.Writable(path)) return false;
  os_.files[path] = {};
  return true;
}

DirResult FakeToolkit::Dir(const std::wstring& path, int) {
  dirCalls.push_back(path);
  auto it = dirs.find(path);
  return it == dirs.end() ? DirResult{} : it->second;
}

}  // namespace kv::test
