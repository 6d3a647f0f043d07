#include "fakes/fake_toolkit.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace kv::test {

bool FakeToolkit::Logged(const std::string& what) const {
  return std::find(log.begin(), log.end(), what) != log.end();
}

std::vector<std::wstring> FakeToolkit::VisibleCaptions() const {
  std::vector<std::wstring> out;
  for (const auto& m : menuAtPopup) out.push_back(m.caption);
  return out;
}

void FakeToolkit::CreateForm(const FormSpec&, FormEvents&) {
  log.push_back("create");
  controlsLoaded_ = false;
}

void FakeToolkit::LoadControls() {
  if (controlsLoaded_) return;
  controlsLoaded_ = true;
  log.push_back("controls");
  texts.clear();
  values.clear();
  listItems.clear();
  listIndex = -1;
}

void FakeToolkit::RemoveItem(Control, int index) {
  List().erase(listItems.begin() + index);
  if (listIndex == index) listIndex = -1;
}

PopupChoice FakeToolkit::PopupItems(std::span<const PopupItem> items) {
  log.push_back("popup");
  menuAtPopup.assign(items.begin(), items.end());
  for (std::size_t i = 0; popupChoice && i < items.size(); ++i)
    if (items[i].ref == *popupChoice) return {static_cast<int>(i), popupModifiers};
  return {};
}

MsgAnswer FakeToolkit::MsgBox(const std::wstring& text, MsgStyle style) {
  boxes.push_back({text, style});
  if (auto f = std::exchange(duringBox, nullptr)) f();
  if (answers.empty()) return style != MsgStyle::Warning ? MsgAnswer::No : MsgAnswer::Ok;
  const MsgAnswer a = answers.front();
  answers.pop_front();
  return a;
}

DirectoryState FakeToolkit::TestDirectory(const std::wstring& path) {
  dirCalls.push_back(path);
  return dirs.contains(path) ? dirs[path] : DirectoryState::NotFound;
}

}  // namespace kv::test
