#include "launcher/menu_tree.h"

#include <utility>

namespace kv {

LauncherMenu::LauncherMenu(std::wstring programNameCaption)
    : programName_{std::move(programNameCaption)} {}

LauncherMenu::Array* LauncherMenu::ArrayOf(MenuKind kind) {
  return const_cast<Array*>(std::as_const(*this).ArrayOf(kind));
}

const LauncherMenu::Array* LauncherMenu::ArrayOf(MenuKind kind) const {
  switch (kind) {
    case MenuKind::Drive:
      return &drive_;
    case MenuKind::Folder:
      return &folder_;
    default:
      return nullptr;
  }
}

bool LauncherMenu::Load(MenuKind array) {
  Array* a = ArrayOf(array);
  if (a == nullptr || UBound(array) >= kMaxIndex) return false;
  a->elements.emplace_back();
  return true;
}

MenuRow* LauncherMenu::Element(MenuRef ref) {
  switch (ref.kind) {
    case MenuKind::ProgramName:
      return ref.index == 0 ? &programName_ : nullptr;
    case MenuKind::Line:
      return ref.index == 0 ? &line_ : nullptr;
    default:
      break;
  }
  Array* a = ArrayOf(ref.kind);
  const int at = ref.index - a->first;
  if (at < 0 || at >= static_cast<int>(a->elements.size())) return nullptr;
  return &a->elements[static_cast<std::size_t>(at)];
}

int LauncherMenu::UBound(MenuKind array) const {
  const Array* a = ArrayOf(array);
  return a == nullptr ? -1 : a->first + static_cast<int>(a->elements.size()) - 1;
}

std::vector<PopupItem> LauncherMenu::VisibleItems() const {
  std::vector<PopupItem> out;
  out.reserve(2 + drive_.elements.size() + folder_.elements.size());
  const auto add = [&](MenuKind kind, int index, const MenuRow& e) {
    if (e.Visible) out.push_back({{kind, static_cast<std::int16_t>(index)}, e.Caption});
  };
  add(MenuKind::ProgramName, 0, programName_);
  add(MenuKind::Line, 0, line_);
  for (const Array* a : {&drive_, &folder_}) {
    const MenuKind kind = a == &drive_ ? MenuKind::Drive : MenuKind::Folder;
    for (std::size_t i = 0; i < a->elements.size(); ++i)
      add(kind, a->first + static_cast<int>(i), a->elements[i]);
  }
  return out;
}

}  // namespace kv
